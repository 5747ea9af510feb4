#include "FrameRatio.h"

#include <algorithm>

QSize FourToThree(QSize outer)
{
    int w = outer.width();
    int h = outer.height();
    if (w * 3 / 4 > h)
        h = w * 3 / 4;
    if (w * 3 / 4 < h)
        w = h * 4 / 3;
    return {w, h};
}

namespace {

// True, and remembered, when the request is new.
bool FirstTime(std::vector<std::pair<QSize, QSize>> &asked, const std::pair<QSize, QSize> &request)
{
    if (std::find(asked.begin(), asked.end(), request) != asked.end())
        return false;
    // A long drag reports many sizes; the oldest are forgotten.
    constexpr std::size_t Remembered = 256;
    if (asked.size() == Remembered)
        asked.erase(asked.begin());
    asked.push_back(request);
    return true;
}

} // namespace

std::optional<QSize> RatioKeeper::Ask(QSize outer, Cause cause)
{
    const QSize want = Want(outer);
    if (want == outer) {
        askedResized_.clear();
        askedSettled_.clear();
        return std::nullopt;
    }
    const Request request {outer, want};
    switch (cause) {
    case Cause::Resized:
        // Each size a drag reports is asked for once; a window manager that
        // answers with sizes of its own runs out of new ones.
        return FirstTime(askedResized_, request) ? std::optional(want) : std::nullopt;
    case Cause::Settled:
        // The last size of a drag was asked for while the window manager
        // ignored requests: once more now, but never again for that size.
        return FirstTime(askedSettled_, request) ? std::optional(want) : std::nullopt;
    case Cause::Activated:
        // Asking brings no activation about, so this cannot go round.
        return want;
    }
    return std::nullopt;
}
