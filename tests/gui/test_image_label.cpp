// Image views and the three text widgets: natural size, stretching, nine-slice mode, the
// label size rule and touch scaling.
#include <string>

#include "GuiTestSupport.h"
#include "engine/nodes/CCLabelBMFont.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCSprite.h"
#include "gui/CCScale9Sprite.h"
#include "gui/UIImageView.h"
#include "gui/UILabel.h"
#include "gui/UILabelAtlas.h"
#include "gui/UILabelBMFont.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

class ImageLabelTest : public pagly::test::GuiTest {};

TEST_F(ImageLabelTest, AnImageTakesItsTextureSizeOrStretchesToACustomOne) {
    UIImageView* image = UIImageView::create();
    image->loadTexture("photo.png");
    EXPECT_EQ(CCSize(64, 48), image->getSize());
    EXPECT_EQ(CCSize(64, 48), image->getContentSize());
    EXPECT_NE(nullptr, dynamic_cast<CCSprite*>(image->getRenderNode()));
    image->setIgnoreSize(false);
    image->setSize(CCSize(128, 24));
    EXPECT_FLOAT_EQ(2, image->getRenderNode()->getScaleX());
    EXPECT_FLOAT_EQ(0.5f, image->getRenderNode()->getScaleY());
    image->loadTexture("");  // nothing changes
    image->loadTexture(nullptr);
    EXPECT_STREQ("photo.png", image->getTextureFile());
    image->setAnchorPoint(CCPoint(0, 1));
    EXPECT_EQ(CCPoint(0, 1), image->getRenderNode()->getAnchorPoint());
}

TEST_F(ImageLabelTest, AnImageInNineSliceModeStretchesByItsInsetsAndRestoresItsSizeMode) {
    UIImageView* image = UIImageView::create();
    image->loadTexture("nine.png");
    image->setCapInsets(CCRect(10, 10, 10, 10));
    image->setSize(CCSize(90, 60));
    image->setScale9Enabled(true);
    CCScale9Sprite* node = dynamic_cast<CCScale9Sprite*>(image->getRenderNode());
    ASSERT_NE(nullptr, node);
    EXPECT_FALSE(image->isIgnoreSize());
    EXPECT_EQ(CCSize(90, 60), node->getContentSize());
    EXPECT_TRUE(node->getCapInsets().equals(CCRect(10, 10, 10, 10)));
    image->loadTexture("nine.png");  // a new image keeps the insets
    node = dynamic_cast<CCScale9Sprite*>(image->getRenderNode());
    ASSERT_NE(nullptr, node);
    EXPECT_TRUE(node->getCapInsets().equals(CCRect(10, 10, 10, 10)));
    EXPECT_EQ(CCSize(90, 60), node->getContentSize());
    image->setIgnoreSize(true);  // ignored in nine-slice mode
    EXPECT_FALSE(image->isIgnoreSize());
    image->setFlipX(true);
    EXPECT_FALSE(image->isFlipX());
    image->setScale9Enabled(false);
    EXPECT_TRUE(image->isIgnoreSize());
    EXPECT_EQ(CCSize(30, 30), image->getSize());
    image->setFlipX(true);
    EXPECT_TRUE(image->isFlipX());
    EXPECT_EQ(1u, image->getContainerNode()->getChildrenCount());
}

TEST_F(ImageLabelTest, ALabelIsAsLargeAsItsTextOrStretchedToItsSize) {
    UILabel* label = UILabel::create();
    label->setFontSize(20);
    label->setText("Hello");
    CCSize natural = label->getLabelNode()->getContentSize();
    ASSERT_GT(natural.width, 0);
    ASSERT_GT(natural.height, 0);
    EXPECT_EQ(natural, label->getSize());
    EXPECT_EQ(natural, label->getContentSize());
    EXPECT_FLOAT_EQ(1, label->getLabelNode()->getScaleX());

    label->setIgnoreSize(false);
    label->setSize(CCSize(natural.width * 2, natural.height / 2));
    EXPECT_FLOAT_EQ(2, label->getLabelNode()->getScaleX());
    EXPECT_FLOAT_EQ(0.5f, label->getLabelNode()->getScaleY());
    // A longer text is squeezed into the same size.
    label->setText("Hello, world");
    EXPECT_LT(label->getLabelNode()->getScaleX(), 2);

    label->setIgnoreSize(true);
    EXPECT_FLOAT_EQ(1, label->getLabelNode()->getScaleX());
    EXPECT_EQ(label->getLabelNode()->getContentSize(), label->getSize());
}

TEST_F(ImageLabelTest, ANullTextKeepsTheTextAndAnEmptyLabelIsNotDividedByZero) {
    UILabel* label = UILabel::create();
    label->setText("Keep");
    label->setText(nullptr);
    EXPECT_STREQ("Keep", label->getStringValue());
    EXPECT_EQ(4, label->getStringLength());
    UILabel* empty = UILabel::create();
    empty->setIgnoreSize(false);
    empty->setSize(CCSize(100, 30));
    EXPECT_FLOAT_EQ(1, empty->getLabelNode()->getScaleX());
    EXPECT_FLOAT_EQ(1, empty->getLabelNode()->getScaleY());
}

TEST_F(ImageLabelTest, FontSizeAndTextAreaRefitTheLabel) {
    UILabel* label = UILabel::create();
    label->setText("Abc");
    label->setFontSize(12);
    float small = label->getSize().height;
    label->setFontSize(40);
    EXPECT_GT(label->getSize().height, small);
    label->setTextAreaSize(CCSize(200, 0));
    EXPECT_FLOAT_EQ(200, label->getSize().width);
    label->setTextHorizontalAlignment(kTextAlignmentCenter);
    label->setTextVerticalAlignment(kVerticalTextAlignmentBottom);
    EXPECT_EQ(kTextAlignmentCenter, label->getLabelNode()->getHorizontalAlignment());
    EXPECT_EQ(kVerticalTextAlignmentBottom, label->getLabelNode()->getVerticalAlignment());
    label->setAnchorPoint(CCPoint(0, 0));
    EXPECT_EQ(CCPoint(0, 0), label->getLabelNode()->getAnchorPoint());
    EXPECT_EQ(CCPoint(0, 0), label->getContainerNode()->getAnchorPoint());
}

TEST_F(ImageLabelTest, ATouchScaledLabelGrowsByHalfWhilePressed) {
    UILabel* label = UILabel::create();
    label->setText("Tap");
    label->setScale(2);
    label->setTouchScaleEnabled(true);
    EXPECT_FLOAT_EQ(2, label->getNormalScale());
    label->setFocus(true);
    EXPECT_FLOAT_EQ(2.5f, label->getScaleX());
    label->setFocus(false);
    EXPECT_FLOAT_EQ(2, label->getScaleX());
    // Without the flag pressing changes nothing.
    label->setTouchScaleEnabled(false);
    label->setFocus(true);
    EXPECT_FLOAT_EQ(2, label->getScaleX());
}

// A document may scale a label unevenly; pressing and releasing it must not even the scales out.
TEST_F(ImageLabelTest, ATouchScaledLabelKeepsUnevenScalesAfterAPress) {
    UILabel* label = UILabel::create();
    label->setText("Tap");
    label->setScaleX(2);
    label->setScaleY(1);
    label->setTouchScaleEnabled(true);
    label->setFocus(true);
    EXPECT_FLOAT_EQ(2.5f, label->getScaleX());
    EXPECT_FLOAT_EQ(1.5f, label->getScaleY());
    label->setFocus(false);
    EXPECT_FLOAT_EQ(2, label->getScaleX());
    EXPECT_FLOAT_EQ(1, label->getScaleY());
}

TEST_F(ImageLabelTest, LabelFlipsGoToTheTextNode) {
    UILabel* label = UILabel::create();
    label->setFlipX(true);
    label->setFlipY(true);
    EXPECT_TRUE(label->isFlipX());
    EXPECT_TRUE(label->getLabelNode()->isFlipY());
}

TEST_F(ImageLabelTest, ALabelAtlasFollowsTheSizeRuleOnceItHasAMap) {
    UILabelAtlas* atlas = UILabelAtlas::create();
    EXPECT_FALSE(atlas->getAtlasNode()->isInitialized());
    EXPECT_EQ(CCSizeZero, atlas->getSize());
    atlas->setProperty("0123", "digits.png", 8, 12, "0");
    EXPECT_TRUE(atlas->getAtlasNode()->isInitialized());
    EXPECT_STREQ("0123", atlas->getStringValue());
    EXPECT_EQ(CCSize(32, 12), atlas->getSize());
    atlas->setIgnoreSize(false);
    atlas->setSize(CCSize(64, 6));
    EXPECT_FLOAT_EQ(2, atlas->getAtlasNode()->getScaleX());
    EXPECT_FLOAT_EQ(0.5f, atlas->getAtlasNode()->getScaleY());
    // Nonsense from a document is logged, not a crash.
    UILabelAtlas* bad = UILabelAtlas::create();
    clearLog();
    bad->setProperty(nullptr, "missing.png", -8, 12, nullptr);
    EXPECT_FALSE(bad->getAtlasNode()->isInitialized());
    EXPECT_FALSE(logLines().empty());
}

TEST_F(ImageLabelTest, ABitmapFontLabelTakesTextOnlyOnceItHasAFont) {
    UILabelBMFont* label = UILabelBMFont::create();
    label->setText("AB");
    EXPECT_STREQ("", label->getStringValue());
    label->setFntFile("");
    EXPECT_FALSE(label->isFntFileLoaded());
    label->setFntFile("gui_font.fnt");
    EXPECT_TRUE(label->isFntFileLoaded());
    label->setText("AB");
    EXPECT_STREQ("AB", label->getStringValue());
    CCSize natural = label->getFontNode()->getContentSize();
    EXPECT_GT(natural.width, 0);
    EXPECT_EQ(natural, label->getSize());
    label->setText(nullptr);
    EXPECT_STREQ("AB", label->getStringValue());
}

// --- pixels ---

class LabelPixelTest : public pagly::test::GuiPixelTest {};

TEST_F(LabelPixelTest, ALabelAtlasDrawsNothingUntilItHasAMap) {
    CCScene* scene = runScene();
    UILayer* layer = UILayer::create();
    scene->addChild(layer);
    UILabelAtlas* atlas = UILabelAtlas::create();
    atlas->setPosition(CCPoint(100, 100));
    atlas->setScale(4);
    layer->getRootWidget()->addChild(atlas);
    drawFrame();
    ccColor4B background = probe(600, 900);
    EXPECT_PRED3(pagly::test::colorNear, background, probe(100, 100), 0);
    atlas->setProperty("00", "digits.png", 8, 12, "0");
    drawFrame();
    // Cell 0 of the first '0' is white inside a one-pixel border: x 68..100 at scale 4.
    EXPECT_PRED3(pagly::test::colorNear, ccColor4B(255, 255, 255, 255), probe(80, 100), 0);
}

}  // namespace
