// The timelines of a page's document play once the page has turned in, and stop when it goes.
#include <cmath>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCNode.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

class PageAnimationTest : public pagly::test::ReaderTest {
  protected:
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    // The render node of the bird that page 2's "fly bird" timeline moves.
    CCNode* bird() const {
        UIWidget* w = WidgetHelper::findWidgetByActionTag(page()->uiLayer()->getRootWidget(), 9001);
        return w ? w->getContainerNode() : nullptr;
    }
    static float distance(const CCPoint& a, const CCPoint& b) {
        return std::hypot(a.x - b.x, a.y - b.y);
    }
};

TEST_F(PageAnimationTest, TheBirdFliesAndItsLoopingTimelineGoesOnRound) {
    openPage(2);
    ASSERT_NE(nullptr, page()->timelines());
    ASSERT_EQ(1u, page()->timelines()->count());
    CCNode* flying = bird();
    ASSERT_NE(nullptr, flying);
    CCPoint start = flying->getPosition();
    advance(1.5);
    CCPoint midway = flying->getPosition();
    EXPECT_GT(distance(start, midway), 5) << "moving";
    // The timeline is 12 s long and loops: from the second round on (the first starts from
    // where the document put the bird), a round later the bird is at the same place again.
    advance(12);
    CCPoint round2 = flying->getPosition();
    advance(12);
    EXPECT_LT(distance(round2, flying->getPosition()), 3);
    CCPoint before = flying->getPosition();
    advance(0.5);
    EXPECT_GT(distance(before, flying->getPosition()), 1);
}

TEST_F(PageAnimationTest, APageTurnedInWaitsForTheTurnAndAPageLeftMidFlightStops) {
    openPage(3);
    press(kKeyLeft);  // back to page 2, with a page curl
    step();
    PageLayer* turning = page();
    ASSERT_EQ(nullptr, turning) << "the transition runs";
    settle();
    ASSERT_NE(nullptr, page());
    ASSERT_EQ(2, session().currentPage);
    CCNode* flying = bird();
    ASSERT_NE(nullptr, flying);
    flying->retain();  // watched after its page is gone
    CCPoint a = flying->getPosition();
    advance(1.0);
    EXPECT_GT(distance(a, flying->getPosition()), 5);

    press(kKeyRight);  // away mid-flight
    CCPoint left = flying->getPosition();
    advance(0.3);  // during the curl
    EXPECT_EQ(left, flying->getPosition()) << "stopped as soon as the page is left";
    settle();
    EXPECT_EQ(3, session().currentPage);
    EXPECT_EQ(left, flying->getPosition());
    EXPECT_EQ(0u, flying->numberOfRunningActions());
    flying->release();
}

TEST_F(PageAnimationTest, APageWithoutTimelinesHasNone) {
    openPage(19);
    ASSERT_NE(nullptr, page());
    ASSERT_NE(nullptr, page()->timelines());
    EXPECT_EQ(0u, page()->timelines()->count());
}

}  // namespace
