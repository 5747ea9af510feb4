#include "DialogResources.h"

#include "PictureButton.h"

#include <QLabel>
#include <QWidget>

namespace {
const QSize Face(50, 50);
}

TDlgResources::TDlgResources()
{
    const QString dir = QStringLiteral(":/pictures/dialogs/");
    dlgs.Add(dir + "granite-light.svg", QSize(160, 120));
    dlgs.Add(dir + "granite-dark.svg", QSize(160, 120));
    dlgs.Add(dir + "logo.svg", QSize(100, 75));
    dlgs.Add(dir + "back.svg", Face);
    dlgs.Add(dir + "back-hot.svg", Face);
    dlgs.Add(dir + "check-hot.svg", Face);
    dlgs.Add(dir + "check.svg", Face);
    dlgs.Add(dir + "cross-hot.svg", Face);
    dlgs.Add(dir + "cross.svg", Face);
    dlgs.Add(dir + "flags-german.svg", Face);
    dlgs.Add(dir + "flags-german-hot.svg", Face);
    dlgs.Add(dir + "flags-english.svg", Face);
    dlgs.Add(dir + "flags-english-hot.svg", Face);
}

QPoint DialogPlacement(const QRect &mainFrame, int mainClientHeight, QSize dialog)
{
    // Integer division truncates toward zero, also for a dialog larger than
    // the window.
    return {mainFrame.left() + (mainFrame.width() - dialog.width()) / 2,
        mainFrame.top() + mainFrame.height() - (mainClientHeight + dialog.height()) / 2};
}

QPoint DialogPlacement(const QWidget &mainWindow, QSize dialog)
{
    return DialogPlacement(mainWindow.frameGeometry(), mainWindow.height(), dialog);
}

QFont DialogFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QLabel *DialogLabel(QWidget *parent, const QRect &place, int pixelSize, bool bold)
{
    auto *label = new QLabel(parent);
    label->setGeometry(place);
    label->setFont(DialogFont(pixelSize, bold));
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

QWidget *LogoPicture(QWidget *parent, const QImage &logo, const QRect &place)
{
    auto *label = new QLabel(parent);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("background: transparent;"));
    label->setPixmap(QPixmap::fromImage(WithTransparentColour(logo, qRgb(255, 0, 255))));
    return label;
}

PictureButton *DialogButton(QWidget *parent, const QRect &place, const PictureList &pictures,
    int normal, int hot, int greyed)
{
    auto *button = new PictureButton(parent);
    button->setGeometry(place);
    button->SetFaces(pictures.Image(normal), pictures.Image(hot),
        greyed >= 0 ? pictures.Image(greyed) : QImage());
    return button;
}
