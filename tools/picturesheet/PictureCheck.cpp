#include "PictureCheck.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Messages that Qt's SVG module prints while a file loads or renders.
QStringList *CapturedMessages = nullptr;

void CaptureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (CapturedMessages) {
        CapturedMessages->append(message);
    }
}

// The elements that Qt 6.4 draws faithfully; anything else is refused, since
// the renderer would silently skip it or draw it differently from a browser.
const QSet<QString> AllowedElements = {
    "svg",
    "g",
    "defs",
    "title",
    "desc",
    "path",
    "rect",
    "circle",
    "ellipse",
    "line",
    "polyline",
    "polygon",
    "use",
    "metadata",
    "stop",
    "linearGradient",
    "radialGradient",
};

const QSet<QString> RefusedAttributes = {"filter", "mask", "clip-path", "class", "style"};

std::optional<int> PixelLength(const QString &text)
{
    QString t = text.trimmed();
    if (t.endsWith("px")) {
        t.chop(2);
    }
    bool ok = false;
    const int value = t.toInt(&ok);
    if (!ok || value <= 0) {
        return std::nullopt;
    }
    return value;
}

void CheckXml(const QByteArray &bytes, PictureReport &report)
{
    QXmlStreamReader xml(bytes);
    bool sawRoot = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QString name = xml.name().toString();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!sawRoot) {
            sawRoot = true;
            if (name != "svg") {
                report.problems << "the root element is <" + name + ">, not <svg>";
                return;
            }
            const auto width = PixelLength(attributes.value("width").toString());
            const auto height = PixelLength(attributes.value("height").toString());
            if (!width || !height) {
                report.problems << "width and height must be whole pixel sizes";
            } else {
                report.size = QSize(*width, *height);
                const QStringList box = attributes.value("viewBox").toString().split(
                    QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts);
                const QStringList expected
                    = {"0", "0", QString::number(*width), QString::number(*height)};
                if (box != expected && report.path.startsWith("icon/")) {
                    // The icon is drawn in a larger design space and scales freely.
                    if (box.size() != 4 || box[0] != "0" || box[1] != "0") {
                        report.problems << "the view box must start at 0 0";
                    }
                } else if (box != expected) {
                    report.problems
                        << "the view box must be \"0 0 " + expected[2] + " " + expected[3] + "\"";
                }
            }
        }
        if (!AllowedElements.contains(name)) {
            report.problems << "element <" + name + "> is not drawn reliably by Qt";
        }
        for (const QXmlStreamAttribute &attribute : attributes) {
            const QString attributeName = attribute.name().toString();
            if (RefusedAttributes.contains(attributeName)) {
                report.problems << "attribute " + attributeName + " on <" + name + ">";
            }
            if (attributeName == "href" && !attribute.value().startsWith(u'#')) {
                report.problems << "reference to an outside file: " + attribute.value().toString();
            }
            if (attribute.value().contains(u"url(")
                && !attribute.value().trimmed().startsWith(u"url(#")) {
                report.problems << "outside url in " + attributeName;
            }
        }
    }
    if (xml.hasError()) {
        report.problems << "XML error: " + xml.errorString();
    }
}

double Chroma(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    return std::max({r, g, b}) - std::min({r, g, b});
}

double Luminance(QRgb pixel)
{
    return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
}

// The picture as a player sees it: over the black toolbar strip.
QImage OnBlack(const QImage &image)
{
    QImage result(image.size(), QImage::Format_RGB32);
    result.fill(Qt::black);
    QPainter painter(&result);
    painter.drawImage(0, 0, image);
    return result;
}

} // namespace

Manifest ReadManifest(const QString &fileName, QStringList &problems)
{
    Manifest manifest;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        problems << "cannot read " + fileName;
        return manifest;
    }
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        QString line = QString::fromUtf8(file.readLine());
        line = line.left(line.indexOf('#')).trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(QRegularExpression("\\s+"));
        bool okWidth = false, okHeight = false;
        const int width = fields.value(1).toInt(&okWidth);
        const int height = fields.value(2).toInt(&okHeight);
        if (fields.size() != 3 || !okWidth || !okHeight) {
            problems << QString("manifest line %1 is not \"path width height\"").arg(lineNumber);
            continue;
        }
        manifest.insert(fields[0], QSize(width, height));
    }
    return manifest;
}

QStringList FindPictures(const QString &root)
{
    QStringList found;
    const QDir base(QFileInfo(root).absoluteFilePath());
    QDirIterator it(base.path(), {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        found << base.relativeFilePath(it.next());
    }
    found.sort();
    return found;
}

PictureReport CheckPicture(const QString &root, const QString &relativePath)
{
    PictureReport report;
    report.path = relativePath;
    QFile file(QDir(root).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly)) {
        report.problems << "cannot read the file";
        return report;
    }
    const QByteArray bytes = file.readAll();
    CheckXml(bytes, report);

    QStringList messages;
    CapturedMessages = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(CaptureMessage);
    QSvgRenderer renderer(bytes);
    if (renderer.isValid() && !report.size.isEmpty()) {
        report.image = QImage(report.size, QImage::Format_ARGB32_Premultiplied);
        report.image.fill(Qt::transparent);
        QPainter painter(&report.image);
        renderer.render(&painter, QRectF(QPointF(0, 0), report.size));
    }
    qInstallMessageHandler(previous);
    CapturedMessages = nullptr;

    if (!renderer.isValid()) {
        report.problems << "Qt's renderer cannot read it";
    } else if (!report.size.isEmpty() && renderer.defaultSize() != report.size) {
        report.problems << "Qt reads a different size";
    }
    for (const QString &message : messages) {
        report.problems << "renderer: " + message;
    }

    // The old faces keyed out white; ours carry real transparency, and keep
    // clear of pure white so that a white colour key could never punch holes.
    int whitePixels = 0;
    for (int y = 0; y < report.image.height(); ++y) {
        for (int x = 0; x < report.image.width(); ++x) {
            if (report.image.pixel(x, y) == qRgba(255, 255, 255, 255)) {
                ++whitePixels;
            }
        }
    }
    if (whitePixels > 0) {
        report.problems << QString("%1 pure white pixels").arg(whitePixels);
    }
    return report;
}

QStringList CheckSet(const QList<PictureReport> &reports, const Manifest &manifest)
{
    QStringList problems;
    QMap<QString, const PictureReport *> byPath;
    for (const PictureReport &report : reports) {
        byPath.insert(report.path, &report);
        if (!manifest.contains(report.path)) {
            problems << report.path + ": not in the manifest";
        }
    }
    for (auto it = manifest.cbegin(); it != manifest.cend(); ++it) {
        const PictureReport *report = byPath.value(it.key());
        if (!report) {
            problems << it.key() + ": missing";
        } else if (report->size != it.value()) {
            problems << QString("%1: is %2 x %3, must be %4 x %5")
                            .arg(it.key())
                            .arg(report->size.width())
                            .arg(report->size.height())
                            .arg(it.value().width())
                            .arg(it.value().height());
        }
    }

    static const QRegularExpression variant("^(.*)-(hot|grey)\\.svg$");
    for (const PictureReport &report : reports) {
        const QRegularExpressionMatch match = variant.match(report.path);
        if (!match.hasMatch() || report.image.isNull()) {
            continue;
        }
        const PictureReport *normal = byPath.value(match.captured(1) + ".svg");
        if (!normal || normal->image.isNull() || normal->size != report.size) {
            problems << report.path + ": no normal face of the same size beside it";
            continue;
        }
        const QImage face = OnBlack(report.image);
        const QImage base = OnBlack(normal->image);
        double difference = 0, chroma = 0, luminance = 0, baseLuminance = 0;
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                const QRgb a = face.pixel(x, y), b = base.pixel(x, y);
                difference += std::abs(Luminance(a) - Luminance(b)) + std::abs(qRed(a) - qRed(b))
                    + std::abs(qBlue(a) - qBlue(b));
                chroma = std::max(chroma, Chroma(a));
                luminance += Luminance(a);
                baseLuminance += Luminance(b);
            }
        }
        const double pixels = face.width() * face.height();
        if (match.captured(2) == "hot" && difference / pixels < 4.0) {
            problems << report.path + ": hardly differs from its normal face";
        }
        if (match.captured(2) == "grey") {
            if (chroma > 24) {
                problems << report.path + ": still coloured";
            }
            if (luminance > baseLuminance) {
                problems << report.path + ": brighter than its normal face";
            }
        }
    }
    return problems;
}
