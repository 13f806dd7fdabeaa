#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "gui/UICheckBox.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "WidgetEventLog.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

// A check box at (320, 480) in a UI layer; its box image is 100 x 40, so it spans x 270..370 and y
// 460..500.
class CheckBoxTest : public pagly::test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        box = UICheckBox::create();
        box->loadTextures("btn_normal.png", "btn_pressed.png", "nine.png", "photo.png",
                          "panel_bg.png");
        box->setTouchEnabled(true);
        box->setPosition(CCPoint(320, 480));
        layer->getRootWidget()->addChild(box);
        log = WidgetEventLog::create();
        box->addTouchListener(log, memberCallback(&WidgetEventLog::onTouch));
        box->addEventListener(log, memberCallback(&WidgetEventLog::onEvent<CheckBoxEventType>));
        run(scene);
    }
    void TearDown() override {
        log.reset();
        GuiTest::TearDown();
    }
    // Which of the five images show: box, box pressed, cross, box disabled, cross disabled.
    std::string shown() {
        std::string s;
        for (CCSprite* n :
             {box->getBackGroundNode(), box->getBackGroundSelectedNode(), box->getFrontCrossNode(),
              box->getBackGroundDisabledNode(), box->getFrontCrossDisabledNode()}) {
            s += n->isVisible() ? "1" : "0";
        }
        return s;
    }

    UILayer* layer = nullptr;
    UICheckBox* box = nullptr;
    RefPtr<WidgetEventLog> log;
};

TEST_F(CheckBoxTest, NewCheckBoxIsUnselectedAndAsLargeAsItsBox) {
    UICheckBox* fresh = UICheckBox::create();
    EXPECT_FALSE(fresh->isSelected());
    EXPECT_FALSE(fresh->getFrontCrossNode()->isVisible());
    EXPECT_EQ("CheckBox", fresh->getDescription());
    EXPECT_FALSE(box->isSelected());
    EXPECT_EQ("10000", shown());
    EXPECT_EQ(CCSize(100, 40), box->getSize());
    EXPECT_EQ(CCSize(100, 40), box->getContentSize());
}

// A click inside selects (kind 0), the next unselects (kind 1); the touch listener hears a click
// each time.
TEST_F(CheckBoxTest, ClicksInsideToggleAndReportTheNewState) {
    tap(320, 480);
    EXPECT_TRUE(box->isSelected());
    EXPECT_EQ("10100", shown());
    EXPECT_EQ(std::vector<int>{CheckBoxEventSelected}, log->events);
    tap(300, 470);
    EXPECT_FALSE(box->isSelected());
    EXPECT_EQ("10000", shown());
    EXPECT_EQ((std::vector<int>{CheckBoxEventSelected, CheckBoxEventUnselected}), log->events);
    EXPECT_EQ((std::vector<int>{TouchBegan, TouchEnded, TouchBegan, TouchEnded}), log->touches);
    EXPECT_FALSE(box->isFocused());
}

// Pressed and released outside: nothing changes and neither listener hears of the release.
TEST_F(CheckBoxTest, ReleaseOutsideChangesNothing) {
    touchDown(320, 480);
    EXPECT_EQ("01000", shown());  // the pressed box
    step();
    touchMove(500, 480);
    EXPECT_EQ("10000", shown());
    step();
    touchUp(500, 480);
    EXPECT_FALSE(box->isSelected());
    EXPECT_TRUE(log->events.empty());
    EXPECT_EQ((std::vector<int>{TouchBegan, TouchMoved}), log->touches);

    // The same for a selected box.
    tap(320, 480);
    log->clear();
    touchDown(320, 480);
    touchMove(320, 600);
    touchUp(320, 600);
    EXPECT_TRUE(box->isSelected());
    EXPECT_EQ("10100", shown());
    EXPECT_TRUE(log->events.empty());
    EXPECT_EQ((std::vector<int>{TouchBegan, TouchMoved}), log->touches);
}

// The five images by look and state. A selected box shows its check mark again once it is bright
// again after the disabled look.
TEST_F(CheckBoxTest, LooksShowTheRightImages) {
    struct Case {
        bool selected;
        const char* normal;
        const char* pressed;
        const char* disabled;
    } cases[] = {
        {false, "10000", "01000", "00010"},
        {true, "10100", "01100", "00011"},
    };
    for (const Case& c : cases) {
        box->setSelectedState(c.selected);
        box->setBright(true);
        EXPECT_EQ(c.normal, shown());
        box->setFocus(true);
        EXPECT_EQ(c.pressed, shown());
        box->setFocus(false);
        box->setBright(false);
        EXPECT_EQ(c.disabled, shown());
        box->setFocus(true);  // still the disabled look
        EXPECT_EQ(c.disabled, shown());
        box->setFocus(false);
        box->setBright(true);
        EXPECT_EQ(c.normal, shown());
    }
}

TEST_F(CheckBoxTest, CustomSizeStretchesAllFiveImages) {
    box->setIgnoreSize(false);
    box->setSize(CCSize(200, 80));
    EXPECT_FLOAT_EQ(2.0f, box->getBackGroundNode()->getScaleX());
    EXPECT_FLOAT_EQ(2.0f, box->getBackGroundNode()->getScaleY());
    EXPECT_FLOAT_EQ(4.0f, box->getBackGroundSelectedNode()->getScaleX());  // 50 x 20
    EXPECT_FLOAT_EQ(200.0f / 30.0f, box->getFrontCrossNode()->getScaleX());
    EXPECT_FLOAT_EQ(80.0f / 30.0f, box->getFrontCrossNode()->getScaleY());
    box->setIgnoreSize(true);
    EXPECT_EQ(CCSize(100, 40), box->getSize());
    EXPECT_FLOAT_EQ(1.0f, box->getFrontCrossNode()->getScaleX());
}

TEST_F(CheckBoxTest, AnchorAndFlipReachAllFiveImages) {
    box->setAnchorPoint(CCPoint(0, 1));
    box->setFlipX(true);
    box->setFlipY(true);
    for (CCSprite* n :
         {box->getBackGroundNode(), box->getBackGroundSelectedNode(), box->getFrontCrossNode(),
          box->getBackGroundDisabledNode(), box->getFrontCrossDisabledNode()}) {
        EXPECT_EQ(CCPoint(0, 1), n->getAnchorPoint());
        EXPECT_TRUE(n->isFlipX());
        EXPECT_TRUE(n->isFlipY());
    }
    EXPECT_TRUE(box->isFlipX());
    EXPECT_TRUE(box->isFlipY());
    // An empty name changes nothing; a reload keeps the anchor.
    box->loadTextureFrontCross("");
    box->loadTextureBackGround("panel_bg.png");
    EXPECT_EQ(CCPoint(0, 1), box->getBackGroundNode()->getAnchorPoint());
    EXPECT_EQ(CCSize(40, 40), box->getSize());
}

// A listener may remove the box when it changes.
class RemovingListener : public CCObject {
  public:
    void onSelect(CCObject* sender, CheckBoxEventType) {
        static_cast<UIWidget*>(sender)->removeFromParent();
        ++calls;
    }
    int calls = 0;
};

TEST_F(CheckBoxTest, ListenerMayRemoveTheBox) {
    RemovingListener remover;
    box->addEventListener(&remover, memberCallback(&RemovingListener::onSelect));
    tap(320, 480);
    EXPECT_EQ(1, remover.calls);
    EXPECT_EQ(0u, layer->getRootWidget()->getChildren()->count());
}

}  // namespace
