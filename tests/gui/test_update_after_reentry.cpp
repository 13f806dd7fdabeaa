#include <gtest/gtest.h>

#include <functional>

#include "GuiTestSupport.h"
#include "WidgetEventLog.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCScene.h"
#include "gui/UIDragPanel.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/UIScrollView.h"
#include "gui/UITextField.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

// Widgets that work frame by frame (inertia, glides, text-field events) taken off the tree and put
// back: removing a widget stops its per-frame update, so it must come back with the widge
class UpdateAfterReentryTest : public pagly::test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        run(scene);
    }
    // Puts the widget on the tree, takes it off and puts it back.
    void addRemoveAdd(UIWidget* widget) {
        RefPtr<UIWidget> keep(widget);
        UIWidget* root = layer->getRootWidget();
        ASSERT_TRUE(root->addChild(widget));
        step();
        ASSERT_TRUE(root->removeChild(widget));
        step();
        ASSERT_TRUE(root->addChild(widget));
    }
    UILayer* layer = nullptr;
};

TEST_F(UpdateAfterReentryTest, FrameByFrameBehaviourSurvivesRemoval) {
    struct Case {
        const char* name;
        std::function<bool()> works;
    } cases[] = {
        {"scroll view flick glides on",
         [this] {
             UIScrollView* view = UIScrollView::create();
             view->setSize(CCSize(200, 400));
             view->setPosition(CCPoint(100, 200));
             view->setInnerContainerSize(CCSize(200, 1200));
             addRemoveAdd(view);
             touchDown(200, 300);
             step();
             touchMove(200, 330);
             step();
             touchUp(200, 330);
             float bottom = view->getInnerContainer()->getBottomEdge();
             step();
             return view->getInnerContainer()->getBottomEdge() > bottom;
         }},
        {"drag panel release glides on",
         [this] {
             UIDragPanel* panel = UIDragPanel::create();
             panel->setSize(CCSize(400, 400));
             panel->setPosition(CCPoint(100, 100));
             panel->setInnerContainerSize(CCSize(600, 600));
             addRemoveAdd(panel);
             touchDown(300, 300);
             step();
             touchMove(280, 320);
             step();
             touchUp(280, 320);
             CCPoint at = panel->getInnerContainer()->getPosition();
             advance(0.25);
             return panel->isAutoMoving() && !(panel->getInnerContainer()->getPosition() == at);
         }},
        {"text field reports the attach",
         [this] {
             UITextField* field = UITextField::create();
             field->setTouchEnabled(true);
             field->setPosition(CCPoint(320, 480));
             RefPtr<WidgetEventLog> log(WidgetEventLog::create());
             field->addEventListener(log.get(),
                                     memberCallback(&WidgetEventLog::onEvent<TextFieldEventType>));
             addRemoveAdd(field);
             touchDown(320, 480);
             touchUp(320, 480);
             step();
             field->releaseKeyboard();
             step();
             return log->events ==
                    std::vector<int>{TextFieldEventAttachWithIME, TextFieldEventDetachWithIME};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.works());
        layer->getRootWidget()->removeAllChildren();
    }
}

// A view taken off the tree while its content glides does not glide on when it is put back: the
// content starts at the top again and stays there.
TEST_F(UpdateAfterReentryTest, ScrollViewPutBackDoesNotResumeAnOldFlick) {
    RefPtr<UIScrollView> view(UIScrollView::create());
    view->setSize(CCSize(200, 400));
    view->setPosition(CCPoint(100, 200));
    view->setInnerContainerSize(CCSize(200, 1200));
    UIWidget* root = layer->getRootWidget();
    root->addChild(view.get());
    touchDown(200, 300);
    step();
    touchMove(200, 330);
    step();
    touchUp(200, 330);
    step();
    ASSERT_TRUE(view->isAutoScrolling());
    root->removeChild(view.get());
    EXPECT_FALSE(view->isAutoScrolling());
    root->addChild(view.get());
    CCPoint start = view->getInnerContainer()->getPosition();
    advance(0.5);
    EXPECT_EQ(start, view->getInnerContainer()->getPosition());
}

}  // namespace
