#include "RaisedLabel.h"

#include <QPainter>

RaisedLabel::RaisedLabel(const QString &text, int pixelSize, QWidget *parent)
    : QWidget(parent)
    , text_(text)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(pixelSize);
    setFont(f);
    setAttribute(Qt::WA_TranslucentBackground);
}

void RaisedLabel::SetText(const QString &text)
{
    text_ = text;
    update();
}

void RaisedLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    // Turned: the label's height is the text's length, its width the line.
    p.translate(0, height());
    p.rotate(-90);
    const QRect line(Depth, 0, height() - 2 * Depth, width());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter;
    p.setPen(Qt::black);
    for (int d = 1; d <= Depth; ++d) {
        p.drawText(line.translated(d, d), flags, text_); // shadow
        p.drawText(line.translated(-d / 2, -d / 2), flags, text_); // light
    }
    p.setPen(Qt::white);
    p.drawText(line, flags, text_);
}
