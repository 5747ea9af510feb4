// The dialogs' pictures (`dlgs`), the placement every dialog takes over the
// main window, and the look the dialogs share.
#pragma once

#include "PictureList.h"

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QWidget;
class PictureButton;

// Indexes into `dlgs`. The confirm pair is 6 (normal) and 5 (under the
// mouse), the reject pair 8 and 7, as the save and load dialogs use them too.
enum DlgPicture {
    DlgGraniteLight = 0,
    DlgGraniteDark = 1,
    DlgLogo = 2,
    DlgBack = 3,
    DlgBackHot = 4,
    DlgCheckHot = 5,
    DlgCheck = 6,
    DlgCrossHot = 7,
    DlgCross = 8,
    DlgFlagsGerman = 9,
    DlgFlagsGermanHot = 10,
    DlgFlagsEnglish = 11,
    DlgFlagsEnglishHot = 12,
};

// Loaded once at start-up; the dialogs draw from it for the whole run.
class TDlgResources
{
public:
    TDlgResources();
    PictureList dlgs;
};

// Where a dialog goes over the main window: centred across it, and centred
// down its client area (the part below its caption bar).
QPoint DialogPlacement(const QRect &mainFrame, int mainClientHeight, QSize dialog);
// The same for a live main window.
QPoint DialogPlacement(const QWidget &mainWindow, QSize dialog);

// White Arial, bold or regular, at a pixel height.
QFont DialogFont(int pixelSize, bool bold = true);
// A transparent white label placed at a rectangle of its parent.
QLabel *DialogLabel(QWidget *parent, const QRect &place, int pixelSize, bool bold = true);
// The logo drawn transparent (its magenta is the see-through colour).
QWidget *LogoPicture(QWidget *parent, const QImage &logo, const QRect &place);
// A picture button at a rectangle, with its faces from a picture list.
PictureButton *DialogButton(QWidget *parent, const QRect &place, const PictureList &pictures,
    int normal, int hot, int greyed = -1);
