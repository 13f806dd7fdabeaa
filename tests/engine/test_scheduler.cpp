#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace cocos2d;

namespace {

// Polls the way the reader's timers do: unschedule itself, then schedule again.
class Poller : public CCNode {
  public:
    std::vector<double> firedAt;
    std::vector<double> dts;
    double* clock = nullptr;
    float nextInterval = 0.5f;
    int stopAfter = 1000;

    void tick(float dt) {
        firedAt.push_back(*clock);
        dts.push_back(dt);
        unschedule(schedule_selector(Poller::tick));
        if ((int)firedAt.size() < stopAfter)
            schedule(schedule_selector(Poller::tick), nextInterval);
    }
    void frame(float) { ++frames; }
    void update(float) override { ++updates; }
    int frames = 0;
    int updates = 0;
};

class SchedulerTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        scene = CCScene::create();
        poller = new Poller();
        poller->autorelease();
        poller->clock = &clock;
        scene->addChild(poller);
        run(scene);
    }
    void stepFrames(int n) {
        for (int i = 0; i < n; ++i) {
            clock += 1.0 / 60.0;
            step();
        }
    }
    CCScene* scene = nullptr;
    Poller* poller = nullptr;
    double clock = 0;
};

TEST_F(SchedulerTest, CallbackReschedulesItselfWithANewInterval) {
    poller->schedule(schedule_selector(Poller::tick), 0.2f);
    stepFrames(60 * 2);  // two seconds
    // 0.2 s after scheduling, then every 0.5 s.
    ASSERT_GE(poller->firedAt.size(), 4u);
    EXPECT_NEAR(0.2, poller->firedAt[0], 1e-6);
    EXPECT_NEAR(0.7, poller->firedAt[1], 1e-6);
    EXPECT_NEAR(1.2, poller->firedAt[2], 1e-6);
    EXPECT_NEAR(1.7, poller->firedAt[3], 1e-6);
    EXPECT_EQ(4u, poller->firedAt.size());
    EXPECT_NEAR(0.2, poller->dts[0], 1e-4) << "the callback gets the time since it was scheduled";
}

TEST_F(SchedulerTest, UnscheduledCallbackNeverFiresAgain) {
    poller->stopAfter = 1;
    poller->schedule(schedule_selector(Poller::tick), 0.2f);
    stepFrames(120);
    EXPECT_EQ(1u, poller->firedAt.size());
    EXPECT_FALSE(CCDirector::sharedDirector()->getScheduler()->isScheduled(
        schedule_selector(Poller::tick), poller));
}

TEST_F(SchedulerTest, IntervalZeroRunsEveryFrameAndUpdateTargetsToo) {
    poller->schedule(schedule_selector(Poller::frame));
    poller->scheduleUpdate();
    stepFrames(10);
    EXPECT_EQ(10, poller->frames);
    EXPECT_EQ(10, poller->updates);
}

TEST_F(SchedulerTest, CallbacksPauseWhileTheNodeIsNotRunning) {
    poller->schedule(schedule_selector(Poller::frame));
    poller->retain();
    poller->removeFromParentAndCleanup(false);  // leaves the scene without cleanup: paused
    stepFrames(5);
    EXPECT_EQ(0, poller->frames);
    scene->addChild(poller);
    poller->release();
    stepFrames(5);
    EXPECT_EQ(5, poller->frames);
}

TEST_F(SchedulerTest, SchedulingOnANodeNotYetRunningWaitsForItsEntry) {
    Poller* later = new Poller();
    later->schedule(schedule_selector(Poller::frame));
    stepFrames(3);
    EXPECT_EQ(0, later->frames);
    scene->addChild(later);
    later->release();
    stepFrames(3);
    EXPECT_EQ(3, later->frames);
}

TEST_F(SchedulerTest, RemovingTheNodeWithCleanupUnschedulesIt) {
    poller->schedule(schedule_selector(Poller::frame));
    poller->retain();
    poller->removeFromParentAndCleanup(true);
    scene->addChild(poller);
    poller->release();
    stepFrames(3);
    EXPECT_EQ(0, poller->frames);
}

TEST_F(SchedulerTest, ScheduleOnceFiresOnceAfterItsDelay) {
    poller->scheduleOnce(schedule_selector(Poller::frame), 0.5f);
    stepFrames(29);
    EXPECT_EQ(0, poller->frames);
    stepFrames(1);
    EXPECT_EQ(1, poller->frames);
    stepFrames(60);
    EXPECT_EQ(1, poller->frames);
}

}  // namespace
