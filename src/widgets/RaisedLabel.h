// White bold text turned by 90 degrees so that it reads upwards, aligned to
// the bottom, with a raised look: black light and shadow around it.
#pragma once

#include <QWidget>

class RaisedLabel : public QWidget
{
    Q_OBJECT
public:
    RaisedLabel(const QString &text, int pixelSize, QWidget *parent = nullptr);

    void SetText(const QString &text);
    QString Text() const { return text_; }

    static constexpr int Depth = 2;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString text_;
};
