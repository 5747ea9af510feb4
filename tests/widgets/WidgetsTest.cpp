// The picture button's faces as the player sees them.
#include "PictureButton.h"
#include "PictureList.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QPainter>

namespace {

QImage Solid(QColor colour)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(colour);
    image.setPixel(0, 0, qRgb(255, 255, 255)); // the transparent colour
    return image;
}

QRgb Shown(PictureButton &button, int x, int y)
{
    return button.grab().toImage().pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(PictureButton, ShowsAFacePerState)
{
    QWidget parent;
    parent.setStyleSheet("background: black");
    parent.setAutoFillBackground(true);
    PictureButton button(&parent);
    button.setGeometry(0, 0, 20, 20);
    button.SetFaces(Solid(Qt::red), Solid(Qt::green), Solid(Qt::blue));
    parent.show();
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);

    const auto check = [&](PictureButton::Face face, QRgb colour, const char *what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(button.ShownFace(), face);
        EXPECT_EQ(Shown(button, 10, 10), colour & 0xFFFFFF);
    };
    check(PictureButton::Normal, qRgb(255, 0, 0), "at rest");

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    check(PictureButton::Hot, qRgb(0, 255, 0), "under the mouse");
    button.setDown(true);
    check(PictureButton::Normal, qRgb(255, 0, 0), "pressed");
    button.setDown(false);
    check(PictureButton::Hot, qRgb(0, 255, 0), "released under the mouse");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    check(PictureButton::Normal, qRgb(255, 0, 0), "mouse gone");
    button.setEnabled(false);
    check(PictureButton::Greyed, qRgb(0, 0, 255), "disabled");

    EXPECT_NE(Shown(button, 0, 0), 0xFFFFFFu) << "white is transparent";
}

TEST(PictureList, RendersAtTheGivenSizeAndSurvivesAMissingSource)
{
    PictureList list;
    list.Add(":/no/such/picture.svg", QSize(17, 13));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Image(0).size(), QSize(17, 13));
    EXPECT_EQ(qAlpha(list.Image(0).pixel(8, 6)), 0);
}

TEST(PictureList, TheTransparentColourGoesAndAPictureWithoutItStaysShared)
{
    QImage picture(4, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(qRgb(10, 20, 30));
    picture.setPixel(1, 1, 0x80402010); // translucent
    const QImage kept = WithTransparentColour(picture, qRgb(255, 255, 255));
    EXPECT_EQ(kept.constBits(), picture.constBits()) << "no white pixel: nothing is copied";

    picture.setPixel(2, 1, qRgb(255, 255, 255));
    const QImage keyed = WithTransparentColour(picture, qRgb(255, 255, 255));
    EXPECT_EQ(keyed.pixel(2, 1), 0u);
    EXPECT_EQ(keyed.pixel(1, 1), picture.pixel(1, 1));
    EXPECT_EQ(keyed.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(picture.pixel(2, 1), qRgb(255, 255, 255)) << "the list's picture stays whole";
}

// The build draws the toolbar's and dialogs' pictures ahead; a start reads
// them. What it reads must be exactly what drawing the source gives.
TEST(PictureList, PicturesDrawnAheadMatchTheirSourcesPixelForPixel)
{
    const QString folder = QStringLiteral(TUMBLEWICK_PICTURES_DIR);
    QFile manifest(folder + "/manifest.txt");
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly | QIODevice::Text));
    int compared = 0;
    while (!manifest.atEnd()) {
        const QStringList fields
            = QString::fromUtf8(manifest.readLine()).split(' ', Qt::SkipEmptyParts);
        if (fields.size() != 3
            || !(fields[0].startsWith("toolbar/") || fields[0].startsWith("dialogs/")))
            continue;
        const QSize size(fields[1].toInt(), fields[2].toInt());
        const QImage read = DrawnAhead(":/pictures/" + fields[0], size);
        ASSERT_FALSE(read.isNull()) << qPrintable(fields[0]) << " was not drawn ahead";
        const QImage drawn = DrawPicture(folder + "/" + fields[0], size, 1);
        EXPECT_EQ(read.format(), drawn.format()) << qPrintable(fields[0]);
        EXPECT_EQ(read.devicePixelRatio(), 1);
        EXPECT_TRUE(read == drawn) << qPrintable(fields[0]) << " differs from its source";
        ++compared;
    }
    EXPECT_GE(compared, 60);

    // The window's icon, at the sizes the main window gives it.
    for (int side : {16, 32, 48, 64, 256}) {
        const QImage read = DrawnAhead(":/pictures/icon/tumblewick.svg", QSize(side, side));
        ASSERT_FALSE(read.isNull()) << side;
        EXPECT_TRUE(read == DrawPicture(folder + "/icon/tumblewick.svg", QSize(side, side), 1))
            << side;
    }
}

TEST(PictureList, DrawsAfreshAtAnyOtherSizeOrRatio)
{
    const QString source = QStringLiteral(":/pictures/toolbar/new.svg");
    EXPECT_FALSE(DrawnAhead(source, QSize(50, 50)).isNull());
    EXPECT_TRUE(DrawnAhead(source, QSize(40, 50)).isNull()) << "not the size it was drawn at";
    EXPECT_TRUE(DrawnAhead(":/pictures/toolbar/new", QSize(50, 50)).isNull());
    EXPECT_EQ(DrawnAheadName("toolbar/new.svg", QSize(50, 40)), "toolbar/new-50x40.argb");
    EXPECT_TRUE(DrawnAhead("/elsewhere/toolbar/new.svg", QSize(50, 50)).isNull());

    // A dense screen gets the picture drawn at its own pixels.
    const QImage dense = RenderPicture(source, QSize(50, 50), 2);
    EXPECT_EQ(dense.size(), QSize(100, 100));
    EXPECT_EQ(dense.devicePixelRatio(), 2);
    EXPECT_EQ(RenderPicture(source, QSize(40, 30), 1).size(), QSize(40, 30));
}

TEST(PictureList, AnIconDrawsEachSizeWhenAskedAndKeepsNone)
{
    const QString source = QStringLiteral(":/pictures/icon/tumblewick.svg");
    const QIcon icon = PictureIcon(source, {16, 48, 256});
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(48, 48), QSize(256, 256)}));
    for (int side : {16, 48, 256}) {
        const QImage shown = icon.pixmap(QSize(side, side), 1.0).toImage();
        EXPECT_TRUE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied)
            == DrawnAhead(source, QSize(side, side)))
            << side << ": the pixels the build drew";
    }
    // A dense screen gets the icon drawn at its own pixels, sharp.
    const QPixmap dense = icon.pixmap(QSize(48, 48), 2.0);
    EXPECT_EQ(dense.size(), QSize(96, 96));
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    EXPECT_TRUE(dense.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied)
        == DrawPicture(source, QSize(96, 96), 1));
    // Asked for twice, a size is drawn twice: nothing is kept between.
    const int before = PicturesDrawn();
    icon.pixmap(QSize(40, 40), 1.0);
    icon.pixmap(QSize(40, 40), 1.0);
    EXPECT_EQ(PicturesDrawn(), before + 2);
}

TEST(PictureList, PixelWordsArePremultipliedArgbLowestByteFirst)
{
    QImage picture(3, 2, QImage::Format_ARGB32_Premultiplied);
    const QRgb pixels[] = {0x00000000, 0xFFFFFFFF, 0x80402010, 0x01010000, 0x7F7F7F7F, 0xFF000000};
    for (int i = 0; i < 6; ++i)
        picture.setPixel(i % 3, i / 3, pixels[i]);
    const QByteArray words = PixelWords(picture);
    ASSERT_EQ(words.size(), 24);
    for (int i = 0; i < 6; ++i) {
        const auto byte = [&](int n) { return quint32(quint8(words[4 * i + n])); };
        EXPECT_EQ(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24, pixels[i]) << i;
    }
}
