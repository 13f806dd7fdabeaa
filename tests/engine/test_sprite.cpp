// Sprites, sprite frames and sheets: what callers rely on, and what they see on screen.
#include <gtest/gtest.h>

#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteBatchNode.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/SDLRenderer.h"
#include "support/Offscreen.h"

using namespace pagly::engine;
using pagly::test::colorString;

namespace {

class SpriteTest : public pagly::test::OffscreenTest {
  protected:
    void SetUp() override {
        OffscreenTest::SetUp();
        m_oldRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/render");
    }
    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
        OffscreenTest::TearDown();
    }
    CCSpriteFrameCache* frames() { return CCSpriteFrameCache::sharedSpriteFrameCache(); }
    // Runs a scene holding `node` and draws one frame.
    void show(CCNode* node) {
        CCScene* scene = CCScene::create();
        scene->addChild(node);
        run(scene);
        drawFrame();
    }
    std::string m_oldRoot;
};

TEST_F(SpriteTest, CreateFromFileSizesToTheImageAndCentresItsAnchor) {
    CCSprite* s = CCSprite::create("quad4.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(CCSize(4, 4), s->getContentSize());
    EXPECT_EQ(CCPoint(0.5f, 0.5f), s->getAnchorPoint());
    EXPECT_EQ(CCRect(0, 0, 4, 4), s->getTextureRect());
}

TEST_F(SpriteTest, MissingOrCorruptImagesGiveNullOrLeaveTheSpriteAsItWas) {
    EXPECT_EQ(nullptr, CCSprite::create("missing.png"));
    EXPECT_EQ(nullptr, CCSprite::create("corrupt.png"));
    EXPECT_EQ(nullptr, CCSpriteBatchNode::create("missing.png", 9));
    EXPECT_EQ(nullptr, CCSprite::createWithSpriteFrameName("nope.png"));
    EXPECT_TRUE(logged("CCSpriteFrameCache: frame 'nope.png' not found"));

    CCSprite* s = CCSprite::create("quad4.png");
    s->setColor(kColorRed);
    EXPECT_FALSE(s->initWithFile("missing.png"));
    EXPECT_FALSE(s->initWithSpriteFrameName("nope.png"));
    EXPECT_FALSE(s->initWithSpriteFrameName(""));
    EXPECT_EQ(CCSize(4, 4), s->getContentSize());
    EXPECT_EQ(kColorRed, s->getColor());
    EXPECT_NE(nullptr, s->getTexture());
}

TEST_F(SpriteTest, EmptySpriteHasNoSizeAndDrawsNothing) {
    CCSprite* s = CCSprite::create();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(nullptr, s->getTexture());
    EXPECT_EQ(CCSizeZero, s->getContentSize());
    s->setPosition(320, 480);
    show(s);
    EXPECT_EQ("0,0,0,255", colorString(probe(320, 480)));
    // An empty sprite can be loaded later, as widgets do.
    EXPECT_TRUE(s->initWithFile("quad4.png"));
    EXPECT_EQ(CCSize(4, 4), s->getContentSize());
}

TEST_F(SpriteTest, SheetFramesKeepRectRotationOffsetAndSourceSize) {
    frames()->addSpriteFramesWithFile("sheet.plist");
    CCSpriteFrame* tall = frames()->spriteFrameByName("tall.png");
    ASSERT_NE(tall, nullptr);
    EXPECT_TRUE(tall->isRotated());
    EXPECT_EQ(CCRect(0, 16, 16, 32), tall->getRect());
    EXPECT_EQ(CCSize(16, 32), tall->getOriginalSize());
    CCSpriteFrame* trim = frames()->spriteFrameByName("trim.png");
    ASSERT_NE(trim, nullptr);
    EXPECT_FALSE(trim->isRotated());
    EXPECT_EQ(CCPoint(5, 5), trim->getOffset());
    EXPECT_EQ(CCSize(40, 40), trim->getOriginalSize());
    EXPECT_EQ(tall->getTexture(), trim->getTexture());
    // The malformed frame is skipped with a line, the rest loads.
    EXPECT_EQ(nullptr, frames()->spriteFrameByName("broken.png"));
    EXPECT_EQ(4u, frames()->count());

    // A trimmed frame: the sprite is the source's size, the pixels sit where they were.
    CCSprite* s = CCSprite::createWithSpriteFrameName("trim.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(CCSize(40, 40), s->getContentSize());
    EXPECT_EQ(CCPoint(15, 15), s->getOffsetPosition());
    s->setFlipX(true);
    EXPECT_EQ(CCPoint(5, 15), s->getOffsetPosition());

    // displayFrame describes what is shown and round-trips.
    CCSprite* other = CCSprite::create();
    other->setDisplayFrame(s->displayFrame());
    EXPECT_EQ(s->getContentSize(), other->getContentSize());
    EXPECT_EQ(CCPoint(15, 15), other->getOffsetPosition());
    EXPECT_TRUE(other->isFrameDisplayed(trim));
}

TEST_F(SpriteTest, SheetIsReadOnceAndBrokenSheetsAddNothing) {
    frames()->addSpriteFramesWithFile("sheet.plist");
    frames()->removeSpriteFrameByName("arrow.png");
    frames()->addSpriteFramesWithFile("sheet.plist");  // already read: does nothing
    EXPECT_EQ(3u, frames()->count());
    frames()->removeSpriteFramesFromFile("sheet.plist");
    EXPECT_EQ(0u, frames()->count());
    frames()->addSpriteFramesWithFile("sheet.plist");  // forgotten, so read again
    EXPECT_EQ(4u, frames()->count());

    const char* broken[] = {"noimage.plist", "truncated.plist", "missing.plist", "sheet.png"};
    for (const char* name : broken) {
        SCOPED_TRACE(name);
        clearLog();
        frames()->addSpriteFramesWithFile(name);
        EXPECT_FALSE(logLines().empty());
        EXPECT_EQ(4u, frames()->count());
    }
}

TEST_F(SpriteTest, RotatedAndFlippedFramesShowUpright) {
    frames()->addSpriteFramesWithFile("sheet.plist");
    // tall.png shows blue top-left, cyan top-right, yellow bottom-left, white bottom-right.
    struct Case {
        bool flipX, flipY;
        const char *tl, *tr, *bl, *br;
    } cases[] = {
        {false, false, "0,0,255,255", "0,255,255,255", "255,255,0,255", "255,255,255,255"},
        {true, false, "0,255,255,255", "0,0,255,255", "255,255,255,255", "255,255,0,255"},
        {false, true, "255,255,0,255", "255,255,255,255", "0,0,255,255", "0,255,255,255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flipX " << c.flipX << " flipY " << c.flipY);
        CCSprite* s = CCSprite::createWithSpriteFrameName("tall.png");
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(CCSize(16, 32), s->getContentSize());
        s->setScale(4);  // 64 x 128 around (320, 480)
        s->setPosition(320, 480);
        s->setFlipX(c.flipX);
        s->setFlipY(c.flipY);
        show(s);
        EXPECT_EQ(c.tl, colorString(probe(300, 520)));
        EXPECT_EQ(c.tr, colorString(probe(340, 520)));
        EXPECT_EQ(c.bl, colorString(probe(300, 440)));
        EXPECT_EQ(c.br, colorString(probe(340, 440)));
        EXPECT_EQ("0,0,0,255", colorString(probe(287, 480)));  // just outside the left edge
    }
}

TEST_F(SpriteTest, InitWithTextureTakesARotatedRegion) {
    // The same region as the sheet's rotated frame, given directly: rect size unrotated.
    CCTexture2D* sheet = CCTextureCache::sharedTextureCache()->addImage("sheet.png");
    CCSprite* s = CCSprite::create();
    ASSERT_TRUE(s->initWithTexture(sheet, CCRect(0, 16, 16, 32), true));
    EXPECT_TRUE(s->isTextureRectRotated());
    EXPECT_EQ(CCSize(16, 32), s->getContentSize());
    s->setAnchorPoint(CCPointZero);
    s->setPosition(10, 10);
    show(s);
    EXPECT_EQ("0,0,255,255", colorString(probe(12, 40)));      // top-left: blue
    EXPECT_EQ("255,255,255,255", colorString(probe(24, 12)));  // bottom-right: white
}

TEST_F(SpriteTest, ColourOpacityAndFlipReachThePixels) {
    CCSprite* s = CCSprite::create("white32.png");
    s->setPosition(100, 100);
    s->setColor(ccColor3B(255, 128, 0));
    s->setOpacity(128);
    show(s);
    ccColor4B c = probe(100, 100);
    EXPECT_NEAR(c.r, 128, 1);
    EXPECT_NEAR(c.g, 64, 1);
    EXPECT_EQ(0, c.b);

    // A sprite under a batch node draws as usual.
    CCSpriteBatchNode* batch = CCSpriteBatchNode::create("quad4.png", 9);
    ASSERT_NE(batch, nullptr);
    CCSprite* child = CCSprite::createWithTexture(batch->getTexture());
    child->setScale(10);
    child->setPosition(200, 200);
    batch->addChild(child);
    show(batch);
    EXPECT_EQ("255,0,0,255", colorString(probe(190, 210)));
    EXPECT_EQ("255,255,255,255", colorString(probe(210, 190)));
}

TEST_F(SpriteTest, TextureRectChangesWhatIsShownAndTheSize) {
    CCSprite* s = CCSprite::create("quad4.png");
    s->setTextureRect(CCRect(2, 0, 2, 2));  // the green quadrant only
    EXPECT_EQ(CCSize(2, 2), s->getContentSize());
    s->setScale(10);
    s->setPosition(50, 50);
    show(s);
    EXPECT_EQ("0,255,0,255", colorString(probe(45, 45)));
    EXPECT_EQ("0,255,0,255", colorString(probe(55, 55)));
}

}  // namespace
