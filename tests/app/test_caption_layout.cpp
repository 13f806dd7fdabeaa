#include <gtest/gtest.h>

#include "app/CaptionLayout.h"
#include "app/VisibleArea.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

// Caption placement on the 640 x 960 design (centre (320, 480), gap 24), with a button
// 200 x 40 and a caption 52 high unless a case says otherwise.
class CaptionLayoutTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        VisibleArea::reset();
    }
    void TearDown() override {
        VisibleArea::reset();
        EngineTest::TearDown();
    }
};

TEST_F(CaptionLayoutTest, BesideTheButtonInsideTheVisibleWidth) {
    struct Case {
        const char* what;
        CCPoint position;  // from the visible centre
        float sx, sy;
        float x, y, backgroundY;  // y: where the text's centre stood flush with an edge
    } cases[] = {
        // Lower half (or on the centre line): above, background reaching g above the text.
        {"lower half", {0, -200}, 1, 1, 320, 280 + 20 + 31.2f, 280 + 51.2f + 12},
        {"on the centre line", {0, 0}, 1, 1, 320, 480 + 20 + 31.2f, 480 + 51.2f + 12},
        // Upper half: below, background reaching g below the text.
        {"upper half", {0, 200}, 1, 1, 320, 680 - 20 - 26, 680 - 46 - 12},
        {"upper half, scale 1.5",
         {0, 200},
         1.5f,
         1.5f,
         320,
         680 - 60.0f * 6 / 11 - 26,
         680 - 60.0f * 6 / 11 - 26 - 12},
        {"upper half, scale 1.4",
         {0, 200},
         1,
         1.4f,
         320,
         680 - 56.0f * 6 / 11 - 26,
         680 - 56.0f * 6 / 11 - 38},
        {"negative scale counts as positive",
         {0, 200},
         -1.5f,
         -1.5f,
         320,
         680 - 60.0f * 6 / 11 - 26,
         680 - 60.0f * 6 / 11 - 38},
        // The box (the button's width and a margin of 12 on each side) kept inside the width.
        {"at the very left", {-320, -200}, 1, 1, 112, 331.2f, 343.2f},
        {"at the very right", {320, -200}, 1, 1, 528, 331.2f, 343.2f},
        // A box as wide as the view, in its middle.
        {"wider than the view", {0, -200}, 4, 1, 320, 331.2f, 343.2f},
    };
    for (const Case& c : cases) {
        CaptionPlacement p = placeCaption(c.position, c.sx, c.sy, CCSize(200, 40), 52);
        EXPECT_NEAR(c.x, p.labelX, 1e-3) << c.what;
        EXPECT_NEAR(c.backgroundY, p.backgroundY, 1e-3) << c.what;
        // The text stands in the middle of its background: a margin above and below it.
        EXPECT_NEAR(c.backgroundY, p.labelY, 1e-3) << c.what;
        EXPECT_FLOAT_EQ(24, p.backgroundExtraHeight) << c.what;
    }
}

}  // namespace
