#include "WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, FormatsSevenFieldsAndParsesThemBack)
{
    const WindowPlacement p {0, ShowMaximized, {-10, 20, 670, 530}};
    EXPECT_EQ(FormatPlacement(p), "200,0,3,-10,20,670,530");
    EXPECT_EQ(ParsePlacement("200,0,3,-10,20,670,530"), p);
}

TEST(WindowPlacement, AnythingButSevenIntegersStartingWith200IsNoPlacement)
{
    for (const char *text : {"", "200", "200,0,1,0,0,680,460,9", "201,0,1,0,0,680,460",
             "200,0,1,0,0,680", "200,0,1,0,0,680,x", "200,0,1,,0,680,460", " 200,0,1,0,0,680,460",
             "200,0,1,0,0,680,460,"}) {
        EXPECT_EQ(ParsePlacement(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(WindowPlacement, ARectangleOffTheDesktopIsMovedBackWithItsSize)
{
    const PlacementRect desktop {0, 0, 1280, 1024};
    struct Case
    {
        PlacementRect in, out;
    };
    for (const Case c : {
             Case {{100, 100, 780, 560}, {100, 100, 780, 560}}, // inside: unchanged
             Case {{1800, 100, 2480, 560}, {600, 100, 1280, 560}}, // saved on a wider desktop
             Case {{100, 900, 780, 1360}, {100, 564, 780, 1024}},
             Case {{-300, -50, 380, 410}, {0, 0, 680, 460}},
             Case {{-100, 0, 1500, 1200}, {0, 0, 1600, 1200}}, // larger than the desktop
             Case {{780, 560, 100, 100}, {780, 560, 100, 100}}, // edges swapped: size kept
         }) {
        SCOPED_TRACE(testing::Message() << c.in.left << "," << c.in.top);
        const PlacementRect out = MoveOntoDesktop(c.in, desktop);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(out.Width(), c.in.Width());
        EXPECT_EQ(out.Height(), c.in.Height());
    }
}

TEST(WindowPlacement, OnlyARectangleThatFitsAScreenIsAPlacement)
{
    const std::vector<PlacementRect> screens {{0, 0, 1280, 1024}, {1280, 0, 3200, 1080}};
    struct Case
    {
        PlacementRect rect;
        bool fits;
        const char *what;
    };
    for (const Case c : {Case {{100, 100, 780, 610}, true, "an ordinary window"},
             Case {{1300, 0, 3200, 1080}, true, "the whole second screen"},
             Case {{0, 0, 1921, 500}, false, "wider than every screen"},
             Case {{0, 0, 1280, 1081}, false, "higher than every screen"},
             Case {{1, -2147483647 - 1, 0, 2147483647}, false, "edges at the ends of int"},
             Case {{0, 0, 100000, 100000}, false, "an enormous window"},
             Case {{780, 100, 100, 610}, false, "right edge left of the left edge"},
             Case {{100, 610, 780, 100}, false, "bottom above the top"},
             Case {{100, 100, 100, 610}, false, "no width"}}) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitsSomeScreen(c.rect, screens), c.fits);
    }
    EXPECT_FALSE(FitsSomeScreen({0, 0, 680, 510}, {})) << "no screen at all";
    EXPECT_EQ((PlacementRect {-2147483647 - 1, 0, 2147483647, 0}).Width(), 2147483647)
        << "a distance too large for an int stops at the largest";
}

TEST(WindowPlacement, CentringTruncatesTowardZero)
{
    EXPECT_EQ(CentreOnScreen(1280, 1024, 689, 501), (Corner {295, 261}));
    EXPECT_EQ(CentreOnScreen(600, 400, 689, 501), (Corner {-44, -50}));
}
