#include <gtest/gtest.h>

#include <cmath>

#include "WidgetEventLog.h"
#include "engine/base/RefPtr.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "GuiTestSupport.h"
#include "gui/UIButton.h"
#include "GuiTestSupport.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/UIScrollView.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

// A UI layer on stage with one scroll view of 200 x 400 at (100, 200) (its space therefore spans x
// 100..300, y 200..600 in the world).
class ScrollViewTest : public pagly::test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        view = UIScrollView::create();
        view->setSize(CCSize(200, 400));
        view->setPosition(CCPoint(100, 200));
        layer->getRootWidget()->addChild(view);
        log = WidgetEventLog::create();
        view->addEventListener(log, memberCallback(&WidgetEventLog::onEvent<ScrollViewEventType>));
        run(scene);
    }
    void TearDown() override {
        log.reset();
        GuiTest::TearDown();
    }

    Layout* inner() { return view->getInnerContainer(); }
    // A 100 x 40 button centred at a point of the content.
    UIButton* addButton(const CCPoint& at) {
        UIButton* button = UIButton::create();
        button->loadTextureNormal("btn_normal.png");
        button->loadTexturePressed("btn_pressed.png");
        button->setTouchEnabled(true);
        button->setPosition(at);
        view->addChild(button);
        return button;
    }

    UILayer* layer = nullptr;
    UIScrollView* view = nullptr;
    RefPtr<WidgetEventLog> log;
};

TEST_F(ScrollViewTest, NewViewScrollsVerticallyWithClippingAndTouch) {
    EXPECT_EQ("ScrollView", view->getDescription());
    EXPECT_EQ(ScrollViewDirVertical, view->getDirection());
    EXPECT_TRUE(view->isClippingEnabled());
    EXPECT_TRUE(view->isTouchEnabled());
    EXPECT_FALSE(inner()->isTouchEnabled());
    EXPECT_TRUE(view->isUpdateEnabled());
    EXPECT_FLOAT_EQ(600.0f, view->getAutoScrollDeceleration());
    EXPECT_FLOAT_EQ(5.0f, view->getChildFocusCancelOffset());
}

TEST_F(ScrollViewTest, ContentGoesIntoTheInnerContainerWhichStartsTopAligned) {
    UIWidget* child = UIWidget::create();
    EXPECT_TRUE(view->addChild(child));
    EXPECT_EQ(inner(), child->getParent());
    EXPECT_EQ(1u, view->getChildren()->count());
    view->setInnerContainerSize(CCSize(150, 1200));
    // Never narrower than the view; the top of the content meets the top of the view.
    EXPECT_EQ(CCSize(200, 1200), inner()->getSize());
    EXPECT_FLOAT_EQ(400.0f, inner()->getTopEdge());
    EXPECT_FLOAT_EQ(-800.0f, inner()->getBottomEdge());
    // A new view size re-fits the content by the same rule.
    view->setSize(CCSize(300, 500));
    EXPECT_EQ(CCSize(300, 1200), inner()->getSize());
    EXPECT_FLOAT_EQ(500.0f, inner()->getTopEdge());
    EXPECT_TRUE(view->removeChild(child));
    EXPECT_EQ(0u, view->getChildren()->count());
}

// Content shorter than the view is made as tall (or wide) as the view, so any drag stops at once
// with the reached-end event of the way it went.
TEST_F(ScrollViewTest, ShortContentStopsAtOnceWithTheReachedEndEvent) {
    struct Case {
        int direction;
        CCPoint finger;
        int event;
    } cases[] = {
        {ScrollViewDirVertical, CCPoint(0, 30), ScrollViewEventScrollToBottom},
        {ScrollViewDirVertical, CCPoint(0, -30), ScrollViewEventScrollToTop},
        {ScrollViewDirHorizontal, CCPoint(-30, 0), ScrollViewEventScrollToRight},
        {ScrollViewDirHorizontal, CCPoint(30, 0), ScrollViewEventScrollToLeft},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        view->setDirection(c.direction);
        view->setInnerContainerSize(CCSize(50, 100));
        ASSERT_EQ(CCSize(200, 400), inner()->getSize());
        CCPoint start = inner()->getPosition();
        log->clear();
        touchDown(200, 400);
        step();
        touchMove(200 + c.finger.x / 3, 400 + c.finger.y / 3);
        // The very first move already meets the end.
        EXPECT_EQ(std::vector<int>{c.event}, log->events);
        EXPECT_EQ(start, inner()->getPosition());
        step();
        touchMove(200 + c.finger.x, 400 + c.finger.y);
        touchUp(200 + c.finger.x, 400 + c.finger.y);
        advance(0.5);
        EXPECT_EQ(start, inner()->getPosition());
        EXPECT_FALSE(view->isAutoScrolling());
        for (int e : log->events) EXPECT_EQ(c.event, e);
    }
}

TEST_F(ScrollViewTest, DraggingFollowsTheFingerAndNeverPassesAnEnd) {
    view->setInnerContainerSize(CCSize(200, 1200));
    touchDown(200, 300);
    step();
    touchMove(200, 350);
    EXPECT_FLOAT_EQ(-750.0f, inner()->getBottomEdge());
    EXPECT_EQ(ScrollViewMoveUp, view->getMoveDirection());
    EXPECT_TRUE(log->events.empty());
    step();
    // Far past the bottom end: the content stops with its bottom on the view's bottom.
    touchMove(200, 1300);
    EXPECT_FLOAT_EQ(0.0f, inner()->getBottomEdge());
    EXPECT_TRUE(view->isBottomEnd());
    EXPECT_EQ(std::vector<int>{ScrollViewEventScrollToBottom}, log->events);
    step();
    touchMove(200, 1250);
    EXPECT_EQ(ScrollViewMoveDown, view->getMoveDirection());
    EXPECT_FLOAT_EQ(-50.0f, inner()->getBottomEdge());
    EXPECT_FALSE(view->isBottomEnd());
    // Back down past the top end.
    touchMove(200, 0);
    EXPECT_FLOAT_EQ(400.0f, inner()->getTopEdge());
    EXPECT_TRUE(view->isTopEnd());
    EXPECT_EQ(ScrollViewEventScrollToTop, log->events.back());
    touchUp(200, 0);
}

TEST_F(ScrollViewTest, LandingExactlyOnAnEndCountsAsReachingIt) {
    view->setInnerContainerSize(CCSize(200, 1200));
    touchDown(200, 300);
    step();
    touchMove(200, 1100);  // 800 up: the bottom lands exactly on the view's bottom
    EXPECT_FLOAT_EQ(0.0f, inner()->getBottomEdge());
    EXPECT_TRUE(view->isBottomEnd());
    EXPECT_EQ(std::vector<int>{ScrollViewEventScrollToBottom}, log->events);
    step();
    touchMove(200, 300);  // and back: the top lands exactly on the view's top
    EXPECT_FLOAT_EQ(400.0f, inner()->getTopEdge());
    EXPECT_TRUE(view->isTopEnd());
    EXPECT_EQ((std::vector<int>{ScrollViewEventScrollToBottom, ScrollViewEventScrollToTop}),
              log->events);
    touchUp(200, 300);
}

TEST_F(ScrollViewTest, HorizontalViewScrollsAlongX) {
    view->setDirection(ScrollViewDirHorizontal);
    view->setInnerContainerSize(CCSize(600, 100));
    EXPECT_FLOAT_EQ(0.0f, inner()->getLeftEdge());
    touchDown(250, 300);
    step();
    touchMove(150, 340);
    EXPECT_FLOAT_EQ(-100.0f, inner()->getLeftEdge());
    EXPECT_FLOAT_EQ(0.0f, inner()->getBottomEdge());
    EXPECT_EQ(ScrollViewMoveLeft, view->getMoveDirection());
    touchMove(-500, 340);
    EXPECT_FLOAT_EQ(200.0f, inner()->getRightEdge());
    EXPECT_EQ(std::vector<int>{ScrollViewEventScrollToRight}, log->events);
    touchUp(-500, 340);
}

// A document without "direction" gives 0: such a view scrolls nowhere.
TEST_F(ScrollViewTest, ViewWithoutDirectionScrollsNowhere) {
    view->setDirection(0);
    view->setInnerContainerSize(CCSize(600, 1200));
    CCPoint start = inner()->getPosition();
    drag(CCPoint(200, 300), CCPoint(120, 500));
    advance(1.0);
    EXPECT_EQ(start, inner()->getPosition());
    EXPECT_TRUE(log->events.empty());
}

// A drag that begins on a button inside the view: within 5 units along the axis the button stays
// pressed and the content still; beyond, the button lets go and the content follows the finger from
// where it touched; the release then tells the button TouchCancelled only.
TEST_F(ScrollViewTest, DragFromAButtonCancelsItsFocusBeyondFiveUnits) {
    view->setInnerContainerSize(CCSize(200, 1200));
    // Content y 905..945 shows at view y 105..145, world y 305..345 (x 150..250).
    UIButton* button = addButton(CCPoint(100, 925));
    ASSERT_EQ(CCSize(100, 40), button->getSize());
    RefPtr<WidgetEventLog> touches = WidgetEventLog::create();
    button->addTouchListener(touches, memberCallback(&WidgetEventLog::onTouch));
    float bottom = inner()->getBottomEdge();

    touchDown(200, 320);
    ASSERT_TRUE(button->isFocused());
    EXPECT_EQ(BrightHighlight, button->getBrightStyle());
    step();
    // Sideways travel does not count, and 5 units along the axis are still a press.
    for (CCPoint p : {CCPoint(230, 323), CCPoint(190, 325), CCPoint(200, 315)}) {
        touchMove(p.x, p.y);
        step();
        EXPECT_TRUE(button->isFocused());
        EXPECT_EQ(BrightHighlight, button->getBrightStyle());
        EXPECT_FLOAT_EQ(bottom, inner()->getBottomEdge());
    }
    touchMove(200, 328);
    EXPECT_FALSE(button->isFocused());
    EXPECT_EQ(BrightNormal, button->getBrightStyle());
    EXPECT_FLOAT_EQ(bottom + 8.0f, inner()->getBottomEdge());
    step();
    touchMove(200, 340);
    EXPECT_FALSE(button->isFocused());
    EXPECT_FLOAT_EQ(bottom + 20.0f, inner()->getBottomEdge());
    touchUp(200, 340);
    EXPECT_EQ(0, touches->touchCount(TouchEnded));
    EXPECT_EQ(1, touches->touchCount(TouchCancelled));
    EXPECT_EQ(TouchBegan, touches->touches.front());
    EXPECT_EQ(TouchCancelled, touches->touches.back());
    touches.reset();
}

TEST_F(ScrollViewTest, TapOnAButtonInsideStillClicks) {
    view->setInnerContainerSize(CCSize(200, 1200));
    UIButton* button = addButton(CCPoint(100, 925));
    RefPtr<WidgetEventLog> touches = WidgetEventLog::create();
    button->addTouchListener(touches, memberCallback(&WidgetEventLog::onTouch));
    float bottom = inner()->getBottomEdge();
    touchDown(200, 320);
    step();
    touchMove(200, 324);
    step();
    touchUp(200, 324);
    EXPECT_EQ((std::vector<int>{TouchBegan, TouchMoved, TouchEnded}), touches->touches);
    advance(0.5);
    EXPECT_FLOAT_EQ(bottom, inner()->getBottomEdge());
    touches.reset();
}

// Flick up by 100 units over two frames: 3000 units/s, far more than the 700 units left to the
// bottom end. The speed drops by 600 units/s each second (10 per frame) and the content stops
// exactly at the end, with one event.
TEST_F(ScrollViewTest, FlingDeceleratesAndStopsExactlyAtTheEnd) {
    view->setInnerContainerSize(CCSize(200, 1200));
    touchDown(200, 300);
    step();
    touchMove(200, 400);
    step();
    touchUp(200, 400);
    ASSERT_TRUE(view->isAutoScrolling());
    EXPECT_NEAR(3000.0f, view->getAutoScrollSpeed(), 0.5f);
    EXPECT_FLOAT_EQ(-700.0f, inner()->getBottomEdge());

    float speed = view->getAutoScrollSpeed();
    float bottom = inner()->getBottomEdge();
    int frames = 0;
    while (view->isAutoScrolling() && frames < 600) {
        step();
        ++frames;
        if (!view->isAutoScrolling()) break;
        EXPECT_NEAR(speed - 10.0f, view->getAutoScrollSpeed(), 1e-2f);
        EXPECT_NEAR(bottom + view->getAutoScrollSpeed() / 60.0f, inner()->getBottomEdge(), 1e-2f);
        speed = view->getAutoScrollSpeed();
        bottom = inner()->getBottomEdge();
    }
    EXPECT_FALSE(view->isAutoScrolling());
    EXPECT_FLOAT_EQ(0.0f, view->getAutoScrollSpeed());
    EXPECT_EQ(0.0f, inner()->getBottomEdge());
    EXPECT_TRUE(view->isBottomEnd());
    EXPECT_EQ(std::vector<int>{ScrollViewEventScrollToBottom}, log->events);
    advance(0.5);
    EXPECT_EQ(0.0f, inner()->getBottomEdge());
    EXPECT_EQ(1u, log->events.size());
}

// A slow flick (10 units over two frames = 300 units/s) runs out of speed on its own after 30
// frames, having glided sum((300 - 10k) / 60, k = 1..29) = 72.5 units.
TEST_F(ScrollViewTest, SlowFlingRunsOutOfSpeed) {
    view->setInnerContainerSize(CCSize(200, 1200));
    touchDown(200, 300);
    step();
    touchMove(200, 290);
    step();
    touchUp(200, 290);
    ASSERT_TRUE(view->isAutoScrolling());
    EXPECT_EQ(ScrollViewMoveDown, view->getMoveDirection());
    // Downwards from the top end: the drag already met it, and the inertia stops at once.
    EXPECT_EQ(std::vector<int>{ScrollViewEventScrollToTop}, log->events);
    log->clear();
    step();
    EXPECT_FALSE(view->isAutoScrolling());
    EXPECT_EQ(std::vector<int>{ScrollViewEventScrollToTop}, log->events);

    log->clear();
    touchDown(200, 300);
    step();
    touchMove(200, 310);
    step();
    touchUp(200, 310);
    float bottom = inner()->getBottomEdge();
    advance(29.0 / 60.0);
    EXPECT_TRUE(view->isAutoScrolling());
    step();
    EXPECT_FALSE(view->isAutoScrolling());
    EXPECT_NEAR(bottom + 72.5f, inner()->getBottomEdge(), 0.01f);
    advance(0.5);
    EXPECT_NEAR(bottom + 72.5f, inner()->getBottomEdge(), 0.01f);
    EXPECT_TRUE(log->events.empty());
}

// A release at most 0.016 s after its press is a tap: no inertia. One 1/60 s frame is more.
TEST_F(ScrollViewTest, ReleaseWithin16MillisecondsStartsNoInertia) {
    struct Case {
        float frame;  // the one frame between press and release; 0 = none
        bool inertia;
    } cases[] = {{0.0f, false}, {0.010f, false}, {0.016f, false}, {1.0f / 60.0f, true}};
    view->setInnerContainerSize(CCSize(200, 1200));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        touchDown(200, 300);
        if (c.frame > 0) CCDirector::sharedDirector()->mainLoop(c.frame);
        touchMove(200, 340);
        touchUp(200, 340);
        EXPECT_EQ(c.inertia, view->isAutoScrolling());
        EXPECT_FALSE(view->isPressed());
        float bottom = inner()->getBottomEdge();
        step();
        if (c.inertia) {
            EXPECT_GT(inner()->getBottomEdge(), bottom);
        } else {
            EXPECT_EQ(bottom, inner()->getBottomEdge());
        }
        advance(2.0);
        EXPECT_FALSE(view->isAutoScrolling());
        view->setInnerContainerSize(CCSize(200, 1200));
    }
}

TEST_F(ScrollViewTest, NewPressStopsInertiaAtOnce) {
    view->setInnerContainerSize(CCSize(200, 1200));
    touchDown(200, 300);
    step();
    touchMove(200, 330);
    step();
    touchUp(200, 330);
    step();
    ASSERT_TRUE(view->isAutoScrolling());
    touchDown(200, 300);
    EXPECT_FALSE(view->isAutoScrolling());
    EXPECT_FLOAT_EQ(0.0f, view->getAutoScrollSpeed());
    float bottom = inner()->getBottomEdge();
    step();
    step();
    EXPECT_EQ(bottom, inner()->getBottomEdge());
    touchUp(200, 300);
}

// A listener may take the view off the tree when the end is reached.
class RemovingListener : public CCObject {
  public:
    void onScroll(CCObject* sender, ScrollViewEventType) {
        static_cast<UIWidget*>(sender)->removeFromParent();
        ++calls;
    }
    int calls = 0;
};

TEST_F(ScrollViewTest, ListenerMayRemoveTheViewDuringInertia) {
    view->setInnerContainerSize(CCSize(200, 1200));
    RemovingListener remover;
    view->addEventListener(&remover, memberCallback(&RemovingListener::onScroll));
    touchDown(200, 300);
    step();
    touchMove(200, 500);
    step();
    touchUp(200, 500);
    advance(2.0);
    EXPECT_EQ(1, remover.calls);
    EXPECT_EQ(0u, layer->getRootWidget()->getChildren()->count());
}

}  // namespace
