#include "WindowKeeper.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

PlacementRect ToPlacementRect(const QRect &r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void WindowKeeper::Restore(QWidget &window) const
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    std::optional<WindowPlacement> stored
        = ParsePlacement(ini_.ReadString(SectionCommon, PlacementValueName, ""));
    std::vector<PlacementRect> screens;
    for (const QScreen *s : QGuiApplication::screens())
        screens.push_back(ToPlacementRect(s->availableGeometry()));
    if (stored && !FitsSomeScreen(stored->normal, screens))
        stored.reset(); // a damaged or crafted value: as if none were stored
    if (!stored) {
        const QRect area = screen->geometry();
        const Corner c = CentreOnScreen(area.width(), area.height(), window.frameGeometry().width(),
            window.frameGeometry().height());
        window.move(area.x() + c.left, area.y() + c.top);
        return;
    }
    const PlacementRect r
        = MoveOntoDesktop(stored->normal, ToPlacementRect(screen->availableVirtualGeometry()));
    window.setGeometry(r.left, r.top, r.Width(), r.Height());
    // A window closed while minimised comes back in its normal state: a game
    // that starts out of sight looks as if it had not started.
    if (stored->showCmd == ShowMaximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
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
}
