#include "WindowKeeper.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

PlacementRect ToPlacementRect(const QRect &r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

bool WindowKeeper::Restore(QWidget &window) const
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    std::optional<WindowPlacement> stored
        = ParsePlacement(ini_.ReadString(SectionCommon, PlacementValueName, ""));
    std::vector<PlacementRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens.push_back(ToPlacementRect(s->availableGeometry()));
    if (stored && !FitsSomeScreen(stored->normal, screens))
        stored.reset(); // a damaged or crafted value: as if none were stored
    // Full screen is kept beside the placement: the placement is the window
    // the player comes back to from it, so it is taken first.
    const auto fullScreen = [&] {
        if (ini_.ReadBool(SectionCommon, FullScreenValueName, false))
            window.setWindowState(window.windowState() | Qt::WindowFullScreen);
    };
    if (!stored) {
        const QRect frame = window.frameGeometry();
        const QRect inner = window.geometry();
        Centre(window, frame.size(),
            QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                frame.right() - inner.right(), frame.bottom() - inner.bottom()));
        fullScreen();
        return false;
    }
    const PlacementRect r
        = MoveOntoDesktop(stored->normal, ToPlacementRect(screen->availableVirtualGeometry()));
    window.setGeometry(r.left, r.top, r.Width(), r.Height());
    // A window closed while minimised comes back in its normal state: a game
    // that starts out of sight looks as if it had not started.
    if (stored->showCmd == ShowMaximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    fullScreen();
    return true;
}

void WindowKeeper::Centre(QWidget &window, QSize outer, const QMargins &frame) const
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const Corner c = CentreOnScreen(area.width(), area.height(), outer.width(), outer.height());
    window.setGeometry(
        QRect(QPoint(area.x() + c.left, area.y() + c.top), outer).marginsRemoved(frame));
}

WindowPlacement WindowKeeper::PlacementOf(const QWidget &window)
{
    WindowPlacement p;
    p.showCmd = window.isMaximized() ? ShowMaximized
        : window.isMinimized()       ? ShowMinimized
                                     : ShowNormal;
    const QRect normal = window.normalGeometry().isValid() && !window.normalGeometry().isEmpty()
        ? window.normalGeometry()
        : window.geometry();
    p.normal = ToPlacementRect(normal);
    return p;
}

void WindowKeeper::Store(const QWidget &window)
{
    ini_.WriteString(SectionCommon, PlacementValueName, FormatPlacement(PlacementOf(window)));
    ini_.WriteBool(SectionCommon, FullScreenValueName, window.isFullScreen());
}
