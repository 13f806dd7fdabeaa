// Buttons: their three images, sizes, nine-slice mode, look by state, title and tint.
#include "GuiTestSupport.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/CCScale9Sprite.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

CCSprite* sprite(CCNode* node) { return dynamic_cast<CCSprite*>(node); }
CCScale9Sprite* scale9(CCNode* node) { return dynamic_cast<CCScale9Sprite*>(node); }

class ButtonTest : public pagly::test::GuiTest {
  protected:
    UIButton* threeImages() {
        UIButton* b = UIButton::create();
        b->loadTextureNormal("btn_normal.png");
        b->loadTexturePressed("btn_pressed.png");
        b->loadTextureDisabled("btn_disabled.png");
        return b;
    }
};

TEST_F(ButtonTest, EachImageKeepsItsNaturalSizeAndTheNormalOneSizesTheButton) {
    UIButton* b = threeImages();
    EXPECT_EQ(CCSize(100, 40), b->getSize());
    EXPECT_EQ(CCSize(100, 40), b->getContentSize());
    EXPECT_EQ(CCSize(50, 20), b->getPressedTextureSize());
    EXPECT_STREQ("btn_pressed.png", b->getPressedFile());
    for (CCNode* n : {b->getNormalNode(), b->getPressedNode(), b->getDisabledNode()}) {
        ASSERT_NE(nullptr, sprite(n));
        EXPECT_NE(nullptr, sprite(n)->getTexture());
        EXPECT_FLOAT_EQ(1, n->getScaleX());
        EXPECT_EQ(b->getContainerNode(), n->getParent());
        EXPECT_EQ(0, n->getZOrder());
    }
    EXPECT_EQ(1, b->getTitleNode()->getZOrder());
}

TEST_F(ButtonTest, ACustomSizeStretchesEachImageByItsOwnNaturalSize) {
    UIButton* b = threeImages();
    b->setIgnoreSize(false);
    b->setSize(CCSize(200, 40));
    EXPECT_EQ(CCSize(200, 40), b->getSize());
    EXPECT_FLOAT_EQ(2, b->getNormalNode()->getScaleX());
    EXPECT_FLOAT_EQ(1, b->getNormalNode()->getScaleY());
    EXPECT_FLOAT_EQ(4, b->getPressedNode()->getScaleX());
    EXPECT_FLOAT_EQ(2, b->getPressedNode()->getScaleY());
    // Back to the natural size.
    b->setIgnoreSize(true);
    EXPECT_EQ(CCSize(100, 40), b->getSize());
    EXPECT_FLOAT_EQ(1, b->getPressedNode()->getScaleX());
}

TEST_F(ButtonTest, AnEmptyOrNullNameLeavesTheOldImage) {
    UIButton* b = threeImages();
    CCTexture2D* before = sprite(b->getNormalNode())->getTexture();
    b->loadTextureNormal("");
    b->loadTextureNormal(nullptr);
    EXPECT_EQ(before, sprite(b->getNormalNode())->getTexture());
    EXPECT_STREQ("btn_normal.png", b->getNormalFile());
    EXPECT_EQ(CCSize(100, 40), b->getNormalTextureSize());
}

TEST_F(ButtonTest, AnImageWithNoSizeIsShownAtScaleOne) {
    UIButton* b = UIButton::create();
    b->setIgnoreSize(false);
    b->setSize(CCSize(50, 50));
    for (CCNode* n : {b->getNormalNode(), b->getPressedNode(), b->getDisabledNode()}) {
        EXPECT_FLOAT_EQ(1, n->getScaleX());
        EXPECT_FLOAT_EQ(1, n->getScaleY());
    }
}

TEST_F(ButtonTest, SpriteFrameImagesComeFromTheFrameCache) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    UIButton* b = UIButton::create();
    b->loadTextureNormal("small_button.png", TexturePlist);
    EXPECT_EQ(CCSize(20, 10), b->getSize());
    EXPECT_EQ(TexturePlist, b->getNormalTexType());
    // A kind that is neither loads nothing, but the name and kind are stored.
    b->loadTexturePressed("btn_pressed.png", (TextureResType)7);
    EXPECT_EQ(nullptr, sprite(b->getPressedNode())->getTexture());
    EXPECT_STREQ("btn_pressed.png", b->getPressedFile());
}

TEST_F(ButtonTest, ANewImageInNineSliceModeKeepsTheInsetsAlreadySet) {
    // The page swaps the sentence buttons' images after their document set the insets.
    UIButton* b = threeImages();
    b->setScale9Enabled(true);
    b->setCapInsets(CCRect(4, 4, 92, 32));
    b->setSize(CCSize(300, 60));
    b->loadTextureNormal("btn_pressed.png");
    b->loadTexturePressed("btn_normal.png");
    for (CCNode* n : {b->getNormalNode(), b->getPressedNode()}) {
        ASSERT_NE(nullptr, scale9(n));
        EXPECT_TRUE(scale9(n)->getCapInsets().equals(CCRect(4, 4, 92, 32)));
        EXPECT_EQ(CCSize(300, 60), n->getContentSize());
    }
}

TEST_F(ButtonTest, NineSliceModeSwapsTheNodesAndRestoresTheSizeModeWhenLeft) {
    UIButton* b = threeImages();
    b->setCapInsets(CCRect(4, 4, 92, 32));
    b->setSize(CCSize(300, 60));  // the custom size, used once nine-slice
    b->setScale9Enabled(true);
    EXPECT_FALSE(b->isIgnoreSize());
    EXPECT_EQ(CCSize(300, 60), b->getSize());
    for (CCNode* n : {b->getNormalNode(), b->getPressedNode(), b->getDisabledNode()}) {
        ASSERT_NE(nullptr, scale9(n));
        // Shown at the button's size (re-cutting with the insets keeps the size on screen).
        EXPECT_EQ(CCSize(300, 60), n->getContentSize());
        EXPECT_TRUE(scale9(n)->getCapInsets().equals(CCRect(4, 4, 92, 32)));
    }
    EXPECT_EQ(b->getNormalNode(), b->getRenderNode());
    EXPECT_EQ(3u + 1u, b->getContainerNode()->getChildrenCount());
    // A nine-slice button always has a custom size.
    b->setIgnoreSize(true);
    EXPECT_FALSE(b->isIgnoreSize());
    b->setSize(CCSize(120, 50));
    EXPECT_EQ(CCSize(120, 50), scale9(b->getPressedNode())->getPreferredSize());

    b->setScale9Enabled(false);
    EXPECT_TRUE(b->isIgnoreSize());
    EXPECT_EQ(CCSize(100, 40), b->getSize());
    ASSERT_NE(nullptr, sprite(b->getNormalNode()));
    EXPECT_NE(nullptr, sprite(b->getNormalNode())->getTexture());
    EXPECT_EQ(3u + 1u, b->getContainerNode()->getChildrenCount());

    // A button that had a custom size keeps it after the round trip.
    b->setIgnoreSize(false);
    b->setScale9Enabled(true);
    b->setScale9Enabled(false);
    EXPECT_FALSE(b->isIgnoreSize());
    EXPECT_EQ(CCSize(120, 50), b->getSize());
}

TEST_F(ButtonTest, SwitchingNineSliceKeepsTheDisabledLook) {
    UIButton* b = threeImages();
    b->setBright(false);
    b->setScale9Enabled(true);
    EXPECT_TRUE(b->getDisabledNode()->isVisible());
    EXPECT_FALSE(b->getNormalNode()->isVisible());
    b->setBright(true);
    EXPECT_TRUE(b->getNormalNode()->isVisible());
    EXPECT_EQ(BrightNormal, b->getBrightStyle());
}

TEST_F(ButtonTest, RenderNodeAndVisibleImageFollowTheLook) {
    UIButton* b = threeImages();
    struct Case {
        const char* name;
        bool bright, focus;
        CCNode* expected;
    } cases[] = {
        {"normal", true, false, b->getNormalNode()},
        {"pressed", true, true, b->getPressedNode()},
        {"disabled", false, false, b->getDisabledNode()},
        {"disabled while a touch is inside", false, true, b->getDisabledNode()},
    };
    for (const Case& c : cases) {
        b->setFocus(false);
        b->setBright(c.bright);
        b->setFocus(c.focus);
        EXPECT_EQ(c.expected, b->getRenderNode()) << c.name;
        for (CCNode* n : {b->getNormalNode(), b->getPressedNode(), b->getDisabledNode()}) {
            EXPECT_EQ(n == c.expected, n->isVisible()) << c.name;
        }
    }
    b->setBright(true);
    b->setBrightStyle(BrightNone);
    EXPECT_EQ(nullptr, b->getRenderNode());
}

TEST_F(ButtonTest, TheTitleStaysCentredForAnyAnchor) {
    UIButton* b = threeImages();
    b->setTitleText("Go");
    b->setTitleFontSize(20);
    b->setTitleFontName("Arial");
    EXPECT_STREQ("Go", b->getTitleText());
    EXPECT_FLOAT_EQ(20, b->getTitleFontSize());
    EXPECT_STREQ("Arial", b->getTitleFontName());
    EXPECT_EQ(CCPointZero, b->getTitleNode()->getPosition());
    b->setAnchorPoint(CCPoint(0, 0));
    EXPECT_EQ(CCPoint(50, 20), b->getTitleNode()->getPosition());
    EXPECT_EQ(CCPoint(0, 0), b->getNormalNode()->getAnchorPoint());
    b->setAnchorPoint(CCPoint(1, 1));
    EXPECT_EQ(CCPoint(-50, -20), b->getTitleNode()->getPosition());
    // The title follows a later size change too.
    b->setIgnoreSize(false);
    b->setSize(CCSize(200, 80));
    EXPECT_EQ(CCPoint(-100, -40), b->getTitleNode()->getPosition());
}

TEST_F(ButtonTest, FlipsApplyToTheTitleAndTheImagesOutsideNineSlice) {
    UIButton* b = threeImages();
    b->setFlipX(true);
    EXPECT_TRUE(b->isFlipX());
    EXPECT_TRUE(sprite(b->getDisabledNode())->isFlipX());
    EXPECT_TRUE(b->getTitleNode()->isFlipX());
    EXPECT_FALSE(b->isFlipY());
    b->setScale9Enabled(true);
    b->setFlipY(true);
    EXPECT_FALSE(b->isFlipY());
    EXPECT_TRUE(b->getTitleNode()->isFlipY());
}

TEST_F(ButtonTest, TheTitleKeepsItsColourWhenTheButtonIsTinted) {
    UIButton* b = threeImages();
    b->setTitleText("Go");
    b->setTitleColor(ccColor3B(255, 0, 0));
    b->setColor(ccColor3B(0, 0, 255));
    EXPECT_EQ(ccColor3B(0, 0, 255), b->getColor());
    EXPECT_EQ(ccColor3B(255, 0, 0), b->getTitleColor());
    EXPECT_EQ(ccColor3B(255, 0, 0), b->getTitleNode()->getColor());
    EXPECT_EQ(ccColor3B(255, 0, 0), b->getTitleNode()->getDisplayedColor());
    // The images take the button's colour; opacity reaches the title too.
    EXPECT_EQ(ccColor3B(0, 0, 255), sprite(b->getNormalNode())->getDisplayedColor());
    b->setOpacity(100);
    EXPECT_EQ(100, b->getTitleNode()->getDisplayedOpacity());
    EXPECT_EQ(ccColor3B(255, 0, 0), b->getTitleNode()->getDisplayedColor());
}

// --- pixels ---

class ButtonPixelTest : public pagly::test::GuiPixelTest {
  protected:
    void SetUp() override {
        GuiPixelTest::SetUp();
        scene = runScene();
        layer = UILayer::create();
        scene->addChild(layer);
    }
    CCScene* scene = nullptr;
    UILayer* layer = nullptr;
};

// An image loaded after the button was tinted shows the tint once, not twice.
TEST_F(ButtonPixelTest, ATintedButtonTintsANewImageOnce) {
    UIButton* b = UIButton::create();
    b->setColor(ccColor3B(128, 128, 128));
    b->loadTextureNormal("btn_normal.png");  // fill (40, 120, 200)
    b->setPosition(CCPoint(200, 300));
    layer->getRootWidget()->addChild(b);
    drawFrame();
    ccColor4B fill = probe(200, 300);
    EXPECT_NEAR(20, fill.r, 1);
    EXPECT_NEAR(60, fill.g, 1);
    EXPECT_NEAR(100, fill.b, 1);
    b->setScale9Enabled(true);
    b->setSize(CCSize(100, 40));
    drawFrame();
    fill = probe(200, 300);
    EXPECT_NEAR(20, fill.r, 1);
    EXPECT_NEAR(100, fill.b, 1);
}

TEST_F(ButtonPixelTest, PressedAndDisabledImagesShowByState) {
    UIButton* b = UIButton::create();
    b->loadTextureNormal("btn_normal.png");
    b->loadTexturePressed("btn_pressed.png");
    b->loadTextureDisabled("btn_disabled.png");
    b->setPosition(CCPoint(200, 300));
    b->setTouchEnabled(true);
    layer->getRootWidget()->addChild(b);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, ccColor4B(40, 120, 200, 255), probe(200, 300), 0);
    touchDown(200, 300);
    drawFrame();
    // The 50 x 20 pressed image shows at its own size at the same anchor.
    EXPECT_PRED3(pagly::test::colorNear, ccColor4B(200, 120, 40, 255), probe(200, 300), 0);
    EXPECT_PRED3(pagly::test::colorNear, probe(600, 900), probe(160, 300), 0);
    touchUp(200, 300);
    b->setBright(false);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, ccColor4B(128, 128, 128, 255), probe(200, 300), 0);
    // A disabled widget is not drawn at all.
    b->setBright(true);
    b->setEnabled(false);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, probe(600, 900), probe(200, 300), 0);
}

}  // namespace
