#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/CCScale9Sprite.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/UISlider.h"
#include "WidgetEventLog.h"

using namespace pagly::engine;
using namespace pagly::gui;
using pagly::test::WidgetEventLog;

namespace {

CCSprite* sprite(CCNode* node) { return static_cast<CCSprite*>(node); }

// A slider 200 x 40 at (320, 480): its bar spans x 220..420. The progress image is 64 x 48.
class SliderTest : public pagly::test::GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        CCScene* scene = CCScene::create();
        layer = UILayer::create();
        scene->addChild(layer);
        slider = UISlider::create();
        slider->loadBarTexture("btn_normal.png");
        slider->loadProgressBarTexture("photo.png");
        slider->loadBallTextureNormal("panel_bg.png");
        slider->loadBallTexturePressed("nine.png");
        slider->loadBallTextureDisabled("btn_pressed.png");
        slider->setIgnoreSize(false);
        slider->setSize(CCSize(200, 40));
        slider->setTouchEnabled(true);
        slider->setPosition(CCPoint(320, 480));
        layer->getRootWidget()->addChild(slider);
        log = WidgetEventLog::create();
        slider->addEventListener(log, memberCallback(&WidgetEventLog::onEvent<SliderEventType>));
        run(scene);
    }
    void TearDown() override {
        log.reset();
        GuiTest::TearDown();
    }
    float ballX() { return slider->getBallNode()->getPosition().x; }
    float progressWidth() { return sprite(slider->getProgressNode())->getTextureRect().size.width; }

    UILayer* layer = nullptr;
    UISlider* slider = nullptr;
    RefPtr<WidgetEventLog> log;
};

TEST_F(SliderTest, NewSliderDefaults) {
    UISlider* fresh = UISlider::create();
    EXPECT_EQ("Slider", fresh->getDescription());
    EXPECT_EQ(0, fresh->getPercent());
    EXPECT_TRUE(fresh->isIgnoreSize());
    EXPECT_FALSE(fresh->isScale9Enabled());
    EXPECT_TRUE(fresh->getBallNormalNode()->isVisible());
    EXPECT_FALSE(fresh->getBallPressedNode()->isVisible());
    EXPECT_FALSE(fresh->getBallDisabledNode()->isVisible());
    EXPECT_EQ(CCPoint(0, 0.5f), fresh->getProgressNode()->getAnchorPoint());
    // With its own size the slider is as large as its bar.
    fresh->loadBarTexture("btn_normal.png");
    EXPECT_EQ(CCSize(100, 40), fresh->getSize());
    EXPECT_FLOAT_EQ(100.0f, fresh->getBarLength());
}

TEST_F(SliderTest, BarLengthIsTheWidthAndTheProgressStartsAtTheLeftEnd) {
    EXPECT_FLOAT_EQ(200.0f, slider->getBarLength());
    EXPECT_FLOAT_EQ(2.0f, slider->getBarNode()->getScaleX());
    EXPECT_EQ(CCSize(64, 48), slider->getProgressTextureSize());
    EXPECT_FLOAT_EQ(200.0f / 64.0f, slider->getProgressNode()->getScaleX());
    EXPECT_FLOAT_EQ(40.0f / 48.0f, slider->getProgressNode()->getScaleY());
    EXPECT_EQ(CCPoint(-100, 0), slider->getProgressNode()->getPosition());
}

// Touched at its left end 0, centre 50, right end 100; beyond either end clamped.
TEST_F(SliderTest, TouchSetsThePercentUnderTheFinger) {
    struct Case {
        float x;
        int percent;
    } cases[] = {{220, 0},  {320, 50}, {420, 100}, {100, 0},    {600, 100},
                 {270, 25}, {221, 0},  {419, 99},  {-1e30f, 0}, {1e30f, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        slider->setPercent(37);
        log->clear();
        // Touches beyond the bar reach it through a move that starts on it.
        touchDown(320, 480);
        touchMove(c.x, 480);
        touchUp(c.x, 480);
        EXPECT_EQ(c.percent, slider->getPercent());
        EXPECT_FLOAT_EQ(200.0f * c.percent / 100.0f - 100.0f, ballX());
        EXPECT_FLOAT_EQ(64.0f * c.percent / 100.0f, progressWidth());
        EXPECT_EQ((std::vector<int>{SliderEventPercentChanged, SliderEventPercentChanged}),
                  log->events);
    }
    for (const Case& c : cases) {
        if (c.x < 220 || c.x > 420) continue;
        touchDown(c.x, 480);
        EXPECT_EQ(c.percent, slider->getPercent());
        touchUp(c.x, 480);
    }
}

TEST_F(SliderTest, PressedBallShowsWhileTouched) {
    touchDown(320, 480);
    EXPECT_TRUE(slider->getBallPressedNode()->isVisible());
    EXPECT_FALSE(slider->getBallNormalNode()->isVisible());
    touchUp(320, 480);
    EXPECT_TRUE(slider->getBallNormalNode()->isVisible());
    slider->setBright(false);
    EXPECT_TRUE(slider->getBallDisabledNode()->isVisible());
    EXPECT_FALSE(slider->getBallNormalNode()->isVisible());
}

TEST_F(SliderTest, SetPercentClamps) {
    struct Case {
        int in, out;
    } cases[] = {{150, 100}, {-5, 0}, {0, 0}, {100, 100}, {42, 42}};
    for (const Case& c : cases) {
        slider->setPercent(c.in);
        EXPECT_EQ(c.out, slider->getPercent());
        EXPECT_FLOAT_EQ(2.0f * c.out - 100.0f, ballX());
    }
    EXPECT_TRUE(log->events.empty());  // only the finger reports
}

// A sheet frame's progress is cut from the frame's own place in the sheet.
TEST_F(SliderTest, SheetFrameProgressKeepsItsOrigin) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    slider->loadProgressBarTexture("small_button.png", TexturePlist);
    slider->setPercent(50);
    EXPECT_EQ(CCRect(2, 40, 10, 10), sprite(slider->getProgressNode())->getTextureRect());
    slider->loadProgressBarTexture("photo.png");
    EXPECT_EQ(CCRect(0, 0, 32, 48), sprite(slider->getProgressNode())->getTextureRect());
}

// A progress image that cannot be loaded leaves the old one whole, not the share it showed.
TEST_F(SliderTest, MissingProgressImageKeepsTheWholeOldOne) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    struct Case {
        bool scale9;
        const char* name;
        TextureResType type;
        CCRect whole;
    } cases[] = {
        {false, "photo.png", TextureLocal, CCRect(0, 0, 64, 48)},
        {false, "small_button.png", TexturePlist, CCRect(2, 40, 20, 10)},
        {true, "photo.png", TextureLocal, CCRect(0, 0, 64, 48)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        slider->setScale9Enabled(c.scale9);
        slider->loadProgressBarTexture(c.name, c.type);
        slider->setPercent(25);
        slider->loadProgressBarTexture("missing.png");
        EXPECT_EQ(c.whole.size, slider->getProgressTextureSize());
        slider->setPercent(50);
        if (c.scale9) continue;
        EXPECT_EQ(
            CCRect(c.whole.origin.x, c.whole.origin.y, c.whole.size.width / 2, c.whole.size.height),
            sprite(slider->getProgressNode())->getTextureRect());
    }
}

TEST_F(SliderTest, NineSliceBarAndProgressFollowTheSize) {
    slider->setScale9Enabled(true);
    ASSERT_TRUE(slider->isScale9Enabled());
    CCScale9Sprite* bar = dynamic_cast<CCScale9Sprite*>(slider->getBarNode());
    CCScale9Sprite* progress = dynamic_cast<CCScale9Sprite*>(slider->getProgressNode());
    ASSERT_TRUE(bar && progress);
    EXPECT_EQ(CCSize(200, 40), bar->getContentSize());
    slider->setPercent(25);
    EXPECT_EQ(CCSize(50, 48), progress->getPreferredSize());
    EXPECT_EQ(CCPoint(0, 0.5f), progress->getAnchorPoint());
    // New images keep the insets already set, and the sizes shown.
    slider->setCapInsets(CCRect(4, 4, 20, 20));
    slider->loadBarTexture("btn_normal.png");
    slider->loadProgressBarTexture("photo.png");
    EXPECT_TRUE(bar->getCapInsets().equals(CCRect(4, 4, 20, 20)));
    EXPECT_TRUE(progress->getCapInsets().equals(CCRect(4, 4, 20, 20)));
    EXPECT_EQ(CCSize(200, 40), bar->getContentSize());
    EXPECT_EQ(CCSize(50, 48), progress->getPreferredSize());
    slider->setIgnoreSize(true);  // refused in nine-slice mode
    EXPECT_FALSE(slider->isIgnoreSize());
    slider->setScale9Enabled(false);
    EXPECT_FALSE(slider->isIgnoreSize());  // as before the switch
    EXPECT_TRUE(dynamic_cast<CCSprite*>(slider->getBarNode()) != nullptr);
    EXPECT_FLOAT_EQ(16.0f, progressWidth());
}

// A bar without length (no image, own size) keeps its percent instead of dividing by zero.
TEST_F(SliderTest, SliderWithoutLengthKeepsItsPercent) {
    UISlider* bare = UISlider::create();
    bare->setTouchEnabled(true);
    bare->setPercent(30);
    bare->onTouchBegan(CCPoint(10, 10));
    EXPECT_EQ(30, bare->getPercent());
}

}  // namespace
