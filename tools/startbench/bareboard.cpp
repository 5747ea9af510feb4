// The yardstick for the start-up benchmark: a bare Qt Widgets window that
// paints a board of 33 circles and does nothing else. With --twinkle it
// also does what the game's stars do while nothing moves: ten times a second
// fifty single pixels of its picture change and only those are painted
// again. That is the floor of the game's idle cost in Qt.
#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

class BareBoard : public QWidget
{
public:
    explicit BareBoard(bool twinkle)
    {
        if (!twinkle)
            return;
        setAttribute(Qt::WA_OpaquePaintEvent);
        auto *timer = new QTimer(this);
        timer->setInterval(100);
        connect(timer, &QTimer::timeout, this, &BareBoard::Twinkle);
        timer->start();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        if (buffer_.size() != size()) {
            buffer_ = QImage(size(), QImage::Format_RGB32);
            QPainter b(&buffer_);
            Draw(b);
        }
        for (const QRect &r : event->region())
            p.drawImage(r, buffer_, r);
    }

private:
    void Draw(QPainter &p) const
    {
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(214, 214, 214));
        p.setBrush(Qt::blue);
        const int side = 7;
        const int cell = std::min(width(), height()) / side;
        for (int row = 0; row < side; ++row) {
            for (int col = 0; col < side; ++col) {
                const bool corner = (col < 2 || col > 4) && (row < 2 || row > 4);
                if (!corner)
                    p.drawEllipse(
                        col * cell + cell / 6, row * cell + cell / 6, cell * 2 / 3, cell * 2 / 3);
            }
        }
    }

    void Twinkle()
    {
        if (buffer_.isNull())
            return;
        QRegion changed;
        auto *random = QRandomGenerator::global();
        for (int n = 0; n < 50; ++n) {
            const int x = random->bounded(buffer_.width());
            const int y = random->bounded(buffer_.height());
            const int grey = random->bounded(256);
            buffer_.setPixel(x, y, qRgb(grey, grey, grey));
            changed += QRect(x, y, 1, 1);
        }
        update(changed);
    }

    QImage buffer_;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool twinkle = app.arguments().contains(QStringLiteral("--twinkle"));
    BareBoard board(twinkle);
    board.setWindowTitle(QStringLiteral("bareboard"));
    board.resize(680, 510); // the size the game starts at
    board.show();
    return app.exec();
}
