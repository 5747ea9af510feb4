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

TEST(WindowPlacement, CentringTruncatesTowardZero)
{
    EXPECT_EQ(CentreOnScreen(1280, 1024, 689, 501), (Corner {295, 261}));
    EXPECT_EQ(CentreOnScreen(600, 400, 689, 501), (Corner {-44, -50}));
}
