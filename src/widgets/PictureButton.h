// A button that shows a picture per state: its normal face, a highlighted
// face while the mouse is over it, and a greyed face when disabled. A pressed
// button shows its normal face. White is transparent in every face. The hint
// shows as a tool-tip. It never takes the keyboard focus, so the window's
// keys (the arrows above all) are never eaten by a button.
#pragma once

#include <QAbstractButton>
#include <QImage>

class PictureButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum Face { Normal, Hot, Greyed };

    explicit PictureButton(QWidget *parent = nullptr);

    // The disabled face defaults to the normal one.
    void SetFaces(const QImage &normal, const QImage &hot, const QImage &greyed = {});
    void SetHint(const QString &hint) { setToolTip(hint); }
    QString Hint() const { return toolTip(); }

    Face ShownFace() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QImage faces_[3];
    bool hot_ = false;
};
