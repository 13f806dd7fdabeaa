// Colour and gradient layers, draw nodes and clipping nodes on screen.
#include <gtest/gtest.h>

#include "engine/nodes/CCClippingNode.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Offscreen.h"

using namespace pagly::engine;
using pagly::test::colorNear;
using pagly::test::colorString;

namespace {

class LayerTest : public pagly::test::OffscreenTest {
  protected:
    void show(CCNode* node) {
        CCScene* scene = CCScene::create();
        scene->addChild(node);
        run(scene);
        drawFrame();
    }
};

TEST_F(LayerTest, ColourLayerFillsItsSizeFromItsPosition) {
    CCLayerColor* layer = CCLayerColor::create(ccColor4B(255, 0, 0, 255), 100, 50);
    layer->setPosition(200, 300);
    show(layer);
    EXPECT_EQ("255,0,0,255", colorString(probe(200, 300)));
    EXPECT_EQ("255,0,0,255", colorString(probe(299, 349)));
    EXPECT_EQ("0,0,0,255", colorString(probe(300, 320)));
    EXPECT_EQ("0,0,0,255", colorString(probe(250, 350)));

    layer->changeWidth(200);
    layer->setColor(ccColor3B(0, 0, 255));
    layer->setOpacity(128);
    drawFrame();
    ccColor4B c = probe(350, 320);
    EXPECT_EQ(0, c.r);
    EXPECT_NEAR(c.b, 128, 1);
}

TEST_F(LayerTest, DefaultColourLayerIsTransparentAndScreenSized) {
    CCLayerColor* layer = CCLayerColor::create();
    EXPECT_EQ(CCSize(640, 960), layer->getContentSize());
    EXPECT_EQ(0, layer->getOpacity());
    show(layer);
    EXPECT_EQ("0,0,0,255", colorString(probe(320, 480)));
}

TEST_F(LayerTest, GradientRunsFromStartToEndAlongItsVector) {
    struct Case {
        const char* name;
        CCPoint vector;
        CCPoint startPoint, endPoint;  // where the pure start / end colours show
    } cases[] = {
        {"default: top to bottom", CCPoint(0, -1), CCPoint(320, 959), CCPoint(320, 0)},
        {"left to right", CCPoint(1, 0), CCPoint(0, 480), CCPoint(639, 480)},
        {"bottom to top", CCPoint(0, 1), CCPoint(320, 0), CCPoint(320, 959)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCLayerGradient* g =
            CCLayerGradient::create(ccColor4B(255, 0, 0, 255), ccColor4B(0, 0, 255, 255), c.vector);
        show(g);
        EXPECT_TRUE(colorNear(ccColor4B(255, 0, 0, 255), probe(c.startPoint.x, c.startPoint.y), 3))
            << colorString(probe(c.startPoint.x, c.startPoint.y));
        EXPECT_TRUE(colorNear(ccColor4B(0, 0, 255, 255), probe(c.endPoint.x, c.endPoint.y), 3))
            << colorString(probe(c.endPoint.x, c.endPoint.y));
        ccColor4B mid = probe(320, 480);
        EXPECT_NEAR(mid.r, 128, 4);
        EXPECT_NEAR(mid.b, 128, 4);
    }
}

TEST_F(LayerTest, GradientOpacitiesFadeTheEnds) {
    CCLayerGradient* g = CCLayerGradient::create();
    EXPECT_EQ(CCPoint(0, -1), g->getVector());
    g->setStartColor(ccColor3B(255, 255, 255));
    g->setEndColor(ccColor3B(255, 255, 255));
    g->setStartOpacity(255);
    g->setEndOpacity(0);
    show(g);
    EXPECT_TRUE(colorNear(ccColor4B(255, 255, 255, 255), probe(320, 959), 3));
    EXPECT_TRUE(colorNear(ccColor4B(0, 0, 0, 255), probe(320, 0), 3));
    // A zero vector must not poison the colours (falls back to top-to-bottom).
    g->setVector(CCPointZero);
    drawFrame();
    EXPECT_TRUE(colorNear(ccColor4B(255, 255, 255, 255), probe(320, 959), 3));
}

TEST_F(LayerTest, ClippingNodeCutsChildrenToTheStencilRectangle) {
    CCDrawNode* stencil = CCDrawNode::create();
    CCPoint rect[4] = {CCPoint(0, 0), CCPoint(100, 0), CCPoint(100, 50), CCPoint(0, 50)};
    stencil->drawPolygon(rect, 4, ccColor4F(0, 1, 0, 1), 0, ccColor4F(0, 1, 0, 1));
    CCClippingNode* clip = CCClippingNode::create(stencil);
    clip->setPosition(200, 200);
    CCLayerColor* child = CCLayerColor::create(ccColor4B(255, 0, 0, 255), 300, 300);
    child->setPosition(-50, -50);  // spills out on every side
    clip->addChild(child);
    show(clip);
    EXPECT_EQ("255,0,0,255", colorString(probe(200, 200)));
    EXPECT_EQ("255,0,0,255", colorString(probe(299, 249)));
    EXPECT_EQ("0,0,0,255", colorString(probe(199, 220)));
    EXPECT_EQ("0,0,0,255", colorString(probe(300, 220)));
    EXPECT_EQ("0,0,0,255", colorString(probe(250, 250)));
    EXPECT_EQ("0,0,0,255", colorString(probe(250, 199)));

    // The clip follows the clipping node's transform.
    clip->setScale(2);
    drawFrame();
    EXPECT_EQ("255,0,0,255", colorString(probe(390, 290)));
    EXPECT_EQ("0,0,0,255", colorString(probe(401, 290)));

    // Nested clipping intersects; after it, drawing is unclipped again.
    clip->setScale(1);
    CCDrawNode* inner = CCDrawNode::create();
    CCPoint small[4] = {CCPoint(80, 0), CCPoint(200, 0), CCPoint(200, 10), CCPoint(80, 10)};
    inner->drawPolygon(small, 4, ccColor4F(1, 1, 1, 1), 0, ccColor4F(1, 1, 1, 1));
    CCClippingNode* nested = CCClippingNode::create(inner);
    CCLayerColor* blue = CCLayerColor::create(ccColor4B(0, 0, 255, 255), 640, 960);
    nested->addChild(blue);
    child->removeFromParent();
    clip->addChild(nested);
    CCLayerColor* after = CCLayerColor::create(ccColor4B(0, 255, 0, 255), 10, 10);
    after->setPosition(600, 900);
    clip->getParent()->addChild(after);
    drawFrame();
    EXPECT_EQ("0,0,255,255", colorString(probe(290, 205)));
    EXPECT_EQ("0,0,0,255", colorString(probe(270, 205)));  // outside the inner stencil
    EXPECT_EQ("0,0,0,255", colorString(probe(310, 205)));  // outside the outer stencil
    EXPECT_EQ("0,255,0,255", colorString(probe(605, 905)));
}

TEST_F(LayerTest, ClippingNodeWithoutStencilDrawsNothingUnlessInverted) {
    CCClippingNode* clip = CCClippingNode::create();
    clip->addChild(CCLayerColor::create(ccColor4B(255, 0, 0, 255)));
    show(clip);
    EXPECT_EQ("0,0,0,255", colorString(probe(320, 480)));
    clip->setInverted(true);
    EXPECT_TRUE(logged("CCClippingNode: inverted clipping is not supported; drawing unclipped"));
    drawFrame();
    EXPECT_EQ("255,0,0,255", colorString(probe(320, 480)));
}

TEST_F(LayerTest, DrawNodeFillsPolygonsDotsAndSegmentsAndClears) {
    CCDrawNode* d = CCDrawNode::create();
    CCPoint tri[3] = {CCPoint(100, 100), CCPoint(200, 100), CCPoint(100, 200)};
    d->drawPolygon(tri, 3, ccColor4F(1, 0, 0, 1), 2, ccColor4F(0, 0, 1, 1));
    d->drawDot(CCPoint(400, 400), 20, ccColor4F(0, 1, 0, 1));
    d->drawSegment(CCPoint(300, 600), CCPoint(500, 600), 5, ccColor4F(1, 1, 1, 1));
    CCRect box = d->getBoundingRect();  // border 2 around the triangle, segment cap radius 5
    EXPECT_NEAR(98, box.getMinX(), 1e-3);
    EXPECT_NEAR(98, box.getMinY(), 1e-3);
    EXPECT_NEAR(505, box.getMaxX(), 1e-3);
    EXPECT_NEAR(605, box.getMaxY(), 1e-3);
    show(d);
    EXPECT_EQ("255,0,0,255", colorString(probe(120, 120)));
    EXPECT_EQ("0,0,255,255", colorString(probe(150, 99)));  // the border below the base
    EXPECT_EQ("0,255,0,255", colorString(probe(400, 400)));
    EXPECT_EQ("255,255,255,255", colorString(probe(400, 600)));
    EXPECT_EQ("0,0,0,255", colorString(probe(400, 610)));
    d->clear();
    EXPECT_TRUE(d->isEmpty());
    drawFrame();
    EXPECT_EQ("0,0,0,255", colorString(probe(120, 120)));

    // Nonsense shapes are ignored, not drawn half-way.
    CCPoint bad[3] = {CCPoint(0, 0), CCPoint(NAN, 1), CCPoint(1, 1)};
    d->drawPolygon(bad, 3, ccColor4F(1, 1, 1, 1), 0, ccColor4F(1, 1, 1, 1));
    d->drawPolygon(tri, 2, ccColor4F(1, 1, 1, 1), 0, ccColor4F(1, 1, 1, 1));
    d->drawDot(CCPoint(1, 1), -3, ccColor4F(1, 1, 1, 1));
    EXPECT_TRUE(d->isEmpty());
}

}  // namespace
