// Time values that are not finite numbers (a broken clock, a computed duration gone wrong):
// they count as no time instead of freezing timers, actions or the director's clock.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/actions/CCActionInterval.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

class Ticker : public CCNode {
  public:
    static Ticker* create() {
        Ticker* t = new Ticker();
        t->autorelease();
        return t;
    }
    void tick(float dt) {
        ++ticks;
        lastDt = dt;
    }
    int ticks = 0;
    float lastDt = 0;
};

class TimeValueTest : public pagly::test::EngineTest {
  protected:
    Ticker* runTicker(float interval) {
        CCScene* scene = CCScene::create();
        Ticker* ticker = Ticker::create();
        scene->addChild(ticker);
        run(scene);
        ticker->schedule(memberCallback(&Ticker::tick), interval);
        return ticker;
    }
};

TEST_F(TimeValueTest, AnInfiniteFrameStepLeavesTheClockUsable) {
    Ticker* ticker = runTicker(1.0f);
    double before = CCDirector::sharedDirector()->getElapsedTime();
    CCDirector::sharedDirector()->mainLoop(kInf);
    EXPECT_EQ(before, CCDirector::sharedDirector()->getElapsedTime());
    EXPECT_EQ(0, ticker->ticks);
    advance(1.0);
    EXPECT_EQ(1, ticker->ticks);
    EXPECT_TRUE(std::isfinite(ticker->lastDt));
}

TEST_F(TimeValueTest, ATimeScaleThatIsNoNumberOrBelowZeroIsIgnored) {
    const float scales[] = {kNaN, kInf, -1.0f};
    for (float scale : scales) {
        SCOPED_TRACE(scale);
        Ticker* ticker = runTicker(0.5f);
        CCScheduler* scheduler = CCDirector::sharedDirector()->getScheduler();
        scheduler->setTimeScale(scale);
        EXPECT_EQ(1.0f, scheduler->getTimeScale());
        advance(1.0);
        EXPECT_EQ(2, ticker->ticks) << "once every half second, dt a real number";
        EXPECT_TRUE(std::isfinite(ticker->lastDt));
        CCDirector::sharedDirector()->reset();
    }
}

TEST_F(TimeValueTest, ADurationSetToNoNumberOrBelowZeroEndsAtTheFirstStep) {
    const float durations[] = {kNaN, -2.0f};
    for (float duration : durations) {
        SCOPED_TRACE(duration);
        CCScene* scene = CCScene::create();
        CCNode* node = CCNode::create();
        scene->addChild(node);
        run(scene);
        CCMoveTo* move = CCMoveTo::create(1, CCPoint(30, 40));
        move->setDuration(duration);
        EXPECT_EQ(0.0f, move->getDuration());
        node->runAction(move);
        step();
        EXPECT_EQ(CCPoint(30, 40), node->getPosition());
        EXPECT_EQ(0u, node->numberOfRunningActions()) << "it would never end";
        CCDirector::sharedDirector()->reset();
    }
}

TEST_F(TimeValueTest, AFrameIntervalThatIsNoNumberOrAbsurdIsIgnored) {
    CCDirector* director = CCDirector::sharedDirector();
    double interval = director->getAnimationInterval();
    const double bad[] = {std::nan(""), HUGE_VAL, 1e30, -1, 0};
    for (double value : bad) {
        director->setAnimationInterval(value);
        EXPECT_EQ(interval, director->getAnimationInterval()) << value;
    }
    director->setAnimationInterval(1.0 / 30);
    EXPECT_DOUBLE_EQ(1.0 / 30, director->getAnimationInterval());
    director->setAnimationInterval(interval);
}

}  // namespace
