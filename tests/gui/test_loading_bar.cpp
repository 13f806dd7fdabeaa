#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/CCScale9Sprite.h"
#include "gui/UILayer.h"
#include "gui/UILoadingBar.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

CCSprite* sprite(CCNode* node) { return static_cast<CCSprite*>(node); }

// Bars over nine.png: a 30 x 30 image in three columns of 10 (left: red, yellow, orange from the
// top; middle: green, magenta, purple; right: blue, cyan, grey).
class LoadingBarTest : public pagly::test::GuiTest {
  protected:
    UILoadingBar* nineBar() {
        UILoadingBar* bar = UILoadingBar::create();
        bar->loadTexture("nine.png");
        return bar;
    }
};

TEST_F(LoadingBarTest, NewBarIsFullAndFillsFromTheLeft) {
    UILoadingBar* bar = UILoadingBar::create();
    EXPECT_EQ("LoadingBar", bar->getDescription());
    EXPECT_EQ(100, bar->getPercent());
    EXPECT_EQ(LoadingBarTypeLeft, bar->getDirection());
    EXPECT_EQ(CCPoint(0, 0.5f), bar->getRenderNode()->getAnchorPoint());
    bar->loadTexture("nine.png");
    EXPECT_EQ(CCSize(30, 30), bar->getSize());
    EXPECT_EQ(CCSize(30, 30), bar->getContentSize());
    EXPECT_FLOAT_EQ(30.0f, bar->getTotalLength());
    EXPECT_EQ(CCPoint(-15, 0), bar->getRenderNode()->getPosition());
    EXPECT_EQ(CCRect(0, 0, 30, 30), sprite(bar->getRenderNode())->getTextureRect());
}

// Out of range values are ignored (the old value stays); so is any value while the bar has no
// length yet.
TEST_F(LoadingBarTest, PercentOutsideTheRangeIsIgnored) {
    UILoadingBar* bar = nineBar();
    struct Case {
        int in, out;
    } cases[] = {{25, 25}, {150, 25}, {-1, 25}, {101, 25}, {0, 0}, {100, 100}, {60, 60}};
    for (const Case& c : cases) {
        bar->setPercent(c.in);
        EXPECT_EQ(c.out, bar->getPercent());
        EXPECT_FLOAT_EQ(30.0f * c.out / 100.0f,
                        sprite(bar->getRenderNode())->getTextureRect().size.width);
    }
    UILoadingBar* empty = UILoadingBar::create();
    empty->setPercent(40);
    EXPECT_EQ(100, empty->getPercent());
}

TEST_F(LoadingBarTest, DirectionOneIsAnchoredRightAndMirrored) {
    UILoadingBar* bar = nineBar();
    bar->setPercent(25);
    bar->setDirection(LoadingBarTypeRight);
    CCSprite* node = sprite(bar->getRenderNode());
    EXPECT_EQ(CCPoint(1, 0.5f), node->getAnchorPoint());
    EXPECT_EQ(CCPoint(15, 0), node->getPosition());
    EXPECT_TRUE(node->isFlipX());
    // Still the left quarter of the image, mirrored.
    EXPECT_EQ(CCRect(0, 0, 7.5f, 30), node->getTextureRect());
    bar->setDirection(7);  // neither: refused
    EXPECT_EQ(LoadingBarTypeRight, bar->getDirection());
    EXPECT_EQ(1u, logLines().size());
    // A new image keeps the direction's anchor and mirror, and the percent.
    bar->loadTexture("photo.png");
    EXPECT_EQ(CCPoint(1, 0.5f), node->getAnchorPoint());
    EXPECT_TRUE(node->isFlipX());
    EXPECT_EQ(CCRect(0, 0, 16, 48), node->getTextureRect());
    EXPECT_EQ(CCPoint(32, 0), node->getPosition());
    bar->setDirection(LoadingBarTypeLeft);
    EXPECT_EQ(CCPoint(0, 0.5f), node->getAnchorPoint());
    EXPECT_EQ(CCPoint(-32, 0), node->getPosition());
    EXPECT_FALSE(node->isFlipX());
}

// With its own size the whole image is stretched to the bar, so a partial bar stays partial
// whatever the order of the calls.
TEST_F(LoadingBarTest, CustomSizeScalesAgainstTheWholeImage) {
    UILoadingBar* bar = nineBar();
    bar->setPercent(50);
    bar->setIgnoreSize(false);
    bar->setSize(CCSize(300, 60));
    EXPECT_FLOAT_EQ(300.0f, bar->getTotalLength());
    EXPECT_FLOAT_EQ(10.0f, bar->getRenderNode()->getScaleX());
    EXPECT_FLOAT_EQ(2.0f, bar->getRenderNode()->getScaleY());
    EXPECT_EQ(CCPoint(-150, 0), bar->getRenderNode()->getPosition());
    EXPECT_EQ(CCRect(0, 0, 15, 30), sprite(bar->getRenderNode())->getTextureRect());
}

TEST_F(LoadingBarTest, SheetFrameKeepsItsOrigin) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    UILoadingBar* bar = UILoadingBar::create();
    bar->loadTexture("nine_frame.png", TexturePlist);
    bar->setPercent(50);
    EXPECT_EQ(CCRect(2, 2, 15, 30), sprite(bar->getRenderNode())->getTextureRect());
}

// An image that cannot be loaded leaves the bar as it was: the whole of the old image, not only the
// share it showed, and cut from the old image's place in its sheet.
TEST_F(LoadingBarTest, MissingImageKeepsTheWholeOldOne) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    struct Case {
        bool scale9;
        const char* name;
        TextureResType type;
        CCRect whole;  // the old image's place and size
    } cases[] = {
        {false, "nine.png", TextureLocal, CCRect(0, 0, 30, 30)},
        {false, "nine_frame.png", TexturePlist, CCRect(2, 2, 30, 30)},
        {true, "nine.png", TextureLocal, CCRect(0, 0, 30, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UILoadingBar* bar = UILoadingBar::create();
        if (c.scale9) bar->setScale9Enabled(true);
        bar->loadTexture(c.name, c.type);
        bar->setPercent(25);
        bar->loadTexture("missing.png");
        EXPECT_EQ(c.whole.size, bar->getBarTextureSize());
        bar->setPercent(50);
        if (c.scale9) continue;
        EXPECT_EQ(c.whole.size, bar->getSize());
        EXPECT_EQ(
            CCRect(c.whole.origin.x, c.whole.origin.y, c.whole.size.width / 2, c.whole.size.height),
            sprite(bar->getRenderNode())->getTextureRect());
    }
}

TEST_F(LoadingBarTest, NineSliceBarSetsItsPreferredWidth) {
    UILoadingBar* bar = nineBar();
    bar->setScale9Enabled(true);
    bar->setCapInsets(CCRect(10, 10, 10, 10));
    bar->setSize(CCSize(200, 30));
    EXPECT_FALSE(bar->isIgnoreSize());
    bar->setPercent(40);
    CCScale9Sprite* node = dynamic_cast<CCScale9Sprite*>(bar->getRenderNode());
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(CCSize(80, 30), node->getPreferredSize());
    EXPECT_EQ(CCPoint(0, 0.5f), node->getAnchorPoint());
    bar->loadTexture("nine.png");  // a new image keeps the insets and the share shown
    EXPECT_TRUE(node->getCapInsets().equals(CCRect(10, 10, 10, 10)));
    EXPECT_EQ(CCSize(80, 30), node->getPreferredSize());
    bar->setIgnoreSize(true);  // refused in nine-slice mode
    EXPECT_FALSE(bar->isIgnoreSize());
    bar->setDirection(LoadingBarTypeRight);
    EXPECT_EQ(CCPoint(1, 0.5f), node->getAnchorPoint());
    EXPECT_EQ(CCPoint(100, 0), node->getPosition());
    bar->setScale9Enabled(false);
    EXPECT_TRUE(bar->isIgnoreSize());
    EXPECT_TRUE(sprite(bar->getRenderNode())->isFlipX());
    EXPECT_EQ(CCRect(0, 0, 12, 30), sprite(bar->getRenderNode())->getTextureRect());
}

// On screen: a bar of 300 x 30 at (320, 480), half full. From the left it covers x 170..320; from
// the right x 320..470, mirrored, so the image's left column lies at the right end.
class LoadingBarPixelTest : public pagly::test::GuiPixelTest {};

TEST_F(LoadingBarPixelTest, HalfBarFromEitherSide) {
    CCScene* scene = runScene();
    UILayer* layer = UILayer::create();
    scene->addChild(layer);
    UILoadingBar* bar = UILoadingBar::create();
    bar->loadTexture("nine.png");
    bar->setIgnoreSize(false);
    bar->setSize(CCSize(300, 30));
    bar->setPercent(50);
    bar->setPosition(CCPoint(320, 480));
    layer->getRootWidget()->addChild(bar);
    const ccColor4B yellow = ccColor4B(255, 255, 0, 255), magenta = ccColor4B(255, 0, 255, 255);
    drawFrame();
    ccColor4B background = probe(630, 950);
    EXPECT_PRED3(pagly::test::colorNear, yellow, probe(200, 480), 0);
    EXPECT_PRED3(pagly::test::colorNear, magenta, probe(300, 480), 0);
    EXPECT_PRED3(pagly::test::colorNear, background, probe(400, 480), 0);
    bar->setDirection(LoadingBarTypeRight);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, yellow, probe(450, 480), 0);
    EXPECT_PRED3(pagly::test::colorNear, magenta, probe(340, 480), 0);
    EXPECT_PRED3(pagly::test::colorNear, background, probe(250, 480), 0);
}

}  // namespace
