// The 4 : 3 rule against window managers of several habits: one that grants
// every request, one that ignores requests during a drag, one that refuses,
// and ones that answer with sizes of their own.
#include "FrameRatio.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using Cause = RatioKeeper::Cause;

namespace {

const QSize Minimum(680, 460);

// What a window manager does with a request: the size it then reports, or
// nothing when it ignores the request.
using WindowManager = std::function<std::optional<QSize>(QSize asked)>;

struct Outcome
{
    QSize outer;
    int asks = 0;
};

// Starting from a reported size, the window manager answers every request;
// when no new size comes, the window settles, and once it has settled with
// nothing new reported the run ends. A run that does not end is cut off
// after 1000 steps and counts the asks made till then.
Outcome Settle(RatioKeeper &keeper, QSize reported, const WindowManager &wm)
{
    Outcome out {reported, 0};
    Cause cause = Cause::Resized;
    for (int step = 0; step < 1000; ++step) {
        const std::optional<QSize> ask = keeper.Ask(out.outer, cause);
        std::optional<QSize> answer;
        if (ask) {
            ++out.asks;
            answer = wm(*ask);
        }
        if (answer && *answer != out.outer) {
            out.outer = *answer;
            cause = Cause::Resized;
        } else if (cause == Cause::Settled && !ask) {
            break;
        } else {
            cause = Cause::Settled;
        }
    }
    return out;
}

std::optional<QSize> Grants(QSize asked)
{
    return asked;
}

std::optional<QSize> Ignores(QSize)
{
    return std::nullopt;
}

} // namespace

TEST(FourToThree, HeightFollowsAFlatWindowWidthATallOne)
{
    struct Case
    {
        QSize outer, result;
    };
    for (const Case c : {Case {{800, 500}, {800, 600}}, Case {{800, 700}, {933, 700}},
             Case {{800, 600}, {800, 600}}, Case {{680, 460}, {680, 510}},
             Case {{689, 400}, {689, 516}}}) {
        SCOPED_TRACE(testing::Message() << c.outer.width() << "x" << c.outer.height());
        EXPECT_EQ(FourToThree(c.outer), c.result);
    }
}

TEST(RatioKeeper, AsksForFourToThreeAtLeastAtTheMinimum)
{
    struct Case
    {
        QSize reported, asked;
    };
    for (const Case c : {Case {{900, 500}, {900, 675}}, Case {{800, 700}, {933, 700}},
             Case {{400, 300}, {680, 510}}, Case {{690, 400}, {690, 517}},
             Case {{500, 900}, {1200, 900}}}) {
        SCOPED_TRACE(testing::Message() << c.reported.width() << "x" << c.reported.height());
        RatioKeeper keeper(Minimum);
        EXPECT_EQ(keeper.Ask(c.reported, Cause::Resized), c.asked);
        EXPECT_EQ(keeper.Ask(c.asked, Cause::Resized), std::nullopt) << "granted, nothing more";
    }
}

TEST(RatioKeeper, TheSameSizeAskedForTwiceEndsAtFourToThreeTwice)
{
    RatioKeeper keeper(Minimum);
    for (int time = 0; time < 2; ++time) {
        SCOPED_TRACE(time);
        EXPECT_EQ(Settle(keeper, {900, 500}, Grants).outer, QSize(900, 675));
    }
}

TEST(RatioKeeper, TheEndOfADragIsBroughtToFourToThree)
{
    // While the frame is dragged every request is ignored, and each motion
    // reports a new size. When no new size comes, the last one is asked for
    // again, now that the window manager listens.
    RatioKeeper keeper(Minimum);
    for (int w = 872; w >= 782; w -= 30)
        EXPECT_TRUE(keeper.Ask({w, 676}, Cause::Resized).has_value()); // ignored
    EXPECT_EQ(keeper.Ask({782, 676}, Cause::Settled), QSize(901, 676));
    EXPECT_EQ(keeper.Ask({901, 676}, Cause::Resized), std::nullopt) << "granted";

    // A player who holds still in the middle of the drag: that request is
    // ignored too. Letting go makes the window active again.
    for (int h = 656; h >= 556; h -= 20)
        EXPECT_TRUE(keeper.Ask({901, h}, Cause::Resized).has_value());
    EXPECT_EQ(keeper.Ask({901, 556}, Cause::Settled), QSize(901, 675)); // ignored
    EXPECT_EQ(keeper.Ask({901, 556}, Cause::Activated), QSize(901, 675));
}

TEST(RatioKeeper, AWindowManagerThatNeverGrantsIsNotAskedAgainAndAgain)
{
    struct Case
    {
        const char *what;
        WindowManager wm;
        QSize start, end;
        int asks;
    };
    int turn = 0;
    const Case cases[] = {
        {"ignores every request", Ignores, {900, 500}, {900, 500}, 2},
        {"holds the height below 600",
            [](QSize asked) { return std::optional(QSize(asked.width(), 599)); }, {1000, 500},
            {1000, 599}, 3},
        {"answers with two sizes in turn",
            [&turn](QSize) { return std::optional(QSize(1000 + turn++ % 2, 600)); }, {900, 500},
            {0, 0}, -1},
        {"grants with a step of ten pixels",
            [](QSize asked) { return std::optional(asked / 10 * 10); }, {905, 500}, {0, 0}, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RatioKeeper keeper(Minimum);
        const Outcome out = Settle(keeper, c.start, c.wm);
        if (c.asks >= 0) {
            EXPECT_EQ(out.asks, c.asks);
            EXPECT_EQ(out.outer, c.end);
        }
        EXPECT_LT(out.asks, 20) << "the asking comes to an end";
        // The player's own change is answered again.
        EXPECT_TRUE(keeper.Ask({1100, 500}, Cause::Resized).has_value());
    }
}
