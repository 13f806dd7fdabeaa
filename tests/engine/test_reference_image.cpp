// One picture of everything the renderer draws, compared exactly with a checked-in reference
// (software rendering is bit-for-bit repeatable). If a deliberate change alters it, look at
// the written .actual.png and replace the reference.
#include <gtest/gtest.h>

#include "engine/nodes/CCClippingNode.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCLayerGradient.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSprite.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/CCFileUtils.h"
#include "support/Offscreen.h"

using namespace pagly::engine;

namespace {

class ReferenceImageTest : public pagly::test::OffscreenTest {
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
    std::string m_oldRoot;
};

CCScene* buildScene() {
    CCScene* scene = CCScene::create();
    // Background: a gradient from deep blue at the top to pale blue at the bottom.
    scene->addChild(
        CCLayerGradient::create(ccColor4B(40, 60, 140, 255), ccColor4B(200, 220, 255, 255)));

    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("sheet.plist");
    // A rotated sheet frame, shown upright; and an unrotated one, turned by the node.
    CCSprite* tall = CCSprite::createWithSpriteFrameName("tall.png");
    tall->setScale(4);
    tall->setPosition(120, 780);
    scene->addChild(tall);
    CCSprite* arrow = CCSprite::createWithSpriteFrameName("arrow.png");
    arrow->setScale(3);
    arrow->setRotation(30);
    arrow->setPosition(320, 780);
    scene->addChild(arrow);

    // A tinted, half-transparent sprite over a red bar.
    CCLayerColor* bar = CCLayerColor::create(ccColor4B(220, 0, 0, 255), 160, 30);
    bar->setPosition(440, 765);
    scene->addChild(bar);
    CCSprite* tinted = CCSprite::create("white32.png");
    tinted->setScale(3);
    tinted->setPosition(520, 780);
    tinted->setColor(ccColor3B(255, 160, 0));
    tinted->setOpacity(128);
    scene->addChild(tinted);

    // A wrapped, centred label.
    CCLabelTTF* label =
        CCLabelTTF::create("A wrapped and centred label that runs over more than one line", "Arial",
                           32, CCSize(420, 0), kTextAlignmentCenter);
    if (label) {
        label->setColor(ccColor3B(255, 255, 255));
        label->setPosition(320, 580);
        scene->addChild(label);
    }

    // A clipping node: its child spills over the stencil on every side but shows only inside.
    CCDrawNode* stencil = CCDrawNode::create();
    CCPoint rect[4] = {CCPoint(0, 0), CCPoint(240, 0), CCPoint(240, 140), CCPoint(0, 140)};
    stencil->drawPolygon(rect, 4, ccColor4F(0, 1, 0, 1), 0, ccColor4F(0, 1, 0, 1));
    CCClippingNode* clip = CCClippingNode::create(stencil);
    clip->setPosition(200, 240);
    CCSprite* big = CCSprite::create("quad4.png");
    big->setScale(80);  // 320 x 320 around the stencil's centre
    big->setPosition(120, 70);
    clip->addChild(big);
    scene->addChild(clip);
    // The same sprite unclipped, small, for comparison.
    CCSprite* small = CCSprite::create("quad4.png");
    small->setScale(10);
    small->setPosition(100, 100);
    scene->addChild(small);
    return scene;
}

TEST_F(ReferenceImageTest, SpritesLayersLabelAndClippingMatchTheReference) {
    run(buildScene());
    drawFrame();
    EXPECT_TRUE(matchesReference("render/reference_scene.png"));
}

}  // namespace
