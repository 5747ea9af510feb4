// The picture button's faces as the player sees them.
#include "PictureButton.h"
#include "PictureList.h"
#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
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
