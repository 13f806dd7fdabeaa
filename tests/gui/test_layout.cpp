// Panels: defaults, the colour kinds, the background image in both modes, hits, clipping and
// what a panel draws.
#include "GuiTestSupport.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/CCScale9Sprite.h"
#include "gui/Layout.h"
#include "gui/RectClippingNode.h"
#include "gui/UIImageView.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

class LayoutTest : public pagly::test::GuiTest {
  protected:
    Layout* panel(float w = 200, float h = 100) {
        Layout* p = Layout::create();
        p->setSize(CCSize(w, h));
        return p;
    }
};

TEST_F(LayoutTest, ANewPanelIsEmptyAndSitsOnItsCorner) {
    Layout* p = Layout::create();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(CCSizeZero, p->getSize());
    EXPECT_EQ(CCSizeZero, p->getContentSize());
    EXPECT_EQ(CCPointZero, p->getAnchorPoint());
    EXPECT_EQ(CCPointZero, p->getContainerNode()->getAnchorPoint());
    EXPECT_EQ(ContainerWidget, p->getWidgetKind());
    EXPECT_FALSE(p->isIgnoreSize());
    EXPECT_FALSE(p->isClippingEnabled());
    EXPECT_EQ(BackGroundColorNone, p->getBackGroundColorType());
    EXPECT_EQ(nullptr, p->getColorRenderer());
    EXPECT_EQ(nullptr, p->getGradientRenderer());
    EXPECT_EQ(nullptr, p->getBackGroundImageRenderer());
    EXPECT_EQ(0u, p->getContainerNode()->getChildrenCount());
    EXPECT_EQ(LayoutAbsolute, p->getLayoutType());
    EXPECT_EQ(CCPoint(0, -1), p->getBackGroundColorVector());
    EXPECT_EQ(255, p->getBackGroundColorOpacity());
    EXPECT_EQ(kColorWhite, p->getColor());
    EXPECT_EQ(255, p->getOpacity());
    ASSERT_NE(nullptr, p->getClippingNode());
    EXPECT_FALSE(p->getClippingNode()->isClippingEnabled());
}

TEST_F(LayoutTest, ThePanelKeepsTheSizeItIsGivenAndItsStencilFollows) {
    Layout* p = panel(200, 100);
    EXPECT_EQ(CCSize(200, 100), p->getSize());
    EXPECT_EQ(CCSize(200, 100), p->getContentSize());
    EXPECT_EQ(CCSize(200, 100), p->getClippingNode()->getClippingSize());
    EXPECT_TRUE(p->getClippingNode()->getStencilRectangle()->getBoundingRect().equals(
        CCRect(0, 0, 200, 100)));
    p->setIgnoreSize(true);  // the content size is the panel's own size anyway
    EXPECT_EQ(CCSize(200, 100), p->getSize());
    p->setLayoutType(3);
    EXPECT_EQ(3, p->getLayoutType());
    p->doLayout();
    p->setClipAble(true);
    EXPECT_TRUE(p->isClippingEnabled());
    EXPECT_TRUE(p->getClippingNode()->isClippingEnabled());
}

TEST_F(LayoutTest, HitsIncludeTheRightAndTopEdgesWhateverTheAnchor) {
    Layout* p = panel(200, 100);
    p->setPosition(CCPoint(50, 50));
    EXPECT_TRUE(p->hitTest(CCPoint(250, 150)));
    EXPECT_TRUE(p->hitTest(CCPoint(50, 50)));
    EXPECT_FALSE(p->hitTest(CCPoint(250.5f, 100)));
    EXPECT_FALSE(p->hitTest(CCPoint(49, 100)));
}

TEST_F(LayoutTest, SolidColourKindMakesOneColourLayerUnderEverything) {
    Layout* p = panel();
    p->setBackGroundColor(ccColor3B(10, 20, 30));
    p->setBackGroundColorOpacity(200);
    p->setBackGroundColorType(BackGroundColorSolid);
    p->setBackGroundColorType(BackGroundColorSolid);
    EXPECT_EQ(1u, p->getContainerNode()->getChildrenCount());
    CCLayerColor* layer = p->getColorRenderer();
    ASSERT_NE(nullptr, layer);
    EXPECT_EQ(-2, layer->getZOrder());
    EXPECT_EQ(CCSize(200, 100), layer->getContentSize());
    EXPECT_EQ(ccColor3B(10, 20, 30), layer->getColor());
    EXPECT_EQ(200, layer->getOpacity());
    p->setSize(CCSize(50, 60));
    EXPECT_EQ(CCSize(50, 60), layer->getContentSize());
    p->setBackGroundColor(ccColor3B(1, 2, 3));
    EXPECT_EQ(ccColor3B(1, 2, 3), layer->getColor());
    p->setBackGroundColorOpacity(7);
    EXPECT_EQ(7, layer->getOpacity());
}

TEST_F(LayoutTest, SwitchingKindsLeavesOnlyTheRendererOfTheCurrentKind) {
    Layout* p = panel();
    p->setBackGroundColorType(BackGroundColorSolid);
    p->setBackGroundColorType(BackGroundColorGradient);
    EXPECT_EQ(nullptr, p->getColorRenderer());
    ASSERT_NE(nullptr, p->getGradientRenderer());
    EXPECT_EQ(1u, p->getContainerNode()->getChildrenCount());
    p->setBackGroundColorType(BackGroundColorNone);
    EXPECT_EQ(nullptr, p->getColorRenderer());
    EXPECT_EQ(nullptr, p->getGradientRenderer());
    EXPECT_EQ(0u, p->getContainerNode()->getChildrenCount());
    // An unknown kind makes no renderer.
    p->setBackGroundColorType((BackGroundColorType)9);
    EXPECT_EQ(0u, p->getContainerNode()->getChildrenCount());
    p->setBackGroundColorType(BackGroundColorSolid);
    EXPECT_NE(nullptr, p->getColorRenderer());
}

TEST_F(LayoutTest, ColoursOfTheOtherKindAreKeptForLater) {
    Layout* p = panel();
    p->setBackGroundColorType(BackGroundColorGradient);
    p->setBackGroundColor(ccColor3B(9, 9, 9));  // solid colour: nothing visible changes
    EXPECT_EQ(kColorWhite, p->getGradientRenderer()->getStartColor());
    p->setBackGroundColor(ccColor3B(255, 0, 0), ccColor3B(0, 0, 255));
    p->setBackGroundColorVector(CCPoint(1, 0));
    CCLayerGradient* gradient = p->getGradientRenderer();
    EXPECT_EQ(ccColor3B(255, 0, 0), gradient->getStartColor());
    EXPECT_EQ(ccColor3B(0, 0, 255), gradient->getEndColor());
    EXPECT_EQ(CCPoint(1, 0), gradient->getVector());

    p->setBackGroundColorType(BackGroundColorSolid);
    EXPECT_EQ(ccColor3B(9, 9, 9), p->getColorRenderer()->getColor());
    p->setBackGroundColor(ccColor3B(0, 255, 0), ccColor3B(0, 0, 0));  // gradient colours: kept
    p->setBackGroundColorVector(CCPoint(0, 1));
    p->setBackGroundColorType(BackGroundColorGradient);
    gradient = p->getGradientRenderer();
    EXPECT_EQ(ccColor3B(0, 255, 0), gradient->getStartColor());
    EXPECT_EQ(ccColor3B(0, 0, 0), gradient->getEndColor());
    EXPECT_EQ(CCPoint(0, 1), gradient->getVector());
}

TEST_F(LayoutTest, OpacityWithNoColourKindIsOnlyStored) {
    Layout* p = panel();
    p->setBackGroundColorOpacity(40);
    EXPECT_EQ(40, p->getBackGroundColorOpacity());
    EXPECT_EQ(0u, p->getContainerNode()->getChildrenCount());
    p->setBackGroundColorType(BackGroundColorGradient);
    EXPECT_EQ(40, p->getGradientRenderer()->getOpacity());
}

TEST_F(LayoutTest, APlainBackgroundImageSitsCentredUnderTheChildren) {
    Layout* p = panel(200, 100);
    p->setBackGroundImage("");
    p->setBackGroundImage(nullptr);
    EXPECT_EQ(nullptr, p->getBackGroundImageRenderer());
    EXPECT_STREQ("", p->getBackGroundImageFileName());

    p->setBackGroundColorType(BackGroundColorSolid);
    p->setBackGroundImage("panel_bg.png");
    CCSprite* image = dynamic_cast<CCSprite*>(p->getBackGroundImageRenderer());
    ASSERT_NE(nullptr, image);
    EXPECT_NE(nullptr, image->getTexture());
    EXPECT_EQ(-1, image->getZOrder());
    EXPECT_EQ(CCPoint(100, 50), image->getPosition());
    EXPECT_EQ(CCSize(40, 40), image->getContentSize());
    p->setSize(CCSize(300, 300));
    EXPECT_EQ(CCPoint(150, 150), image->getPosition());
    // The image is tinted with the panel's colour; the panel itself stays white.
    p->setColor(ccColor3B(100, 0, 0));
    p->setOpacity(50);
    EXPECT_EQ(ccColor3B(100, 0, 0), image->getColor());
    EXPECT_EQ(50, image->getOpacity());
    EXPECT_EQ(kColorWhite, p->getColor());
    EXPECT_EQ(kColorWhite, p->getColorRenderer()->getColor());
}

TEST_F(LayoutTest, ANineSliceBackgroundStretchesToThePanel) {
    Layout* p = panel(200, 100);
    p->setBackGroundImageScale9Enabled(true);
    p->setBackGroundImage("panel_bg.png");
    p->setBackGroundImageCapInsets(CCRect(6, 6, 28, 28));
    CCScale9Sprite* image = dynamic_cast<CCScale9Sprite*>(p->getBackGroundImageRenderer());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(CCSize(200, 100), image->getContentSize());
    EXPECT_TRUE(image->getCapInsets().equals(CCRect(6, 6, 28, 28)));
    EXPECT_EQ(CCPoint(100, 50), image->getPosition());
    p->setSize(CCSize(80, 300));
    EXPECT_EQ(CCSize(80, 300), image->getPreferredSize());
}

TEST_F(LayoutTest, SwitchingNineSliceAfterTheImageKeepsTheImageAndInsets) {
    Layout* p = panel(200, 100);
    p->setBackGroundImageCapInsets(CCRect(6, 6, 28, 28));  // kept for later in plain mode
    p->setBackGroundImage("panel_bg.png");
    EXPECT_NE(nullptr, dynamic_cast<CCSprite*>(p->getBackGroundImageRenderer()));
    p->setBackGroundImageScale9Enabled(true);
    CCScale9Sprite* image = dynamic_cast<CCScale9Sprite*>(p->getBackGroundImageRenderer());
    ASSERT_NE(nullptr, image);
    EXPECT_NE(nullptr, image->getBatchNode());
    EXPECT_EQ(CCSize(200, 100), image->getContentSize());
    EXPECT_TRUE(image->getCapInsets().equals(CCRect(6, 6, 28, 28)));
    EXPECT_EQ(1u, p->getContainerNode()->getChildrenCount());
    p->setBackGroundImageScale9Enabled(false);
    CCSprite* plain = dynamic_cast<CCSprite*>(p->getBackGroundImageRenderer());
    ASSERT_NE(nullptr, plain);
    EXPECT_NE(nullptr, plain->getTexture());
    EXPECT_EQ(1u, p->getContainerNode()->getChildrenCount());
}

TEST_F(LayoutTest, BackgroundImagesFromSpriteFrames) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    Layout* p = panel(60, 60);
    p->setBackGroundImage("nine_frame.png", TexturePlist);
    EXPECT_EQ(TexturePlist, p->getBackGroundImageTexType());
    EXPECT_EQ(CCSize(30, 30), p->getBackGroundImageRenderer()->getContentSize());
    p->setBackGroundImageScale9Enabled(true);
    EXPECT_EQ(CCSize(60, 60), p->getBackGroundImageRenderer()->getContentSize());
}

// --- pixels ---

class LayoutPixelTest : public pagly::test::GuiPixelTest {
  protected:
    void SetUp() override {
        GuiPixelTest::SetUp();
        scene = runScene();
        layer = UILayer::create();
        scene->addChild(layer);
    }
    ccColor4B background() { return probe(630, 950); }
    CCScene* scene = nullptr;
    UILayer* layer = nullptr;
};

TEST_F(LayoutPixelTest, ClippingCutsAChildToThePanel) {
    Layout* p = Layout::create();
    p->setSize(CCSize(100, 100));
    p->setPosition(CCPoint(100, 100));  // x 100..200
    layer->getRootWidget()->addChild(p);
    UIImageView* image = UIImageView::create();
    image->loadTexture("photo.png");
    image->setIgnoreSize(false);
    image->setSize(CCSize(200, 50));
    image->setPosition(CCPoint(100, 50));  // x 100..300 in world, centred on the panel's edge
    p->addChild(image);
    drawFrame();
    EXPECT_FALSE(pagly::test::colorNear(background(), probe(250, 150)));
    p->setClippingEnabled(true);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, background(), probe(250, 150), 0);
    EXPECT_PRED3(pagly::test::colorNear, background(), probe(201, 150), 0);
    EXPECT_FALSE(pagly::test::colorNear(background(), probe(199, 150)));
}

TEST_F(LayoutPixelTest, ColourKindsPaintThePanelAndDisablingHidesEverything) {
    Layout* p = Layout::create();
    p->setSize(CCSize(100, 100));
    p->setPosition(CCPoint(100, 100));
    layer->getRootWidget()->addChild(p);
    p->setBackGroundColor(ccColor3B(0, 200, 0));
    p->setBackGroundColorType(BackGroundColorSolid);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, ccColor4B(0, 200, 0, 255), probe(150, 150), 0);
    EXPECT_PRED3(pagly::test::colorNear, background(), probe(99, 150), 0);

    p->setBackGroundColor(ccColor3B(255, 0, 0), ccColor3B(0, 0, 255));
    p->setBackGroundColorType(BackGroundColorGradient);  // top red, bottom blue
    drawFrame();
    ccColor4B top = probe(150, 198), bottom = probe(150, 102);
    EXPECT_GT(top.r, 240);
    EXPECT_GT(bottom.b, 240);

    UIImageView* child = UIImageView::create();
    child->loadTexture("photo.png");
    child->setPosition(CCPoint(75, 75));  // world x 143..207, y 151..199
    p->addChild(child);
    p->setBackGroundImage("panel_bg.png");  // world x 130..170, y 130..170, 6-pixel border
    drawFrame();
    // The child lies over the image, which lies over the colour.
    ccColor4B blue = ccColor4B(0, 0, 255, 255), border = ccColor4B(120, 80, 40, 255);
    EXPECT_PRED3(pagly::test::colorNear, blue, probe(150, 160), 0);
    EXPECT_PRED3(pagly::test::colorNear, border, probe(132, 140), 0);
    EXPECT_FALSE(pagly::test::colorNear(background(), probe(110, 190)));
    p->setEnabled(false);
    drawFrame();
    for (CCPoint at : {CCPoint(150, 160), CCPoint(132, 140), CCPoint(110, 190)}) {
        EXPECT_PRED3(pagly::test::colorNear, background(), probe(at.x, at.y), 0);
    }
    p->setEnabled(true);
    drawFrame();
    EXPECT_PRED3(pagly::test::colorNear, blue, probe(150, 160), 0);
}

}  // namespace
