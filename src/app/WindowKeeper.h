// Keeps the main window's placement between runs, in the setting "MainForm".
#pragma once

#include "Settings.h"
#include "WindowPlacement.h"

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Beside the placement: "1" when the window was full screen.
constexpr const char *FullScreenValueName = "fullscreen";

class WindowKeeper
{
public:
    explicit WindowKeeper(SettingsStore &ini)
        : ini_(ini)
    { }

    // Before the window is first shown: the stored placement, moved back
    // onto the desktop where it lies outside, or else the window centred on
    // the screen at its present size. True when a stored placement was taken.
    bool Restore(QWidget &window) const;
    // Gives the window the outer size `outer`, centred on its screen; `frame`
    // is what the window manager adds around the window's inner area.
    void Centre(QWidget &window, QSize outer, const QMargins &frame) const;
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
