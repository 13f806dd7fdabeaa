// A frame step that is not a number (a broken clock) counts as no time, instead of leaving
// every timer due on every frame from then on.
#include <limits>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class Ticker : public CCNode {
  public:
    void tick(float) { ++ticks; }
    int ticks = 0;
};

class FrameStepTest : public pagly::test::EngineTest {};

TEST_F(FrameStepTest, ANotANumberFrameStepIsNoTime) {
    CCScene* scene = CCScene::create();
    Ticker* ticker = new Ticker();
    ticker->autorelease();
    scene->addChild(ticker);
    run(scene);
    ticker->schedule(memberCallback(&Ticker::tick), 1.0f);
    CCDirector::sharedDirector()->mainLoop(std::numeric_limits<float>::quiet_NaN());
    for (int i = 0; i < 30; ++i) step();  // half a second
    EXPECT_EQ(0, ticker->ticks);
    for (int i = 0; i < 31; ++i) step();
    EXPECT_EQ(1, ticker->ticks);
}

}  // namespace
