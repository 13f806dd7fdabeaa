#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/FrameSize.h"
#include "app/ListDrag.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

TEST(FrameSize, FollowsTheDesktopHeightInTheDesignsShape) {
    CCSize size = frameSizeForDesktopHeight(1000);
    EXPECT_FLOAT_EQ(940.0f, size.height);
    // 640 x 960 is two wide for three high: a wider frame would stretch every drawing.
    EXPECT_NEAR(626.6667, size.width, 1e-3);
    EXPECT_NEAR(640.0 / 960.0, size.width / size.height, 1e-6);
}

class VisibleAreaTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        VisibleArea::reset();
    }
    void TearDown() override {
        CCDirector::sharedDirector()->setWinSize(CCSize(640, 960));
        VisibleArea::reset();
        EngineTest::TearDown();
    }
};

TEST_F(VisibleAreaTest, NamedPointsOfTheDesign) {
    EXPECT_EQ(CCPoint(0, 480), VisibleArea::left());
    EXPECT_EQ(CCPoint(640, 480), VisibleArea::right());
    EXPECT_EQ(CCPoint(320, 960), VisibleArea::top());
    EXPECT_EQ(CCPoint(320, 0), VisibleArea::bottom());
    EXPECT_EQ(CCPoint(320, 480), VisibleArea::center());
    EXPECT_EQ(CCRect(0, 0, 640, 960), VisibleArea::rect());
}

TEST_F(VisibleAreaTest, AZeroSizeIsAskedAgainAKnownOneIsKept) {
    CCDirector* director = CCDirector::sharedDirector();
    director->setWinSize(CCSize(0, 0));
    EXPECT_EQ(CCSize(0, 0), VisibleArea::size());
    director->setWinSize(CCSize(640, 960));
    EXPECT_EQ(CCSize(640, 960), VisibleArea::size()) << "zero values are not kept";
    director->setWinSize(CCSize(100, 100));
    EXPECT_EQ(CCSize(640, 960), VisibleArea::size()) << "known values are kept for good";
}

// The list drag rules, with the main page's limit of 40 on the 960-high design.
class ListDragTest : public pagly::test::EngineTest {
  protected:
    void move(float y) { dragListStep(list, CCPoint(100, y), 40, dragStart, offset); }
    CCNode* list = nullptr;
    CCPoint dragStart, offset;
    void SetUp() override {
        EngineTest::SetUp();
        list = CCNode::create();
    }
};

TEST_F(ListDragTest, FollowsTheFingerWithinBounds) {
    dragStart = CCPoint(100, 500);
    move(530);
    EXPECT_FLOAT_EQ(30, list->getPositionY());
    EXPECT_EQ(CCPoint(0, 30), offset);
    EXPECT_FLOAT_EQ(530, dragStart.y);
}

TEST_F(ListDragTest, ClampsAtTheLimitAndMeasuresFromTheLastAcceptedPoint) {
    // The worked example: list at 0, touch began at 500, finger to 600 then to 495.
    dragStart = CCPoint(100, 500);
    move(600);
    EXPECT_FLOAT_EQ(40, list->getPositionY());
    EXPECT_FLOAT_EQ(500, dragStart.y) << "the drag start stays while clamped";
    EXPECT_EQ(CCPoint(0, 0), offset) << "the remembered offset stays at the last in-range value";
    move(495);
    EXPECT_FLOAT_EQ(35, list->getPositionY());
    EXPECT_FLOAT_EQ(495, dragStart.y);
    EXPECT_EQ(CCPoint(0, 35), offset);
}

TEST_F(ListDragTest, ClampsAtZero) {
    dragStart = CCPoint(100, 500);
    move(520);
    move(400);
    EXPECT_FLOAT_EQ(0, list->getPositionY());
    EXPECT_EQ(CCPoint(0, 20), offset);
    EXPECT_FLOAT_EQ(520, dragStart.y);
}

TEST_F(ListDragTest, ReachingABoundExactlyIsStillInRange) {
    // Landing on 0 or on the limit itself is a normal step: the drag start and the
    // remembered offset follow the finger there.
    struct Case {
        float from, to;
    } cases[] = {{0, 40}, {20, 0}};
    for (const Case& c : cases) {
        list->setPosition(CCPoint(0, c.from));
        offset = CCPoint(0, c.from);
        dragStart = CCPoint(100, 500);
        move(500 + c.to - c.from);
        EXPECT_FLOAT_EQ(c.to, list->getPositionY()) << c.to;
        EXPECT_EQ(CCPoint(0, c.to), offset) << c.to;
        EXPECT_FLOAT_EQ(500 + c.to - c.from, dragStart.y) << c.to;
    }
}

TEST_F(ListDragTest, AListShorterThanTheScreenStaysPut) {
    // A four-page unit has a limit of -460: every move leaves the list where it rests.
    dragStart = CCPoint(100, 500);
    for (float y : {520.f, 480.f, 530.f, 470.f}) {
        dragListStep(list, CCPoint(100, y), -460, dragStart, offset);
        EXPECT_FLOAT_EQ(0, list->getPositionY()) << "finger at " << y;
    }
}

TEST_F(ListDragTest, AbsurdTouchLocationsNeverMoveTheListOutOfItsBounds) {
    // A nonsense location from the window system (NaN, infinite, far off screen) must not
    // leave the list at a position from which no later drag can bring it back.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        float start, moveTo;
    } cases[] = {
        {"NaN move", 500, nan},       {"NaN start", nan, 520},   {"infinite move", 500, inf},
        {"infinite start", inf, 520}, {"far above", 500, 1e30f}, {"far below", 500, -1e30f},
        {"far start", -1e30f, 520},
    };
    for (const Case& c : cases) {
        list->setPosition(CCPoint(0, 20));
        offset = CCPoint(0, 20);
        dragStart = CCPoint(100, c.start);
        move(c.moveTo);
        float y = list->getPositionY();
        EXPECT_TRUE(y >= 0 && y <= 40) << c.what << ": list at " << y;
        EXPECT_TRUE(offset.y >= 0 && offset.y <= 40) << c.what << ": offset " << offset.y;
        // The finger then goes on normally: the list follows from where it is.
        move(525);
        move(530);
        y = list->getPositionY();
        EXPECT_TRUE(y >= 0 && y <= 40) << c.what << ": then at " << y;
        EXPECT_TRUE(std::isfinite(dragStart.y)) << c.what;
        EXPECT_TRUE(std::isfinite(offset.y)) << c.what;
    }
}

TEST_F(ListDragTest, AnUnknownLimitKeepsTheListAtRest) {
    dragStart = CCPoint(100, 500);
    dragListStep(list, CCPoint(100, 530), std::numeric_limits<float>::quiet_NaN(), dragStart,
                 offset);
    EXPECT_FLOAT_EQ(0, list->getPositionY());
}

class TextTableTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        saved = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(std::string(PAGLY_FIXTURES_DIR) + "/plist");
    }
    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setResourceRoot(saved);
        EngineTest::TearDown();
    }
    std::string saved;
};

TEST_F(TextTableTest, MissingFileOrKeyGivesEmptyText) {
    EXPECT_EQ("Hello & welcome", loadText("nested.plist", "title"));
    EXPECT_EQ("", loadText("nested.plist", "no-such-key"));
    EXPECT_EQ("", loadText("no-such-file.xml", "title"));
}

}  // namespace
