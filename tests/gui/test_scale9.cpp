// The nine-slice sprite: how it cuts its image (plain and rotated frames), how it places the
// pieces, cap insets and margins, tint across rebuilds, failures, and what it draws.
#include <cmath>
#include <string>

#include "GuiTestSupport.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteBatchNode.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/CCScale9Sprite.h"
#include "gui/GUIRenderer.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// The nine bands' colours in nine.png (and in the banded sheet frames).
const ccColor4B kTopLeft = ccColor4B(255, 0, 0, 255), kTop = ccColor4B(0, 255, 0, 255),
                kTopRight = ccColor4B(0, 0, 255, 255), kLeft = ccColor4B(255, 255, 0, 255),
                kCentre = ccColor4B(255, 0, 255, 255), kRight = ccColor4B(0, 255, 255, 255),
                kBottomLeft = ccColor4B(255, 128, 0, 255), kBottom = ccColor4B(128, 0, 255, 255),
                kBottomRight = ccColor4B(128, 128, 128, 255);

struct PieceCase {
    const char* name;
    CCSprite* (CCScale9Sprite::*piece)() const;
    CCRect textureRect;
    int zOrder, tag;
};

void expectPieces(CCScale9Sprite* s, const PieceCase (&cases)[9], bool rotated) {
    for (const PieceCase& c : cases) {
        CCSprite* piece = (s->*c.piece)();
        ASSERT_NE(nullptr, piece) << c.name;
        const CCRect& r = piece->getTextureRect();
        EXPECT_TRUE(r.equals(c.textureRect))
            << c.name << ": got " << r.origin.x << "," << r.origin.y << " " << r.size.width << "x"
            << r.size.height;
        EXPECT_EQ(c.zOrder, piece->getZOrder()) << c.name;
        EXPECT_EQ(c.tag, piece->getTag()) << c.name;
        EXPECT_EQ(rotated, piece->isTextureRectRotated()) << c.name;
        EXPECT_EQ(s->getBatchNode(), piece->getParent()) << c.name;
    }
}

class Scale9Test : public pagly::test::GuiTest {
  protected:
    CCScale9Sprite* nine(const CCRect& insets = CCRectZero) {
        CCScale9Sprite* s = CCScale9Sprite::create();
        EXPECT_TRUE(s->initWithFile(insets, "nine.png"));
        return s;
    }
    void loadSheet() {
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    }
};

TEST_F(Scale9Test, ANewOneIsEmpty) {
    CCScale9Sprite* s = CCScale9Sprite::create();
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(nullptr, s->getBatchNode());
    EXPECT_EQ(nullptr, s->getCentre());
    EXPECT_EQ(CCSizeZero, s->getContentSize());
    s->setCapInsets(CCRect(1, 1, 1, 1));  // dropped: nothing to cut
    EXPECT_TRUE(s->getCapInsets().equals(CCRectZero));
    s->layoutNow();  // nothing to place
}

TEST_F(Scale9Test, ZeroInsetsCutThreeEqualBandsEachWay) {
    CCScale9Sprite* s = nine();
    EXPECT_EQ(CCSize(30, 30), s->getSourceSize());
    EXPECT_EQ(CCSize(30, 30), s->getPreferredSize());
    EXPECT_EQ(CCSize(30, 30), s->getContentSize());
    EXPECT_EQ(CCPoint(0.5f, 0.5f), s->getAnchorPoint());
    EXPECT_TRUE(s->getEffectiveCapInsets().equals(CCRect(10, 10, 10, 10)));
    EXPECT_TRUE(s->getCapInsets().equals(CCRectZero));
    EXPECT_EQ(9u, s->getBatchNode()->getChildrenCount());
    const PieceCase cases[9] = {
        {"centre", &CCScale9Sprite::getCentre, CCRect(10, 10, 10, 10), 0, 0},
        {"top", &CCScale9Sprite::getTop, CCRect(10, 0, 10, 10), 1, 1},
        {"bottom", &CCScale9Sprite::getBottom, CCRect(10, 20, 10, 10), 1, 4},
        {"left", &CCScale9Sprite::getLeft, CCRect(0, 10, 10, 10), 1, 2},
        {"right", &CCScale9Sprite::getRight, CCRect(20, 10, 10, 10), 1, 3},
        {"topLeft", &CCScale9Sprite::getTopLeft, CCRect(0, 0, 10, 10), 2, 6},
        {"topRight", &CCScale9Sprite::getTopRight, CCRect(20, 0, 10, 10), 2, 5},
        {"bottomLeft", &CCScale9Sprite::getBottomLeft, CCRect(0, 20, 10, 10), 2, 8},
        {"bottomRight", &CCScale9Sprite::getBottomRight, CCRect(20, 20, 10, 10), 2, 7},
    };
    expectPieces(s, cases, false);
}

TEST_F(Scale9Test, UnevenInsetsAndAFrameOffsetInItsSheet) {
    loadSheet();
    CCScale9Sprite* s = CCScale9Sprite::create();
    // L 5, T 8, centre 12 x 10, so R 13 and B 12; the frame sits at (2, 2) in its sheet.
    ASSERT_TRUE(s->initWithSpriteFrameName("nine_frame.png", CCRect(5, 8, 12, 10)));
    const PieceCase cases[9] = {
        {"centre", &CCScale9Sprite::getCentre, CCRect(7, 10, 12, 10), 0, 0},
        {"top", &CCScale9Sprite::getTop, CCRect(7, 2, 12, 8), 1, 1},
        {"bottom", &CCScale9Sprite::getBottom, CCRect(7, 20, 12, 12), 1, 4},
        {"left", &CCScale9Sprite::getLeft, CCRect(2, 10, 5, 10), 1, 2},
        {"right", &CCScale9Sprite::getRight, CCRect(19, 10, 13, 10), 1, 3},
        {"topLeft", &CCScale9Sprite::getTopLeft, CCRect(2, 2, 5, 8), 2, 6},
        {"topRight", &CCScale9Sprite::getTopRight, CCRect(19, 2, 13, 8), 2, 5},
        {"bottomLeft", &CCScale9Sprite::getBottomLeft, CCRect(2, 20, 5, 12), 2, 8},
        {"bottomRight", &CCScale9Sprite::getBottomRight, CCRect(19, 20, 13, 12), 2, 7},
    };
    expectPieces(s, cases, false);
    EXPECT_TRUE(s->getSpriteRect().equals(CCRect(2, 2, 30, 30)));
}

// A 30 x 20 image stored turned a quarter clockwise at (40, 2): each piece keeps its upright
// size, and its origin moves to where the turned piece lies in the sheet.
TEST_F(Scale9Test, RotatedFramesCutInUprightSpace) {
    loadSheet();
    CCScale9Sprite* s = CCScale9Sprite::create();
    ASSERT_TRUE(s->initWithSpriteFrameName("wide_rotated.png", CCRect(10, 5, 10, 10)));
    EXPECT_TRUE(s->isSpriteFrameRotated());
    EXPECT_EQ(CCSize(30, 20), s->getContentSize());
    const PieceCase cases[9] = {
        {"centre", &CCScale9Sprite::getCentre, CCRect(45, 12, 10, 10), 0, 0},
        {"top", &CCScale9Sprite::getTop, CCRect(55, 12, 10, 5), 1, 1},
        {"bottom", &CCScale9Sprite::getBottom, CCRect(40, 12, 10, 5), 1, 4},
        {"left", &CCScale9Sprite::getLeft, CCRect(45, 2, 10, 10), 1, 2},
        {"right", &CCScale9Sprite::getRight, CCRect(45, 22, 10, 10), 1, 3},
        {"topLeft", &CCScale9Sprite::getTopLeft, CCRect(55, 2, 10, 5), 2, 6},
        {"topRight", &CCScale9Sprite::getTopRight, CCRect(55, 22, 10, 5), 2, 5},
        {"bottomLeft", &CCScale9Sprite::getBottomLeft, CCRect(40, 2, 10, 5), 2, 8},
        {"bottomRight", &CCScale9Sprite::getBottomRight, CCRect(40, 22, 10, 5), 2, 7},
    };
    expectPieces(s, cases, true);
}

TEST_F(Scale9Test, PreferredSizeStretchesEdgesAndCentreButNotCorners) {
    CCScale9Sprite* s = nine(CCRect(10, 10, 10, 10));
    s->setPreferredSize(CCSize(100, 40));
    EXPECT_EQ(CCSize(100, 40), s->getPreferredSize());
    EXPECT_EQ(CCSize(100, 40), s->getContentSize());
    s->layoutNow();
    struct Case {
        const char* name;
        CCSprite* piece;
        CCPoint position;
        float scaleX, scaleY;
    } cases[] = {
        {"bottomLeft", s->getBottomLeft(), {0, 0}, 1, 1},
        {"bottomRight", s->getBottomRight(), {90, 0}, 1, 1},
        {"topLeft", s->getTopLeft(), {0, 30}, 1, 1},
        {"topRight", s->getTopRight(), {90, 30}, 1, 1},
        {"left", s->getLeft(), {0, 10}, 1, 2},
        {"right", s->getRight(), {90, 10}, 1, 2},
        {"bottom", s->getBottom(), {10, 0}, 8, 1},
        {"top", s->getTop(), {10, 30}, 8, 1},
        {"centre", s->getCentre(), {10, 10}, 8, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.position, c.piece->getPosition()) << c.name;
        EXPECT_FLOAT_EQ(c.scaleX, c.piece->getScaleX()) << c.name;
        EXPECT_FLOAT_EQ(c.scaleY, c.piece->getScaleY()) << c.name;
        EXPECT_EQ(CCPointZero, c.piece->getAnchorPoint()) << c.name;
    }
}

TEST_F(Scale9Test, ASizeSmallerThanTheCornersMirrorsThePiecesWithoutClamping) {
    CCScale9Sprite* s = nine();
    s->setPreferredSize(CCSize(10, 10));
    s->layoutNow();
    EXPECT_FLOAT_EQ(-1, s->getCentre()->getScaleX());
    EXPECT_FLOAT_EQ(-1, s->getCentre()->getScaleY());
    EXPECT_EQ(CCPoint(0, 0), s->getTopRight()->getPosition());
}

// How to draw a centre of no width is left open: the pieces stay finite and the far corners
// still reach the far edge.
TEST_F(Scale9Test, ACentreOfNoWidthKeepsThePiecesFinite) {
    CCScale9Sprite* s = nine(CCRect(15, 10, 0, 10));
    s->setPreferredSize(CCSize(60, 30));
    s->layoutNow();
    for (CCSprite* p : {s->getCentre(), s->getTop(), s->getBottom(), s->getRight()}) {
        EXPECT_TRUE(std::isfinite(p->getScaleX()));
        EXPECT_TRUE(std::isfinite(p->getPosition().x));
    }
    EXPECT_FLOAT_EQ(45, s->getTopRight()->getPosition().x);  // 60 - its 15 pixels
}

TEST_F(Scale9Test, NewCapInsetsRecutButKeepTheSizeOnScreen) {
    CCScale9Sprite* s = nine();
    s->setPreferredSize(CCSize(100, 40));
    s->setCapInsets(CCRect(5, 5, 20, 20));
    EXPECT_EQ(CCSize(100, 40), s->getContentSize());
    // The rebuild resets the remembered preferred size to the source size.
    EXPECT_EQ(CCSize(30, 30), s->getPreferredSize());
    EXPECT_TRUE(s->getCapInsets().equals(CCRect(5, 5, 20, 20)));
    EXPECT_TRUE(s->getTopLeft()->getTextureRect().equals(CCRect(0, 0, 5, 5)));
    s->layoutNow();
    EXPECT_FLOAT_EQ(90.0f / 20.0f, s->getCentre()->getScaleX());
}

TEST_F(Scale9Test, InsetMarginsBecomeCapInsetsAndAllZeroRestoresThirds) {
    CCScale9Sprite* s = nine();
    s->setInsetLeft(4);
    EXPECT_TRUE(s->getCapInsets().equals(CCRect(4, 0, 26, 30)));
    s->setInsetTop(3);
    s->setInsetRight(6);
    s->setInsetBottom(7);
    EXPECT_TRUE(s->getCapInsets().equals(CCRect(4, 3, 20, 20)));
    EXPECT_FLOAT_EQ(6, s->getInsetRight());
    s->setInsetLeft(0);
    s->setInsetTop(0);
    s->setInsetRight(0);
    s->setInsetBottom(0);
    EXPECT_TRUE(s->getCapInsets().equals(CCRectZero));
    EXPECT_TRUE(s->getEffectiveCapInsets().equals(CCRect(10, 10, 10, 10)));
}

// The pieces of a rotated frame are cut in the image's upright space, so its margins must map
// exactly as an upright image's do (not with left and bottom exchanged).
TEST_F(Scale9Test, InsetMarginsOfARotatedFrameMapAsForAnUprightOne) {
    loadSheet();
    CCScale9Sprite* s = CCScale9Sprite::create();
    ASSERT_TRUE(s->initWithSpriteFrameName("wide_rotated.png"));
    s->setInsetLeft(10);
    s->setInsetTop(5);
    s->setInsetRight(10);
    s->setInsetBottom(5);
    EXPECT_TRUE(s->getCapInsets().equals(CCRect(10, 5, 10, 10)));
    EXPECT_FLOAT_EQ(10, s->getTopLeft()->getContentSize().width);
    EXPECT_FLOAT_EQ(5, s->getTopLeft()->getContentSize().height);
    EXPECT_FLOAT_EQ(10, s->getBottomRight()->getContentSize().width);
}

TEST_F(Scale9Test, TintSetAfterTheImageSurvivesReinitialisationAndRecutting) {
    CCScale9Sprite* s = CCScale9Sprite::create();
    s->setColor(ccColor3B(0, 0, 255));  // before any image: lost
    s->setOpacity(10);
    EXPECT_EQ(kColorWhite, s->getColor());
    ASSERT_TRUE(s->initWithFile("nine.png"));
    EXPECT_EQ(kColorWhite, s->getCentre()->getColor());
    EXPECT_EQ(255, s->getCentre()->getOpacity());

    s->setColor(ccColor3B(255, 0, 0));
    s->setOpacity(128);
    ASSERT_TRUE(s->initWithFile("photo.png"));
    EXPECT_EQ(ccColor3B(255, 0, 0), s->getColor());
    for (CCSprite* p : {s->getCentre(), s->getTopLeft(), s->getBottomRight()}) {
        EXPECT_EQ(ccColor3B(255, 0, 0), p->getColor());
        EXPECT_EQ(128, p->getOpacity());
    }
    s->setCapInsets(CCRect(2, 2, 2, 2));
    EXPECT_EQ(ccColor3B(255, 0, 0), s->getTop()->getColor());
}

TEST_F(Scale9Test, ACascadedColourBecomesItsOwn) {
    GUIRenderer* parent = GUIRenderer::create();
    parent->setCascadeColorEnabled(true);
    parent->setCascadeOpacityEnabled(true);
    CCScale9Sprite* s = nine();
    parent->addChild(s);
    parent->setColor(ccColor3B(0, 255, 0));
    parent->setOpacity(50);
    EXPECT_EQ(ccColor3B(0, 255, 0), s->getColor());
    EXPECT_EQ(50, s->getOpacity());
    EXPECT_EQ(ccColor3B(0, 255, 0), s->getLeft()->getColor());
}

TEST_F(Scale9Test, AnUnknownFrameNameFailsAndChangesNothing) {
    CCScale9Sprite* s = nine();
    CCSpriteBatchNode* batch = s->getBatchNode();
    EXPECT_FALSE(s->initWithSpriteFrameName("no-such-frame.png"));
    EXPECT_EQ(batch, s->getBatchNode());
    EXPECT_EQ(CCSize(30, 30), s->getContentSize());
}

TEST_F(Scale9Test, AMissingImageFileKeepsThePreviousPiecesAndSays) {
    CCScale9Sprite* s = nine();
    s->setPreferredSize(CCSize(50, 50));
    CCSprite* centre = s->getCentre();
    clearLog();
    EXPECT_TRUE(s->initWithFile("missing.png"));
    EXPECT_EQ(centre, s->getCentre());
    EXPECT_EQ(CCSize(50, 50), s->getContentSize());
    EXPECT_FALSE(logLines().empty());
}

TEST_F(Scale9Test, SpriteFramesCreateAndReplaceTheImage) {
    loadSheet();
    CCSpriteFrame* frame =
        CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("small_button.png");
    ASSERT_NE(nullptr, frame);
    CCScale9Sprite* s = CCScale9Sprite::createWithSpriteFrame(frame);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(CCSize(20, 10), s->getContentSize());
    EXPECT_EQ(nullptr, CCScale9Sprite::createWithSpriteFrame(nullptr));

    CCScale9Sprite* other = nine();
    other->setInsetLeft(3);
    other->setSpriteFrame(frame);
    EXPECT_FLOAT_EQ(0, other->getInsetLeft());
    EXPECT_TRUE(other->getCapInsets().equals(CCRectZero));
    EXPECT_EQ(CCSize(20, 10), other->getSourceSize());
}

// --- pixels ---

class Scale9PixelTest : public pagly::test::GuiPixelTest {};

// Each band's colour must land where its piece belongs, for a plain and a rotated frame.
TEST_F(Scale9PixelTest, PiecesTileTheStretchedRectangle) {
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet9.plist");
    CCScene* scene = runScene();
    CCScale9Sprite* plain = CCScale9Sprite::create();
    plain->initWithFile(CCRect(10, 10, 10, 10), "nine.png");
    plain->setPreferredSize(CCSize(100, 40));
    plain->setAnchorPoint(CCPointZero);
    plain->setPosition(CCPoint(100, 100));  // x 100..200, y 100..140
    scene->addChild(plain);
    CCScale9Sprite* turned = CCScale9Sprite::create();
    turned->initWithSpriteFrameName("wide_rotated.png", CCRect(10, 5, 10, 10));
    turned->setPreferredSize(CCSize(100, 40));
    turned->setAnchorPoint(CCPointZero);
    turned->setPosition(CCPoint(100, 300));  // corners 10 x 5: x 100..200, y 300..340
    scene->addChild(turned);
    drawFrame();

    struct Probe {
        float x, y;
        ccColor4B colour;
    } probes[] = {
        // plain: corners 10 x 10
        {105, 135, kTopLeft},
        {150, 135, kTop},
        {195, 135, kTopRight},
        {105, 120, kLeft},
        {150, 120, kCentre},
        {195, 120, kRight},
        {105, 105, kBottomLeft},
        {150, 105, kBottom},
        {195, 105, kBottomRight},
        // rotated: corners 10 x 5
        {105, 338, kTopLeft},
        {150, 338, kTop},
        {195, 338, kTopRight},
        {105, 320, kLeft},
        {150, 320, kCentre},
        {195, 320, kRight},
        {105, 302, kBottomLeft},
        {150, 302, kBottom},
        {195, 302, kBottomRight},
    };
    for (const Probe& p : probes) {
        EXPECT_PRED3(pagly::test::colorNear, p.colour, probe(p.x, p.y), 0)
            << "at " << p.x << "," << p.y << ": " << pagly::test::colorString(probe(p.x, p.y));
    }
    // Nothing outside the rectangle: the background shows there.
    EXPECT_PRED3(pagly::test::colorNear, probe(600, 900), probe(201, 120), 0);
    EXPECT_PRED3(pagly::test::colorNear, probe(600, 900), probe(150, 141), 0);
}

}  // namespace
