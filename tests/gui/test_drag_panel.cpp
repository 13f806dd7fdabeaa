#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "WidgetEventLog.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCScene.h"
#include "gui/UIDragPanel.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

const float kTol = 1e-3f;

// A drag panel of 400 x 400 at (100, 100) (world x and y 100..500) with 600 x 600 content, which
// starts top-aligned: left 0, right 600, bottom -200, top 400 in the panel's space.
class DragPanelTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        panel = UIDragPanel::create();
        panel->setSize(CCSize(400, 400));
        panel->setPosition(CCPoint(100, 100));
        panel->setInnerContainerSize(CCSize(600, 600));
        layer->getRootWidget()->addChild(panel);
        log = WidgetEventLog::create();
        panel->addEventListener(log, memberCallback(&WidgetEventLog::onEvent<DragPanelEventType>));
        run(scene);
    }
    void TearDown() override {
        log.reset();
        EngineTest::TearDown();
    }

    Layout* inner() { return panel->getInnerContainer(); }
    float left() { return inner()->getLeftEdge(); }
    float right() { return inner()->getRightEdge(); }
    float bottom() { return inner()->getBottomEdge(); }
    float top() { return inner()->getTopEdge(); }
    // The content hides the whole panel: no empty margin anywhere.
    bool covers() {
        return left() <= kTol && right() >= 400 - kTol && bottom() <= kTol && top() >= 400 - kTol;
    }
    bool finite() {
        return std::isfinite(inner()->getPosition().x) && std::isfinite(inner()->getPosition().y);
    }
    void reset() {
        panel->setInnerContainerSize(CCSize(600, 600));
        inner()->setPosition(CCPoint(0, -200));
        log->clear();
    }

    UILayer* layer = nullptr;
    UIDragPanel* panel = nullptr;
    RefPtr<WidgetEventLog> log;
};

TEST_F(DragPanelTest, NewPanelDefaults) {
    EXPECT_EQ("DragPanel", panel->getDescription());
    EXPECT_TRUE(panel->isClippingEnabled());
    EXPECT_TRUE(panel->isTouchEnabled());
    EXPECT_TRUE(panel->isUpdateEnabled());
    EXPECT_FALSE(panel->isBounceEnabled());
    EXPECT_FLOAT_EQ(0.5f, panel->getAutoMoveDuration());
    EXPECT_FLOAT_EQ(2.0f, panel->getAutoMoveEaseRate());
    EXPECT_FLOAT_EQ(0.5f, panel->getBounceDuration());
    EXPECT_FLOAT_EQ(2.0f, panel->getBounceEaseRate());
    EXPECT_EQ(DragPanelActionNone, panel->getActionKind());
    EXPECT_EQ(DragPanelDirNone, panel->getBerthDirection());
    EXPECT_EQ(CCSize(600, 600), inner()->getSize());
    EXPECT_FLOAT_EQ(0.0f, left());
    EXPECT_FLOAT_EQ(400.0f, top());
}

TEST_F(DragPanelTest, ContentGrowsInPlaceWhenThePanelGrows) {
    inner()->setPosition(CCPoint(-50, -100));
    panel->setSize(CCSize(700, 500));
    EXPECT_EQ(CCSize(700, 600), inner()->getSize());
    EXPECT_EQ(CCPoint(-50, -100), inner()->getPosition());
    UIWidget* child = UIWidget::create();
    EXPECT_TRUE(panel->addChild(child));
    EXPECT_EQ(inner(), child->getParent());
    EXPECT_EQ(1u, panel->getChildren()->count());
}

TEST_F(DragPanelTest, ContentNoLargerThanThePanelCannotBeDragged) {
    panel->setInnerContainerSize(CCSize(100, 100));
    ASSERT_EQ(CCSize(400, 400), inner()->getSize());
    CCPoint start = inner()->getPosition();
    touchDown(300, 300);
    EXPECT_FALSE(panel->isPressed());
    drag(CCPoint(300, 300), CCPoint(200, 420));
    advance(1.0);
    EXPECT_EQ(start, inner()->getPosition());
    EXPECT_TRUE(log->events.empty());
}

// Without bounce the content never uncovers the panel: not while dragged in any direction, however
// far, and not while it glides on after the release.
TEST_F(DragPanelTest, WithoutBounceNoMarginEverShows) {
    struct Case {
        CCPoint from, to;
        int steps;
    } cases[] = {
        {CCPoint(300, 300), CCPoint(900, 300), 3},    {CCPoint(300, 300), CCPoint(-400, 300), 4},
        {CCPoint(300, 300), CCPoint(300, 1200), 2},   {CCPoint(300, 300), CCPoint(300, -900), 5},
        {CCPoint(450, 150), CCPoint(120, 480), 6},    {CCPoint(150, 450), CCPoint(480, 120), 3},
        {CCPoint(300, 300), CCPoint(-2000, 2000), 8}, {CCPoint(300, 300), CCPoint(280, 290), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "drag to " << c.to.x << "," << c.to.y);
        reset();
        touchDown(c.from.x, c.from.y);
        step();
        for (int i = 1; i <= c.steps; ++i) {
            CCPoint p = c.from + (c.to - c.from) * ((float)i / c.steps);
            touchMove(p.x, p.y);
            EXPECT_TRUE(covers());
            step();
            EXPECT_TRUE(covers());
        }
        touchUp(c.to.x, c.to.y);
        for (int f = 0; f < 40; ++f) {
            step();
            ASSERT_TRUE(covers()) << "frame " << f << " left " << left() << " bottom " << bottom();
        }
        EXPECT_FALSE(panel->isAutoMoving());
    }
}

// Without bounce, resting against an edge or a corner is reported while dragging and again when the
// glide ends there.
TEST_F(DragPanelTest, BerthKindsWithoutBounce) {
    struct Case {
        CCPoint delta;
        int kind;  // -1: none
    } cases[] = {
        {CCPoint(0, 1000), DragPanelEventBerthLeftBottom},
        {CCPoint(0, -1000), DragPanelEventBerthLeftTop},
        {CCPoint(-1000, 1000), DragPanelEventBerthRightBottom},
        {CCPoint(-1000, 0), DragPanelEventBerthRightTop},
        {CCPoint(0, 100), DragPanelEventBerthLeft},
        {CCPoint(-100, 0), DragPanelEventBerthTop},
        {CCPoint(-1000, 100), DragPanelEventBerthRight},
        {CCPoint(-100, 1000), DragPanelEventBerthBottom},
        {CCPoint(-100, 100), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        reset();
        touchDown(300, 300);
        step();
        touchMove(300 + c.delta.x, 300 + c.delta.y);
        if (c.kind < 0) {
            EXPECT_TRUE(log->events.empty());
        } else {
            EXPECT_EQ(std::vector<int>{c.kind}, log->events);
        }
        log->clear();
        // Released outside the panel: no glide, nothing more to report.
        touchUp(700, 700);
        advance(1.0);
        EXPECT_TRUE(log->events.empty());
        EXPECT_TRUE(covers());
    }
    // Released inside after a slide into the corner: the glide ends resting there.
    reset();
    touchDown(300, 300);
    step();
    touchMove(400, 480);  // held at the left edge, 20 short of the bottom one
    EXPECT_EQ(std::vector<int>{DragPanelEventBerthLeft}, log->events);
    step();
    touchUp(400, 480);
    ASSERT_TRUE(panel->isAutoMoving());
    log->clear();
    advance(1.0);
    EXPECT_FALSE(panel->isAutoMoving());
    EXPECT_EQ(std::vector<int>{DragPanelEventBerthLeftBottom}, log->events);
    EXPECT_EQ(DragPanelDirNone, panel->getBerthDirection());
}

// The glide after a release: the average movement per frame at 60 frames per second, spread over
// 0.5 s with an ease-out (the square root of the time fraction).
TEST_F(DragPanelTest, GlideMovesByTheAverageFrameMovementWithEaseOut) {
    panel->setInnerContainerSize(CCSize(1000, 1000));  // left 0, bottom -600
    touchDown(300, 300);
    step();
    step();
    step();
    touchMove(240, 330);
    step();
    touchUp(240, 330);  // four frames after the press
    ASSERT_TRUE(panel->isAutoMoving());
    EXPECT_EQ(DragPanelActionMove, panel->getActionKind());
    EXPECT_NEAR(-15.0f, panel->getMoveBy().x, 1e-3f);
    EXPECT_NEAR(7.5f, panel->getMoveBy().y, 1e-3f);
    CCPoint start = inner()->getPosition();
    EXPECT_EQ(CCPoint(-60, -570), start);
    step();  // the first step counts no time
    EXPECT_EQ(start, inner()->getPosition());
    advance(0.25);
    EXPECT_NEAR(start.x - 15.0f * std::sqrt(0.5f), inner()->getPosition().x, 1e-2f);
    EXPECT_NEAR(start.y + 7.5f * std::sqrt(0.5f), inner()->getPosition().y, 1e-2f);
    advance(0.25);
    if (panel->isAutoMoving()) step();  // float time may need one more frame to reach 0.5 s
    EXPECT_FALSE(panel->isAutoMoving());
    EXPECT_NEAR(start.x - 15.0f, inner()->getPosition().x, 1e-4f);
    EXPECT_NEAR(start.y + 7.5f, inner()->getPosition().y, 1e-4f);
    EXPECT_TRUE(log->events.empty());
}

// A release in the frame of its press has no slide time: no glide and no division by zero.
TEST_F(DragPanelTest, ReleaseInTheFrameOfThePressStartsNoGlide) {
    touchDown(300, 300);
    touchMove(250, 350);
    touchUp(250, 350);
    EXPECT_FALSE(panel->isAutoMoving());
    EXPECT_TRUE(finite());
    EXPECT_EQ(CCPoint(-50, -150), inner()->getPosition());
    advance(1.0);
    EXPECT_EQ(CCPoint(-50, -150), inner()->getPosition());
    EXPECT_TRUE(finite());

    // With bounce, content pulled past an edge still springs back.
    reset();
    panel->setBounceEnabled(true);
    touchDown(300, 300);
    touchMove(360, 300);
    touchUp(360, 300);
    EXPECT_TRUE(finite());
    EXPECT_EQ(DragPanelActionBounce, panel->getActionKind());
    advance(1.0);
    EXPECT_TRUE(covers());
    EXPECT_TRUE(finite());
    EXPECT_EQ(std::vector<int>{DragPanelEventBounceLeft}, log->events);
}

// With bounce the content may be pulled past the edges while the finger stays inside; after the
// release it springs back over 0.5 s and reports the edge or corner it returned to.
TEST_F(DragPanelTest, BounceSpringsBackAndReportsWhereItReturned) {
    struct Case {
        CCPoint from, to;
        int kind;
    } cases[] = {
        {CCPoint(300, 300), CCPoint(360, 300), DragPanelEventBounceLeft},
        {CCPoint(300, 300), CCPoint(300, 240), DragPanelEventBounceTop},
        {CCPoint(450, 300), CCPoint(200, 300), DragPanelEventBounceRight},
        {CCPoint(300, 150), CCPoint(300, 400), DragPanelEventBounceBottom},
        {CCPoint(300, 300), CCPoint(360, 240), DragPanelEventBounceLeftTop},
        {CCPoint(150, 150), CCPoint(210, 400), DragPanelEventBounceLeftBottom},
        {CCPoint(450, 450), CCPoint(200, 390), DragPanelEventBounceRightTop},
        {CCPoint(450, 150), CCPoint(200, 400), DragPanelEventBounceRightBottom},
    };
    panel->setBounceEnabled(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        reset();
        touchDown(c.from.x, c.from.y);
        step();
        for (int i = 1; i <= 5; ++i) {
            CCPoint p = c.from + (c.to - c.from) * (i / 5.0f);
            touchMove(p.x, p.y);
            step();
        }
        EXPECT_FALSE(covers());  // the margin shows while the finger holds the content
        touchUp(c.to.x, c.to.y);
        step();
        step();
        EXPECT_EQ(DragPanelActionBounce, panel->getActionKind());
        EXPECT_TRUE(log->events.empty());
        advance(0.5);
        if (panel->isAutoMoving()) step();
        EXPECT_FALSE(panel->isAutoMoving());
        EXPECT_TRUE(covers());
        EXPECT_EQ(std::vector<int>{c.kind}, log->events);
        // Back exactly on the edge it was pulled from.
        bool l = c.kind == DragPanelEventBounceLeft || c.kind == DragPanelEventBounceLeftTop ||
                 c.kind == DragPanelEventBounceLeftBottom;
        bool r = c.kind == DragPanelEventBounceRight || c.kind == DragPanelEventBounceRightTop ||
                 c.kind == DragPanelEventBounceRightBottom;
        bool b = c.kind == DragPanelEventBounceBottom || c.kind == DragPanelEventBounceLeftBottom ||
                 c.kind == DragPanelEventBounceRightBottom;
        bool t = c.kind == DragPanelEventBounceTop || c.kind == DragPanelEventBounceLeftTop ||
                 c.kind == DragPanelEventBounceRightTop;
        if (l) {
            EXPECT_NEAR(0.0f, left(), kTol);
        }
        if (r) {
            EXPECT_NEAR(400.0f, right(), kTol);
        }
        if (b) {
            EXPECT_NEAR(0.0f, bottom(), kTol);
        }
        if (t) {
            EXPECT_NEAR(400.0f, top(), kTol);
        }
        EXPECT_EQ(DragPanelDirNone, panel->getBounceDirection());
        advance(0.5);
        EXPECT_EQ(1u, log->events.size());
    }
}

// The bounce follows the same ease-out: halfway through the time, sqrt(0.5) of the way back.
TEST_F(DragPanelTest, BounceEasesOut) {
    panel->setBounceEnabled(true);
    touchDown(300, 300);
    touchMove(380, 300);
    touchUp(380, 300);  // same frame: no glide, the spring-back starts at once
    ASSERT_EQ(DragPanelActionBounce, panel->getActionKind());
    EXPECT_FLOAT_EQ(80.0f, left());
    step();
    advance(0.25);
    EXPECT_NEAR(80.0f - 80.0f * std::sqrt(0.5f), left(), 1e-2f);
    advance(0.3);
    EXPECT_NEAR(0.0f, left(), kTol);
}

// The finger leaving the panel lets go of content pulled past an edge: it springs back at once, and
// further moves of that touch are ignored.
TEST_F(DragPanelTest, BounceStartsWhenTheFingerLeavesThePanel) {
    panel->setBounceEnabled(true);
    touchDown(300, 300);
    step();
    touchMove(480, 300);
    EXPECT_FLOAT_EQ(180.0f, left());
    EXPECT_FALSE(panel->isBouncingBack());
    step();
    touchMove(560, 300);
    EXPECT_TRUE(panel->isBouncingBack());
    EXPECT_EQ(DragPanelActionBounce, panel->getActionKind());
    EXPECT_FLOAT_EQ(260.0f, left());
    touchMove(620, 280);
    EXPECT_FLOAT_EQ(260.0f, left());
    step();
    touchUp(620, 280);
    advance(0.6);
    EXPECT_TRUE(covers());
    EXPECT_NEAR(0.0f, left(), kTol);
    EXPECT_EQ(std::vector<int>{DragPanelEventBounceLeft}, log->events);
}

// A glide flung past an edge with bounce stops there and springs back.
TEST_F(DragPanelTest, GlidePastAnEdgeWithBounceSpringsBack) {
    panel->setBounceEnabled(true);
    touchDown(300, 300);
    step();
    touchMove(280, 300);
    step();
    touchMove(260, 300);
    touchUp(260, 300);  // -40 over two frames: a glide of -20
    ASSERT_EQ(DragPanelActionMove, panel->getActionKind());
    inner()->setPosition(CCPoint(-195, -200));  // close to the right edge
    advance(0.2);
    EXPECT_EQ(DragPanelActionBounce, panel->getActionKind());
    advance(0.6);
    EXPECT_NEAR(400.0f, right(), kTol);
    EXPECT_EQ(std::vector<int>{DragPanelEventBounceRight}, log->events);
}

TEST_F(DragPanelTest, PressStopsAGlideButNotABounce) {
    touchDown(300, 300);
    step();
    touchMove(250, 350);
    step();
    touchUp(250, 350);
    step();
    step();
    ASSERT_TRUE(panel->isAutoMoving());
    touchDown(300, 300);
    EXPECT_TRUE(panel->isPressed());
    EXPECT_FALSE(panel->isAutoMoving());
    CCPoint held = inner()->getPosition();
    step();
    step();
    EXPECT_EQ(held, inner()->getPosition());
    touchUp(300, 300);

    reset();
    panel->setBounceEnabled(true);
    touchDown(300, 300);
    touchMove(350, 300);
    touchUp(350, 300);
    ASSERT_EQ(DragPanelActionBounce, panel->getActionKind());
    step();
    step();
    touchDown(300, 300);
    EXPECT_FALSE(panel->isPressed());
    touchMove(200, 300);
    touchUp(200, 300);
    advance(0.6);
    EXPECT_NEAR(0.0f, left(), kTol);
    EXPECT_EQ(std::vector<int>{DragPanelEventBounceLeft}, log->events);
}

// A drag that begins on a child: within 5 units (straight-line) the child stays pressed and the
// content still; beyond, the child lets go and the content follows the finger.
TEST_F(DragPanelTest, DragFromAChildCancelsItsFocusBeyondFiveUnits) {
    UIWidget* button = UIWidget::create();
    button->setIgnoreSize(false);
    button->setSize(CCSize(100, 100));
    button->setTouchEnabled(true);
    button->setPosition(CCPoint(200, 400));  // world (300, 300)
    panel->addChild(button);
    RefPtr<WidgetEventLog> touches = WidgetEventLog::create();
    button->addTouchListener(touches, memberCallback(&WidgetEventLog::onTouch));
    touchDown(300, 300);
    ASSERT_TRUE(button->isFocused());
    step();
    touchMove(297, 304);  // 5 units away
    EXPECT_TRUE(button->isFocused());
    EXPECT_EQ(CCPoint(0, -200), inner()->getPosition());
    step();
    touchMove(296, 304);
    EXPECT_FALSE(button->isFocused());
    EXPECT_EQ(CCPoint(-4, -196), inner()->getPosition());
    step();
    touchUp(296, 304);
    EXPECT_EQ(0, touches->touchCount(TouchEnded));
    EXPECT_EQ(TouchCancelled, touches->touches.back());
    touches.reset();
}

// A zero length is replaced by the float epsilon: the move completes on its next step.
TEST_F(DragPanelTest, ZeroLengthMoveCompletesAtOnce) {
    panel->setBounceEnabled(true);
    panel->setBounceDuration(0.0f);
    touchDown(300, 300);
    touchMove(340, 300);
    touchUp(340, 300);
    ASSERT_EQ(DragPanelActionBounce, panel->getActionKind());
    EXPECT_EQ(FLT_EPSILON, panel->getMoveDuration());
    step();
    step();
    EXPECT_FALSE(panel->isAutoMoving());
    EXPECT_NEAR(0.0f, left(), kTol);
    EXPECT_EQ(std::vector<int>{DragPanelEventBounceLeft}, log->events);
    panel->setBounceEaseRate(0.0f);
    EXPECT_FLOAT_EQ(2.0f, panel->getBounceEaseRate());
}

}  // namespace
