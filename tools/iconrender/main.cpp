// Renders an SVG picture as square PNG images, one per size.
//   tumblewick_iconrender PICTURE.svg OUTPUT.png SIZE [OUTPUT.png SIZE ...]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4 || args.size() % 2 != 0) {
        std::fputs(
            "usage: tumblewick_iconrender PICTURE.svg OUTPUT.png SIZE [OUTPUT.png SIZE ...]\n",
            stderr);
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "tumblewick_iconrender: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (qsizetype i = 2; i + 1 < args.size(); i += 2) {
        bool ok = false;
        const int side = args[i + 1].toInt(&ok);
        if (!ok || side < 1 || side > 4096) {
            std::fprintf(stderr, "tumblewick_iconrender: bad size %s\n", qPrintable(args[i + 1]));
            return 2;
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, side, side));
        }
        if (!image.save(args[i], "PNG")) {
            std::fprintf(stderr, "tumblewick_iconrender: cannot write %s\n", qPrintable(args[i]));
            return 1;
        }
    }
    return 0;
}
