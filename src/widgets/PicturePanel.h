// A panel filled with a tiled picture inside a dark bevelled frame: the
// background of every dialog and of the text areas inside them.
#pragma once

#include <QImage>
#include <QWidget>

class PicturePanel : public QWidget
{
    Q_OBJECT
public:
    explicit PicturePanel(QWidget *parent = nullptr);

    void SetPicture(const QImage &picture);

    // The raised outer bevel and the border inside it, in pixels.
    static constexpr int BevelWidth = 2;
    static constexpr int BorderWidth = 3;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};
