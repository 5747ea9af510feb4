// The yardstick for the start-up benchmark: a bare Qt Widgets window that
// paints a board of 33 circles and does nothing else. With --twinkle it
// also does what the game's stars do while nothing moves: ten times a second
// fifty single pixels of its picture change and only those are painted
// again. That is the floor of the game's idle cost in Qt. With --window as
// well it is a plain QWindow without widgets that paints the changed pixels
// straight into its own backing store: the floor of the twinkle in Qt at all.
#include <QApplication>
#include <QBackingStore>
#include <QExposeEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

void DrawBoard(QPainter &p, QSize size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(0, 0), size), QColor(214, 214, 214));
    p.setBrush(Qt::blue);
    const int side = 7;
    const int cell = std::min(size.width(), size.height()) / side;
    for (int row = 0; row < side; ++row) {
        for (int col = 0; col < side; ++col) {
            const bool corner = (col < 2 || col > 4) && (row < 2 || row > 4);
            if (!corner)
                p.drawEllipse(
                    col * cell + cell / 6, row * cell + cell / 6, cell * 2 / 3, cell * 2 / 3);
        }
    }
}

// Fifty pixels of the picture in new greys; returns them.
QRegion Twinkle(QImage &buffer)
{
    QRegion changed;
    auto *random = QRandomGenerator::global();
    for (int n = 0; n < 50; ++n) {
        const int x = random->bounded(buffer.width());
        const int y = random->bounded(buffer.height());
        const int grey = random->bounded(256);
        buffer.setPixel(x, y, qRgb(grey, grey, grey));
        changed += QRect(x, y, 1, 1);
    }
    return changed;
}

void StartTimer(QObject *owner, const std::function<void()> &tick)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, owner, tick);
    timer->start();
}

class BareBoard : public QWidget
{
public:
    explicit BareBoard(bool twinkle)
    {
        if (!twinkle)
            return;
        setAttribute(Qt::WA_OpaquePaintEvent);
        StartTimer(this, [this] {
            if (!buffer_.isNull())
                update(Twinkle(buffer_));
        });
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        if (buffer_.size() != size()) {
            buffer_ = QImage(size(), QImage::Format_RGB32);
            QPainter b(&buffer_);
            DrawBoard(b, size());
        }
        for (const QRect &r : event->region())
            p.drawImage(r, buffer_, r);
    }

private:
    QImage buffer_;
};

class BareWindow : public QWindow
{
public:
    BareWindow()
    {
        setSurfaceType(QSurface::RasterSurface);
        StartTimer(this, [this] {
            if (store_ && isExposed())
                Paint(Twinkle(buffer_));
        });
    }

protected:
    void exposeEvent(QExposeEvent *) override
    {
        if (!isExposed())
            return;
        if (!store_)
            store_ = std::make_unique<QBackingStore>(this);
        if (buffer_.size() != size()) {
            store_->resize(size());
            buffer_ = QImage(size(), QImage::Format_RGB32);
            QPainter b(&buffer_);
            DrawBoard(b, size());
        }
        Paint(QRect(QPoint(0, 0), size()));
    }

private:
    void Paint(const QRegion &region)
    {
        store_->beginPaint(region);
        {
            QPainter p(store_->paintDevice());
            for (const QRect &r : region)
                p.drawImage(r, buffer_, r);
        }
        store_->endPaint();
        store_->flush(region);
    }

    std::unique_ptr<QBackingStore> store_;
    QImage buffer_;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool twinkle = app.arguments().contains(QStringLiteral("--twinkle"));
    if (twinkle && app.arguments().contains(QStringLiteral("--window"))) {
        BareWindow window;
        window.setTitle(QStringLiteral("bareboard"));
        window.resize(680, 510);
        window.show();
        return app.exec();
    }
    BareBoard board(twinkle);
    board.setWindowTitle(QStringLiteral("bareboard"));
    board.resize(680, 510); // the size the game starts at
    board.show();
    return app.exec();
}
