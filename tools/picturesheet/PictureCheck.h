#pragma once

#include <QImage>
#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>

// One picture source, read, checked and rendered at its design size.
struct PictureReport
{
    QString path; // relative to the pictures folder, with '/'
    QSize size; // from the width and height attributes
    QImage image; // rendered at that size on a transparent background
    QStringList problems; // empty when the picture is fine
};

// Expected pictures: relative path -> design size, read from manifest.txt.
using Manifest = QMap<QString, QSize>;

// Reads "path width height" lines; '#' starts a comment. Bad lines land in problems.
Manifest ReadManifest(const QString &fileName, QStringList &problems);

// Every *.svg below root, as relative paths in a fixed (sorted) order.
QStringList FindPictures(const QString &root);

// Reads one SVG, checks that it keeps to what Qt's renderer draws (SVG Tiny
// elements, no filters, masks, clip paths, patterns, style sheets, text or
// outside references), that width, height and view box agree, and renders it.
// Anything the renderer warns about is a problem too, and so is a pure white
// pixel.
PictureReport CheckPicture(const QString &root, const QString &relativePath);

// Checks across pictures: the manifest against the files, a highlighted face
// that really differs from its normal one, a greyed face without colour and no
// brighter than its normal one.
QStringList CheckSet(const QList<PictureReport> &reports, const Manifest &manifest);
