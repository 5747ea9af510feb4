// The yardstick for the start-up benchmark: a bare Qt Widgets window that
// paints a board of 33 circles and does nothing else.
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

class BareBoard : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
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
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BareBoard board;
    board.setWindowTitle(QStringLiteral("bareboard"));
    board.resize(680, 510); // the size the game starts at
    board.show();
    return app.exec();
}
