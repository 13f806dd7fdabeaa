// Labels: TrueType labels whose size follows their text, character-map labels and bitmap
// font labels, checked by size, by pixels and by one reference image.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLabelAtlas.h"
#include "engine/nodes/CCLabelBMFont.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTextureCache.h"
#include "support/Offscreen.h"

using namespace pagly::engine;
using pagly::test::colorString;

namespace {

class LabelTest : public pagly::test::OffscreenTest {
  protected:
    void SetUp() override {
        OffscreenTest::SetUp();
        m_oldRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/labels");
    }
    void TearDown() override {
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_oldRoot);
        CCTextureCache::sharedTextureCache()->removeAllTextures();
        OffscreenTest::TearDown();
    }
    // Runs a scene holding `node` and draws one frame.
    CCScene* show(CCNode* node) {
        CCScene* scene = CCScene::create();
        scene->addChild(node);
        run(scene);
        drawFrame();
        return scene;
    }
    // Pixels in the design rectangle that satisfy `pred`.
    int count(const CCRect& r, const std::function<bool(const ccColor4B&)>& pred) {
        int n = 0;
        for (int y = (int)r.getMinY(); y < (int)r.getMaxY(); ++y)
            for (int x = (int)r.getMinX(); x < (int)r.getMaxX(); ++x)
                if (pred(probe((float)x + 0.5f, (float)y + 0.5f))) ++n;
        return n;
    }
    static bool isBlue(const ccColor4B& c) { return c.b > 180 && c.r < 60 && c.g < 60; }
    static bool isLit(const ccColor4B& c) { return c.r + c.g + c.b > 60; }
    std::string m_oldRoot;
};

}  // namespace

// --- CCLabelTTF ---------------------------------------------------------------------------

TEST_F(LabelTest, ContentSizeFollowsTheText) {
    CCLabelTTF* label = CCLabelTTF::create("Hello", "Arial", 22);
    ASSERT_NE(nullptr, label);
    CCSize hello = label->getContentSize();
    EXPECT_GT(hello.width, 30);
    EXPECT_GT(hello.height, 15);
    EXPECT_EQ(CCPoint(0.5f, 0.5f), label->getAnchorPoint());

    label->setString("Hello, and welcome back");
    EXPECT_GT(label->getContentSize().width, hello.width * 2);
    EXPECT_EQ(hello.height, label->getContentSize().height);

    label->setString(nullptr);  // null keeps the text
    EXPECT_STREQ("Hello, and welcome back", label->getString());

    label->setString("Hello");
    label->setFontSize(44);
    EXPECT_GT(label->getContentSize().height, hello.height * 1.6f);
    EXPECT_EQ(44, label->getFontSize());

    label->setString("Hello\nagain");  // a line break without dimensions: two lines
    EXPECT_GT(label->getContentSize().height, hello.height * 2 * 1.6f);

    label->setString("");
    EXPECT_EQ(CCSizeZero, label->getContentSize());
}

TEST_F(LabelTest, DimensionsWrapAtTheWidthAndFixTheHeight) {
    const char* text = "Good morning, class. Today we read a story about a little red bus.";
    CCLabelTTF* oneLine = CCLabelTTF::create(text, "Arial", 22);
    CCLabelTTF* label = CCLabelTTF::create(text, "Arial", 22, CCSize(160, 0), kTextAlignmentCenter);
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(160, label->getContentSize().width) << "exactly the wrap width";
    EXPECT_GE(label->getContentSize().height, oneLine->getContentSize().height * 3);
    EXPECT_EQ(kTextAlignmentCenter, label->getHorizontalAlignment());

    // The caption's way of using it: width only, then the text; the height follows.
    label->setDimensions(CCSize(400, 0));
    label->setString("Short");
    EXPECT_EQ(CCSize(400, oneLine->getContentSize().height), label->getContentSize());

    label->setDimensions(CCSize(200, 150));
    EXPECT_EQ(CCSize(200, 150), label->getContentSize());
    label->setString("");
    EXPECT_EQ(CCSize(200, 150), label->getContentSize()) << "an empty label keeps its box";

    // Absurd dimensions count as none.
    label->setString("ok");
    label->setDimensions(CCSize(-10, -10));
    EXPECT_EQ(oneLine->getContentSize().height, label->getContentSize().height);
}

TEST_F(LabelTest, UnknownFontFallsBackAndStillDraws) {
    CCLabelTTF* label = CCLabelTTF::create("Fallback", "No Such Font Family", 30);
    ASSERT_NE(nullptr, label);
    EXPECT_GT(label->getContentSize().width, 50);
    label->setFontName("");  // ignored
    EXPECT_STREQ("No Such Font Family", label->getFontName());
}

TEST_F(LabelTest, ColourAndOpacityTintTheText) {
    CCLabelTTF* label = CCLabelTTF::create("HHHH", "Arial", 40);
    label->setColor(ccColor3B(0, 0, 255));
    label->setPosition(320, 480);
    show(label);
    CCRect box(320 - label->getContentSize().width / 2, 480 - label->getContentSize().height / 2,
               label->getContentSize().width, label->getContentSize().height);
    int blue = count(box, isBlue);
    EXPECT_GT(blue, 200) << "the letters are drawn in the label's colour";
    EXPECT_EQ(0, count(box, [](const ccColor4B& c) { return c.r > 60 || c.g > 60; }));

    label->setOpacity(0);
    step();
    drawFrame();
    EXPECT_EQ(0, count(box, isLit));
}

TEST_F(LabelTest, TextChangedByAScheduledCallbackShowsOnTheNextFrame) {
    // A still frame is skipped, so a text change must raise the redraw flag itself.
    struct Changer : public CCLayer {
        CCLabelTTF* label = nullptr;
        void change(float) {
            label->setString("WWWWWWWW");
            unschedule(memberCallback(&Changer::change));
        }
    };
    Changer* layer = new Changer();
    layer->init();
    layer->autorelease();
    layer->label = CCLabelTTF::create("i", "Arial", 40);
    layer->label->setPosition(320, 480);
    layer->addChild(layer->label);
    show(layer);
    step();
    unsigned int drawn = CCDirector::sharedDirector()->getDrawnFrames();
    step();
    EXPECT_EQ(drawn, CCDirector::sharedDirector()->getDrawnFrames()) << "idle frame skipped";
    int before = count(CCRect(200, 450, 240, 60), isLit);

    layer->schedule(memberCallback(&Changer::change), 0.1f);
    advance(0.1);
    EXPECT_GT(CCDirector::sharedDirector()->getDrawnFrames(), drawn);
    EXPECT_GT(count(CCRect(200, 450, 240, 60), isLit), before * 3);
}

TEST_F(LabelTest, WrappedCentredLabelMatchesItsReferenceImage) {
    CCScene* scene = CCScene::create();
    scene->addChild(CCLayerColor::create(ccColor4B(250, 246, 230, 255)));
    CCLabelTTF* caption =
        CCLabelTTF::create("Touch a sentence to hear it read aloud, then touch the next one.",
                           "Arial", 22, CCSize(300, 0), kTextAlignmentCenter);
    caption->setColor(ccColor3B(0, 0, 255));
    caption->setPosition(320, 480);
    scene->addChild(caption);
    CCLabelTTF* boxed = CCLabelTTF::create("Bottom right", "Arial", 18, CCSize(200, 80),
                                           kTextAlignmentRight, kVerticalTextAlignmentBottom);
    boxed->setColor(ccColor3B(120, 0, 0));
    boxed->setPosition(320, 300);
    scene->addChild(boxed);
    CCLayerColor* frame = CCLayerColor::create(ccColor4B(0, 0, 0, 40), 200, 80);
    frame->setPosition(220, 260);
    scene->addChild(frame);
    run(scene);
    drawFrame();
    EXPECT_TRUE(matchesReference("labels/wrapped_centred_label.png"));
}

// --- CCLabelAtlas -------------------------------------------------------------------------

TEST_F(LabelTest, AtlasDrawsOneCellPerCharacter) {
    CCLabelAtlas* label = CCLabelAtlas::create("2019", "digits.png", 8, 12, '0');
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(CCSize(32, 12), label->getContentSize());
    label->setPosition(100, 100);
    show(label);
    // Cell i of the map is the colour (25 i, 255 - 25 i, 100).
    const int digits[] = {2, 0, 1, 9};
    for (int i = 0; i < 4; ++i) {
        int d = digits[i];
        EXPECT_EQ(colorString(ccColor4B(25 * d, 255 - 25 * d, 100, 255)),
                  colorString(probe(100 + 8 * i + 4, 106)))
            << "character " << i;
    }

    // A character outside the map leaves a blank cell.
    label->setString("1x1");
    EXPECT_EQ(CCSize(24, 12), label->getContentSize());
    step();
    drawFrame();
    EXPECT_EQ("0,0,0,255", colorString(probe(112, 106)));
    EXPECT_EQ(colorString(ccColor4B(25, 230, 100, 255)), colorString(probe(120, 106)));
}

TEST_F(LabelTest, AtlasWithoutAMapDrawsNothingAndBadMapsAreRefused) {
    CCLabelAtlas* empty = CCLabelAtlas::create();
    ASSERT_NE(nullptr, empty);
    EXPECT_FALSE(empty->isInitialized());
    empty->setString("123");
    empty->setPosition(50, 50);
    show(empty);
    EXPECT_EQ(0, count(CCRect(40, 40, 60, 30), isLit));

    EXPECT_EQ(nullptr, CCLabelAtlas::create("1", "missing.png", 8, 12, '0'));
    EXPECT_EQ(nullptr, CCLabelAtlas::create("1", "digits.png", 0, 12, '0'));
    EXPECT_EQ(nullptr, CCLabelAtlas::create("1", nullptr, 8, 12, '0'));
}

// --- CCLabelBMFont ------------------------------------------------------------------------

TEST_F(LabelTest, BitmapFontPlacesGlyphsWithOffsetsAndKerning) {
    CCLabelBMFont* label = CCLabelBMFont::create("AB", "tiny.fnt");
    ASSERT_NE(nullptr, label);
    // advance A 12, kerning A-B -2, advance B 11; one line of 16.
    EXPECT_EQ(CCSize(21, 16), label->getContentSize());
    label->setAnchorPoint(CCPointZero);
    label->setPosition(100, 100);
    show(label);
    // A: x offset 1, 10 high, 2 below the line top -> x 101..110, y 104..113.
    EXPECT_EQ("255,0,0,255", colorString(probe(101.5f, 104.5f)));
    EXPECT_EQ("0,0,0,255", colorString(probe(100.5f, 104.5f)));
    EXPECT_EQ("0,0,0,255", colorString(probe(105, 114.5f)));
    // B starts at 12 - 2 = 10.
    EXPECT_EQ("0,255,0,255", colorString(probe(115, 108)));
}

TEST_F(LabelTest, BitmapFontBreaksLinesAndAligns) {
    CCLabelBMFont* label = CCLabelBMFont::create("A\nCC", "tiny.fnt");
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(CCSize(14, 32), label->getContentSize());

    label->setString("A A A");
    label->setWidth(30);  // "A A" is 12 + 5 + 12 = 29 wide, three do not fit
    EXPECT_EQ(CCSize(30, 32), label->getContentSize());

    label->setWidth(kLabelAutomaticWidth);
    label->setString("A\nCC");
    label->setAlignment(kTextAlignmentRight);
    label->setAnchorPoint(CCPointZero);
    label->setPosition(100, 100);
    show(label);
    // Line 1 "A" (12 wide) is pushed right by 2 within the 14-wide block.
    EXPECT_EQ("255,0,0,255", colorString(probe(103.5f, 120.5f)));
    EXPECT_EQ("0,0,0,255", colorString(probe(102.5f, 120.5f)));
}

TEST_F(LabelTest, BrokenBitmapFontsAreRefused) {
    EXPECT_EQ(nullptr, CCLabelBMFont::create("A", "missing.fnt"));
    EXPECT_EQ(nullptr, CCLabelBMFont::create("A", "broken.fnt"));
    EXPECT_EQ(nullptr, CCLabelBMFont::create("A", "nopage.fnt"));
    EXPECT_EQ(nullptr, CCLabelBMFont::create("A", ""));
    CCLabelBMFont* label = CCLabelBMFont::create("AB", "tiny.fnt");
    ASSERT_NE(nullptr, label);
    label->setFntFile("broken.fnt");  // keeps the font it had
    EXPECT_STREQ("tiny.fnt", label->getFntFile());
    // Characters the font lacks are skipped, not drawn as garbage.
    label->setString("A?\xC3\xA9");
    EXPECT_EQ(CCSize(12, 16), label->getContentSize());
}
