// The main window's outer size kept at 4 : 3 and at least at its minimum.
#pragma once

#include <QSize>

#include <optional>
#include <utility>
#include <vector>

// The outer size brought to 4 : 3: first the height follows the width when
// the window is too flat, then the width follows the height.
QSize FourToThree(QSize outer);

// Decides which outer size to ask the window system for. It is told only the
// sizes the window system reports: a window manager may refuse a request or
// ignore it (most do while the player drags the frame), so an answer is
// never taken for granted. A size refused is asked for again only for a
// cause that the asking itself cannot bring about, so that a window manager
// that never grants 4 : 3 is not asked again and again.
class RatioKeeper
{
public:
    enum class Cause {
        Resized, // the window system reports a new size
        Settled, // no new size has come for a while: a drag has ended
        Activated, // the window became active, as it does after a drag
    };

    explicit RatioKeeper(QSize minimum)
        : minimum_(minimum)
    { }

    // The outer size to ask for, or nothing when `outer` is right or the
    // same request would only be refused again.
    std::optional<QSize> Ask(QSize outer, Cause cause);

    // The size an outer size should have: at least the minimum, at 4 : 3.
    QSize Want(QSize outer) const { return FourToThree(outer.expandedTo(minimum_)); }

private:
    using Request = std::pair<QSize, QSize>; // from, to
    QSize minimum_;
    // Requests made since the window last stood at a right size, for each
    // cause that can follow from a request; a size that is reported again
    // after its request is not asked for again for that cause.
    std::vector<Request> askedResized_;
    std::vector<Request> askedSettled_;
};
