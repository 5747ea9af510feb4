// Draws pictures ahead, for a screen of one device pixel per pixel, so that
// the program reads their pixels instead of drawing them at every start.
//   tumblewick_prerender PICTURES_FOLDER OUTPUT_FOLDER PICTURE=WxH...
// Each PICTURE is a path in PICTURES_FOLDER ("toolbar/new.svg"); its pixels at
// W x H go to OUTPUT_FOLDER under the name the program looks for
// (DrawnAheadName: "toolbar/new-50x50.argb").
#include "PictureList.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int Complain(const QString &text)
{
    std::fprintf(stderr, "tumblewick_prerender: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs(
            "usage: tumblewick_prerender PICTURES_FOLDER OUTPUT_FOLDER PICTURE=WxH...\n", stderr);
        return 2;
    }
    const QDir pictures(args[1]);
    const QDir output(args[2]);
    const QRegularExpression entry(QStringLiteral(R"(^(.+\.svg)=(\d{1,4})x(\d{1,4})$)"));
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QRegularExpressionMatch m = entry.match(args[i]);
        if (!m.hasMatch())
            return Complain(QStringLiteral("%1 is not PICTURE.svg=WxH").arg(args[i]));
        const QString name = m.captured(1);
        const QSize size(m.captured(2).toInt(), m.captured(3).toInt());
        const QString source = pictures.filePath(name);
        if (size.isEmpty() || !QSvgRenderer(source).isValid())
            return Complain(QStringLiteral("cannot draw %1").arg(args[i]));
        const QString target = output.filePath(DrawnAheadName(name, size));
        QDir().mkpath(QFileInfo(target).path());
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(PixelWords(DrawPicture(source, size, 1))) < 0 || !file.commit())
            return Complain(QStringLiteral("cannot write %1").arg(target));
    }
    return 0;
}
