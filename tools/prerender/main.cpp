// Draws pictures ahead, at their design size for a screen of one device pixel
// per pixel, so that the program reads their pixels instead of drawing them
// at every start.
//   tumblewick_prerender PICTURES_FOLDER OUTPUT_FOLDER PICTURE...
// Each PICTURE is a path in PICTURES_FOLDER as its manifest.txt names it
// ("toolbar/new.svg"); its size comes from the manifest, and its pixels go to
// OUTPUT_FOLDER/toolbar/new.argb.
#include "PictureList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>
#include <optional>

namespace {

void Complain(const QString &text)
{
    std::fprintf(stderr, "tumblewick_prerender: %s\n", qPrintable(text));
}

std::optional<QHash<QString, QSize>> ReadManifest(const QString &file)
{
    QFile manifest(file);
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Complain(QStringLiteral("cannot read %1").arg(file));
        return std::nullopt;
    }
    QHash<QString, QSize> sizes;
    const QRegularExpression entry(QStringLiteral(R"(^(\S+)\s+(\d+)\s+(\d+)\s*$)"));
    while (!manifest.atEnd()) {
        const QString line = QString::fromUtf8(manifest.readLine()).trimmed();
        const QRegularExpressionMatch m = entry.match(line);
        if (m.hasMatch())
            sizes.insert(m.captured(1), QSize(m.captured(2).toInt(), m.captured(3).toInt()));
    }
    return sizes;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs(
            "usage: tumblewick_prerender PICTURES_FOLDER OUTPUT_FOLDER PICTURE...\n", stderr);
        return 2;
    }
    const QDir pictures(args[1]);
    const QDir output(args[2]);
    const auto sizes = ReadManifest(pictures.filePath(QStringLiteral("manifest.txt")));
    if (!sizes)
        return 1;
    for (qsizetype i = 3; i < args.size(); ++i) {
        const QString &name = args[i];
        const auto size = sizes->constFind(name);
        if (size == sizes->constEnd() || size->isEmpty()) {
            Complain(QStringLiteral("%1 has no size in the manifest").arg(name));
            return 1;
        }
        const QString source = pictures.filePath(name);
        if (!QSvgRenderer(source).isValid()) {
            Complain(QStringLiteral("cannot read %1").arg(source));
            return 1;
        }
        const QString target = output.filePath(name.chopped(4) + QStringLiteral(".argb"));
        QDir().mkpath(QFileInfo(target).path());
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(PixelWords(DrawPicture(source, *size, 1))) < 0 || !file.commit()) {
            Complain(QStringLiteral("cannot write %1").arg(target));
            return 1;
        }
    }
    return 0;
}
