// picturesheet: renders the game's picture sources with Qt's SVG renderer into
// one contact sheet, and checks them.
//
//   picturesheet [-o sheet.png] [--zoom N] [--only TEXT] PICTURES_FOLDER
//   picturesheet --check PICTURES_FOLDER
//
// The sheet shows every picture at its real size over black (as on the
// toolbar strip) and over a grey checkerboard (to see its transparency),
// magnified pixel by pixel, and mock-ups of the toolbar strip and the
// dialogs built from the pictures at their places in the game. The exit
// status is 1 when any check fails.

#include "PictureCheck.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <algorithm>

namespace {

const QColor SheetColour(40, 40, 46);
const QColor TitleColour(230, 230, 230);
const QColor NoteColour(255, 110, 90);
constexpr int Gap = 12;

struct Pictures
{
    QString root;
    QMap<QString, QImage> images; // relative path -> design-size rendering

    QImage Get(const QString &path) const { return images.value(path); }
};

QFont SheetFont(int pixels, bool bold = false)
{
    QFont font("Arial");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QImage Checkerboard(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int y = 0; y < size.height(); y += 8) {
        for (int x = 0; x < size.width(); x += 8) {
            const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            painter.fillRect(x, y, 8, 8, dark ? QColor(120, 120, 120) : QColor(160, 160, 160));
        }
    }
    return image;
}

QImage Over(const QImage &background, const QImage &picture)
{
    QImage result = background.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&result);
    painter.drawImage(0, 0, picture);
    return result;
}

QImage Black(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QImage RenderAt(const QString &file, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(file);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

// Lays images out left to right, wrapping at the given width.
class Flow
{
public:
    explicit Flow(int width)
        : width_(width)
    { }

    void Add(const QImage &image)
    {
        if (x_ > 0 && x_ + image.width() > width_) {
            NewLine();
        }
        placed_.append({QPoint(x_, y_), image});
        x_ += image.width() + Gap;
        lineHeight_ = std::max(lineHeight_, image.height());
    }
    void NewLine()
    {
        if (x_ == 0) {
            return;
        }
        y_ += lineHeight_ + Gap;
        x_ = 0;
        lineHeight_ = 0;
    }
    QImage Compose(const QColor &background)
    {
        NewLine();
        int right = 0;
        for (const auto &[at, image] : placed_) {
            right = std::max(right, at.x() + image.width());
        }
        QImage sheet(QSize(right + 2 * Gap, y_ + Gap), QImage::Format_RGB32);
        sheet.fill(background);
        QPainter painter(&sheet);
        for (const auto &[at, image] : placed_) {
            painter.drawImage(at + QPoint(Gap, Gap), image);
        }
        return sheet;
    }

private:
    int width_;
    int x_ = 0, y_ = 0, lineHeight_ = 0;
    QList<QPair<QPoint, QImage>> placed_;
};

QImage Titled(const QString &title, const QImage &body, const QStringList &notes = {})
{
    const int lineHeight = 16;
    const int top = lineHeight * (1 + notes.size()) + 4;
    QFontMetrics metrics(SheetFont(13));
    int width = std::max(body.width(), metrics.horizontalAdvance(title));
    for (const QString &note : notes) {
        width = std::max(width, metrics.horizontalAdvance(note));
    }
    QImage cell(QSize(width, top + body.height()), QImage::Format_RGB32);
    cell.fill(SheetColour);
    QPainter painter(&cell);
    painter.setFont(SheetFont(13));
    painter.setPen(TitleColour);
    painter.drawText(0, 13, title);
    painter.setPen(NoteColour);
    for (int i = 0; i < notes.size(); ++i) {
        painter.drawText(0, 13 + lineHeight * (i + 1), notes[i]);
    }
    painter.drawImage(0, top, body);
    return cell;
}

QImage Row(const QList<QImage> &images)
{
    int width = -Gap, height = 0;
    for (const QImage &image : images) {
        width += image.width() + Gap;
        height = std::max(height, image.height());
    }
    QImage row(QSize(std::max(width, 1), height), QImage::Format_RGB32);
    row.fill(SheetColour);
    QPainter painter(&row);
    int x = 0;
    for (const QImage &image : images) {
        painter.drawImage(x, 0, image);
        x += image.width() + Gap;
    }
    return row;
}

QImage Tiled(const QImage &tile, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (tile.isNull()) {
        image.fill(Qt::magenta);
        return image;
    }
    QPainter painter(&image);
    painter.drawTiledPixmap(QRect(QPoint(0, 0), size), QPixmap::fromImage(tile));
    return image;
}

QImage Magnified(const QImage &image, int target)
{
    const int factor = std::clamp(target / std::max(image.width(), image.height()), 1, 8);
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// One picture: real size on black and on a checkerboard, then magnified.
QImage PictureCell(const PictureReport &report, const QString &root, int zoom)
{
    const QString title
        = QString("%1  %2x%3").arg(report.path).arg(report.size.width()).arg(report.size.height());
    if (report.image.isNull()) {
        return Titled(title, Black(QSize(50, 50)), report.problems);
    }
    const QImage &image = report.image;
    QList<QImage> parts;
    if (report.path.contains("granite")) {
        parts << Tiled(image, image.size() * 2) << Magnified(Tiled(image, image.size()), zoom * 2);
    } else if (report.path.startsWith("icon/")) {
        const QString file = QDir(root).filePath(report.path);
        parts << Over(Black(QSize(256, 256)), RenderAt(file, QSize(256, 256)));
        for (int size : {64, 48, 32, 16}) {
            parts << Over(Black(QSize(size, size)), RenderAt(file, QSize(size, size)));
            parts << Over(Checkerboard(QSize(size, size)), RenderAt(file, QSize(size, size)));
        }
        parts << Magnified(Over(Black(QSize(32, 32)), RenderAt(file, QSize(32, 32))), 128);
        parts << Magnified(Over(Black(QSize(16, 16)), RenderAt(file, QSize(16, 16))), 128);
    } else {
        parts << Over(Black(image.size()), image) << Over(Checkerboard(image.size()), image)
              << Magnified(Over(Black(image.size()), image), zoom);
    }
    return Titled(title, Row(parts), report.problems);
}

// A bevelled panel filled with a tiled picture, roughly as the dialogs draw it.
void Panel(QPainter &painter, const QRect &rect, const QImage &tile)
{
    painter.drawTiledPixmap(rect, QPixmap::fromImage(tile.isNull() ? Black(QSize(8, 8)) : tile));
    const QRect outer = rect.adjusted(0, 0, -1, -1);
    painter.setPen(QColor(255, 255, 255, 90));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(QColor(0, 0, 0, 200));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    painter.setPen(Qt::black);
    painter.drawRect(outer.adjusted(2, 2, -2, -2));
}

void Text(QPainter &painter, const QRect &rect, const QString &text, int pixels, bool bold,
    int flags = Qt::AlignLeft | Qt::AlignVCenter)
{
    painter.setFont(SheetFont(pixels, bold));
    painter.setPen(Qt::white);
    painter.drawText(rect, flags | Qt::TextWordWrap, text);
}

// White bold text turned to read upward, with a raised look.
void TurnedText(QPainter &painter, const QRect &rect, const QString &text, int pixels)
{
    painter.save();
    painter.translate(rect.left(), rect.bottom());
    painter.rotate(-90);
    const QRect turned(0, 0, rect.height(), rect.width());
    painter.setFont(SheetFont(pixels, true));
    painter.setPen(Qt::black);
    painter.drawText(turned.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.setPen(Qt::white);
    painter.drawText(turned, Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

struct Placed
{
    QString picture;
    int x, y;
};

// The toolbar strip at the window's designed width, with one face kind.
QImage ToolbarMock(const Pictures &pictures, const QString &suffix, bool solved)
{
    QImage strip = Black(QSize(673, 60));
    QPainter painter(&strip);
    const auto face = [&](const QString &name, bool hasVariant) {
        const QString variant = "toolbar/" + name + suffix + ".svg";
        return hasVariant && pictures.images.contains(variant)
            ? pictures.Get(variant)
            : pictures.Get("toolbar/" + name + ".svg");
    };
    const QList<Placed> big
        = {{"new", 4, 5}, {"load", 56, 5}, {"restart", 108, 5}, {"next", 160, 5},
            {"options", 465, 4}, {"info", 517, 4}, {"rules", 569, 4}, {"exit", 621, 4}};
    for (const Placed &p : big) {
        painter.drawImage(p.x, p.y, face(p.picture, true));
    }
    for (int x : {312, 332, 352}) {
        painter.drawImage(x, 3, face("arrow-up-small", true));
        painter.drawImage(x, 43, face("arrow-down-small", true));
    }
    painter.drawImage(372, 3, face("arrow-up", true));
    painter.drawImage(372, 31, face("arrow-down", true));
    painter.drawImage(QPoint(405, 4), pictures.Get("toolbar/solved-indicator.svg"),
        QRect(solved ? 50 : 0, 0, 50, 50));
    Text(painter, QRect(224, 15, 81, 29), "Level:", 25, true, Qt::AlignRight | Qt::AlignVCenter);
    const QString digits = solved ? "042" : "137";
    for (int i = 0; i < 3; ++i) {
        Text(painter, QRect(308 + 20 * i, 15, 25, 25), digits.mid(i, 1), 25, true, Qt::AlignCenter);
    }
    return strip;
}

QImage MessageMock(const Pictures &pictures, bool hot, const QString &text)
{
    QImage dialog(QSize(319, 158), QImage::Format_RGB32);
    QPainter painter(&dialog);
    Panel(painter, dialog.rect(), pictures.Get("dialogs/granite-light.svg"));
    Panel(painter, QRect(11, 12, 298, 77), pictures.Get("dialogs/granite-dark.svg"));
    Text(painter, QRect(16, 17, 288, 67), text, 16, true, Qt::AlignCenter);
    const QString suffix = hot ? "-hot.svg" : ".svg";
    painter.drawImage(204, 100, pictures.Get("dialogs/cross" + suffix));
    painter.drawImage(260, 100, pictures.Get("dialogs/check" + suffix));
    return dialog;
}

QImage OptionsMock(const Pictures &pictures, const QString &suffix)
{
    QImage dialog(QSize(497, 416), QImage::Format_RGB32);
    QPainter painter(&dialog);
    Panel(painter, dialog.rect(), pictures.Get("dialogs/granite-light.svg"));
    painter.drawImage(2, 13, pictures.Get("dialogs/logo.svg"));
    TurnedText(painter, QRect(12, 84, 53, 316), "Tumblewick", 32);
    TurnedText(painter, QRect(56, 130, 21, 266), "Version  2.0", 16);
    const QPoint inner(116, 12);
    Panel(painter, QRect(inner, QSize(369, 333)), pictures.Get("dialogs/granite-dark.svg"));
    Text(painter, QRect(inner + QPoint(19, 12), QSize(254, 29)), "Options:", 21, true);
    const QStringList buttons = {"mouth", "speaker", "clef", "runner"};
    const QStringList labels = {
        "I speak English.", "Sound is on.", "Music: tumble-rag.mid", "Pip-animations activated."};
    for (int i = 0; i < 4; ++i) {
        const QString name = "dialogs/" + buttons[i];
        const QImage face = pictures.images.contains(name + suffix) ? pictures.Get(name + suffix)
                                                                    : pictures.Get(name + ".svg");
        painter.drawImage(inner + QPoint(16, 47 + 56 * i), face);
        Text(painter, QRect(inner + QPoint(79, 64 + 56 * i), QSize(294, 18)), labels[i], 16, false);
    }
    painter.drawImage(436, 355,
        pictures.Get(suffix == "-hot.svg" ? "dialogs/check-hot.svg" : "dialogs/check.svg"));
    painter.drawImage(
        380, 355, pictures.Get(suffix == "-hot.svg" ? "dialogs/back-hot.svg" : "dialogs/back.svg"));
    return dialog;
}

QImage LanguageMock(const Pictures &pictures, bool hot)
{
    QImage dialog(QSize(408, 162), QImage::Format_RGB32);
    QPainter painter(&dialog);
    Panel(painter, dialog.rect(), pictures.Get("dialogs/granite-light.svg"));
    painter.drawImage(2, 13, pictures.Get("dialogs/logo.svg"));
    const QPoint inner(108, 12);
    Panel(painter, QRect(inner, QSize(289, 137)), pictures.Get("dialogs/granite-dark.svg"));
    const QString suffix = hot ? "-hot.svg" : ".svg";
    painter.drawImage(inner + QPoint(16, 15), pictures.Get("dialogs/flags-german" + suffix));
    painter.drawImage(inner + QPoint(16, 71), pictures.Get("dialogs/flags-english" + suffix));
    Text(painter, QRect(inner + QPoint(79, 32), QSize(190, 18)), "Ich spreche deutsch", 16, false);
    Text(painter, QRect(inner + QPoint(79, 88), QSize(190, 18)), "I speak English", 16, false);
    return dialog;
}

bool HasAll(const Pictures &pictures, const QStringList &paths)
{
    return std::all_of(paths.begin(), paths.end(),
        [&](const QString &path) { return pictures.images.contains(path); });
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Renders and checks the game's picture sources.");
    parser.addHelpOption();
    parser.addPositionalArgument("folder", "the pictures folder (assets/pictures)");
    const QCommandLineOption checkOption("check", "only check, write no sheet");
    const QCommandLineOption outOption(
        {"o", "out"}, "the sheet to write", "png", "picturesheet.png");
    const QCommandLineOption zoomOption("zoom", "size of the magnified views", "pixels", "200");
    const QCommandLineOption onlyOption(
        "only", "show only pictures whose path has this text", "text");
    parser.addOptions({checkOption, outOption, zoomOption, onlyOption});
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        parser.showHelp(2);
    }

    QTextStream err(stderr);
    const QString root = parser.positionalArguments().first();
    if (!QFileInfo(root).isDir()) {
        err << "picturesheet: " << root << " is not a folder\n";
        return 2;
    }

    QStringList problems;
    const Manifest manifest = ReadManifest(QDir(root).filePath("manifest.txt"), problems);
    QList<PictureReport> reports;
    Pictures pictures {root, {}};
    for (const QString &path : FindPictures(root)) {
        reports << CheckPicture(root, path);
        pictures.images.insert(path, reports.last().image);
        for (const QString &problem : reports.last().problems) {
            problems << path + ": " + problem;
        }
    }
    problems << CheckSet(reports, manifest);
    for (const QString &problem : problems) {
        err << problem << '\n';
    }
    err << reports.size() << " pictures, " << problems.size() << " problems\n";
    err.flush();

    if (!parser.isSet(checkOption)) {
        const int zoom = std::max(parser.value(zoomOption).toInt(), 50);
        const QString only = parser.value(onlyOption);
        Flow flow(1800);
        if (only.isEmpty() || only == "mockups") {
            if (HasAll(pictures, {"toolbar/new.svg", "toolbar/solved-indicator.svg"})) {
                flow.Add(Titled("toolbar strip: normal faces, level not solved",
                    ToolbarMock(pictures, "", false)));
                flow.Add(Titled(
                    "every face highlighted, level solved", ToolbarMock(pictures, "-hot", true)));
                flow.Add(Titled(
                    "greyed faces where there are some", ToolbarMock(pictures, "-grey", false)));
                flow.NewLine();
            }
            if (HasAll(pictures, {"dialogs/granite-light.svg", "dialogs/granite-dark.svg"})) {
                flow.Add(Titled(
                    "message dialog", MessageMock(pictures, false, "Do you really want to go?")));
                flow.Add(Titled("highlighted buttons",
                    MessageMock(pictures, true,
                        "Hurra, geschafft!\nMit der nächste Stufe "
                        "weitermachen?")));
                flow.Add(Titled("language dialog", LanguageMock(pictures, false)));
                flow.Add(Titled("highlighted", LanguageMock(pictures, true)));
                flow.NewLine();
                flow.Add(Titled("options dialog", OptionsMock(pictures, ".svg")));
                flow.Add(Titled("highlighted", OptionsMock(pictures, "-hot.svg")));
                flow.Add(Titled("greyed", OptionsMock(pictures, "-grey.svg")));
                flow.NewLine();
            }
        }
        QString folder;
        for (const PictureReport &report : reports) {
            if (!only.isEmpty() && !report.path.contains(only)) {
                continue;
            }
            const QString reportFolder = QFileInfo(report.path).path();
            if (reportFolder != folder) {
                flow.NewLine();
                folder = reportFolder;
            }
            flow.Add(PictureCell(report, root, zoom));
        }
        const QImage sheet = flow.Compose(SheetColour);
        const QString out = parser.value(outOption);
        if (!sheet.save(out)) {
            err << "picturesheet: cannot write " << out << '\n';
            return 2;
        }
        err << "wrote " << out << " (" << sheet.width() << "x" << sheet.height() << ")\n";
    }
    return problems.isEmpty() ? 0 : 1;
}
