#include <gtest/gtest.h>

#include "WidgetEventLog.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCScene.h"
#include "gui/UILayer.h"
#include "gui/UIPageView.h"
#include "gui/UIRootWidget.h"
#include "support/Harness.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

// A touch-enabled page view of 300 x 300 at (100, 100) holding two plain children, one of which
// takes touches.
class PageViewTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        view = UIPageView::create();
        view->setSize(CCSize(300, 300));
        view->setPosition(CCPoint(100, 100));
        view->setTouchEnabled(true);
        layer->getRootWidget()->addChild(view);
        button = UIWidget::create();
        button->setIgnoreSize(false);
        button->setSize(CCSize(100, 100));
        button->setTouchEnabled(true);
        button->setPosition(CCPoint(100, 100));
        view->addChild(button);
        picture = UIWidget::create();
        picture->setPosition(CCPoint(220, 220));
        view->addChild(picture);
        log = WidgetEventLog::create();
        run(scene);
    }
    void TearDown() override {
        log.reset();
        EngineTest::TearDown();
    }

    UILayer* layer = nullptr;
    UIPageView* view = nullptr;
    UIWidget* button = nullptr;
    UIWidget* picture = nullptr;
    RefPtr<WidgetEventLog> log;
};

TEST_F(PageViewTest, NewPageViewClipsAndHasNoPages) {
    EXPECT_EQ("PageView", view->getDescription());
    EXPECT_TRUE(view->isClippingEnabled());
    EXPECT_TRUE(view->isUpdateEnabled());
    EXPECT_EQ(0u, view->getPages()->count());
    EXPECT_EQ(0, view->getCurPageIndex());
    EXPECT_EQ(2u, view->getChildren()->count());
    EXPECT_EQ(view, button->getParent());
}

// Its drags move none of its children, whether they begin on the view or on a child.
TEST_F(PageViewTest, DragsMoveNoneOfItsChildren) {
    struct Case {
        CCPoint from, to;
    } cases[] = {
        {CCPoint(350, 350), CCPoint(150, 330)},  // on the view itself
        {CCPoint(200, 200), CCPoint(380, 210)},  // from the child that takes touches
        {CCPoint(200, 200), CCPoint(120, 190)},
    };
    for (const Case& c : cases) {
        drag(c.from, c.to, 6);
        advance(0.5);
        EXPECT_EQ(CCPoint(100, 100), button->getPosition());
        EXPECT_EQ(CCPoint(220, 220), picture->getPosition());
        EXPECT_EQ(CCPoint(100, 100), view->getPosition());
    }
}

TEST_F(PageViewTest, ChildLosesFocusBeyondFiveUnitsAlongX) {
    button->addTouchListener(log, memberCallback(&WidgetEventLog::onTouch));
    touchDown(200, 200);
    step();
    touchMove(205, 230);  // 5 along x, 30 along y: still pressed
    EXPECT_TRUE(button->isFocused());
    touchMove(206, 200);
    EXPECT_FALSE(button->isFocused());
    EXPECT_EQ(BrightNormal, button->getBrightStyle());
    touchUp(206, 200);
    EXPECT_EQ(0, log->touchCount(TouchEnded));
    EXPECT_EQ(TouchCancelled, log->touches.back());
}

// A touch on the view ends as soon as the finger leaves it; the real release ends it again.
TEST_F(PageViewTest, TouchEndsWhenTheFingerLeavesTheView) {
    view->addTouchListener(log, memberCallback(&WidgetEventLog::onTouch));
    touchDown(350, 350);
    EXPECT_TRUE(view->isFocused());
    touchMove(390, 350);
    EXPECT_TRUE(view->isFocused());
    EXPECT_EQ((std::vector<int>{TouchBegan, TouchMoved}), log->touches);
    touchMove(420, 350);
    EXPECT_FALSE(view->isFocused());
    EXPECT_EQ((std::vector<int>{TouchBegan, TouchMoved, TouchMoved, TouchCancelled}), log->touches);
    touchUp(420, 350);
    EXPECT_EQ(0, log->touchCount(TouchEnded));
    EXPECT_EQ(TouchCancelled, log->touches.back());
}

// Documents attach plain children, never pages; removing one still works.
TEST_F(PageViewTest, PlainChildrenCanBeRemoved) {
    RefPtr<UIWidget> keep(button);
    EXPECT_TRUE(view->removeChild(button));
    EXPECT_EQ(nullptr, button->getParent());
    EXPECT_EQ(1u, view->getChildren()->count());
    EXPECT_FALSE(view->removeChild(button));
    view->removeAllChildren();
    EXPECT_EQ(0u, view->getChildren()->count());
}

}  // namespace
