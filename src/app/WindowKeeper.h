// Keeps the main window's placement between runs, in the setting "MainForm".
#pragma once

#include "Settings.h"
#include "WindowPlacement.h"

#include <QRect>

class QWidget;

class WindowKeeper
{
public:
    explicit WindowKeeper(SettingsStore &ini)
        : ini_(ini)
    { }

    // Before the window is first shown: the stored placement, moved back
    // onto the desktop where it lies outside, or else the window centred on
    // the screen at its present size.
    void Restore(QWidget &window) const;
    // When the window closes or is destroyed: into the settings, which are
    // written with everything else.
    void Store(const QWidget &window);

    // The placement of a window as stored: its normal (not maximised) client
    // rectangle and its show state.
    static WindowPlacement PlacementOf(const QWidget &window);

private:
    SettingsStore &ini_;
};

PlacementRect ToPlacementRect(const QRect &r);
