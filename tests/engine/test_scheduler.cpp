#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

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
        unschedule(memberCallback(&Poller::tick));
        if ((int)firedAt.size() < stopAfter) schedule(memberCallback(&Poller::tick), nextInterval);
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
    poller->schedule(memberCallback(&Poller::tick), 0.2f);
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

TEST_F(SchedulerTest, SchedulingAScheduledCallbackAgainOnlyChangesItsInterval) {
    poller->schedule(memberCallback(&Poller::frame), 1.0f);
    stepFrames(6);  // 0.1 s
    poller->schedule(memberCallback(&Poller::frame), 0.25f);
    EXPECT_EQ(1u, CCDirector::sharedDirector()->getScheduler()->timerCount());
    stepFrames(8);
    EXPECT_EQ(0, poller->frames);
    stepFrames(1);  // 0.25 s after the first scheduling: the time already waited counts
    EXPECT_EQ(1, poller->frames);
    stepFrames(15);
    EXPECT_EQ(2, poller->frames);
}

TEST_F(SchedulerTest, ARepeatingTimerKeepsItsRateWhenFramesDoNotDivideItsInterval) {
    // 0.04 s does not fit whole 1/60 s frames: the time past each firing counts toward the
    // next, so one second still brings 25 calls rather than one every third frame.
    poller->schedule(memberCallback(&Poller::frame), 0.04f);
    stepFrames(60);
    EXPECT_EQ(25, poller->frames);
}

// Writes its name into a shared list on every per-frame update.
class UpdateRecorder : public CCNode {
  public:
    UpdateRecorder(std::vector<int>* calls, int name) : m_calls(calls), m_name(name) {}
    void update(float) override { m_calls->push_back(m_name); }

  private:
    std::vector<int>* m_calls;
    int m_name;
};

TEST_F(SchedulerTest, UpdatesRunByPriorityThenInSchedulingOrder) {
    std::vector<int> calls;
    const int priorities[] = {5, -1, 0, 0, -7};
    for (int i = 0; i < 5; ++i) {
        UpdateRecorder* node = new UpdateRecorder(&calls, i);
        scene->addChild(node);
        node->release();
        node->scheduleUpdateWithPriority(priorities[i]);
    }
    stepFrames(1);
    EXPECT_EQ((std::vector<int>{4, 1, 2, 3, 0}), calls);
}

TEST_F(SchedulerTest, ADelayReachedWithinARoundingErrorFiresOnThatFrame) {
    // Frames measured by a real clock fall a hair short of 1/60 s: twelve of them are 0.2 s
    // but for a few millionths, which must not push the call to the thirteenth.
    poller->scheduleOnce(memberCallback(&Poller::frame), 0.2f);
    CCDirector* director = CCDirector::sharedDirector();
    for (int i = 0; i < 11; ++i) director->mainLoop(0.016666f);
    EXPECT_EQ(0, poller->frames);
    director->mainLoop(0.016666f);
    EXPECT_EQ(1, poller->frames);
}

TEST_F(SchedulerTest, UnscheduledCallbackNeverFiresAgain) {
    poller->stopAfter = 1;
    poller->schedule(memberCallback(&Poller::tick), 0.2f);
    stepFrames(120);
    EXPECT_EQ(1u, poller->firedAt.size());
    EXPECT_FALSE(CCDirector::sharedDirector()->getScheduler()->isScheduled(
        memberCallback(&Poller::tick), poller));
}

TEST_F(SchedulerTest, IntervalZeroRunsEveryFrameAndUpdateTargetsToo) {
    poller->schedule(memberCallback(&Poller::frame));
    poller->scheduleUpdate();
    stepFrames(10);
    EXPECT_EQ(10, poller->frames);
    EXPECT_EQ(10, poller->updates);
}

TEST_F(SchedulerTest, CallbacksPauseWhileTheNodeIsNotRunning) {
    poller->schedule(memberCallback(&Poller::frame));
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
    later->schedule(memberCallback(&Poller::frame));
    stepFrames(3);
    EXPECT_EQ(0, later->frames);
    scene->addChild(later);
    later->release();
    stepFrames(3);
    EXPECT_EQ(3, later->frames);
}

TEST_F(SchedulerTest, RemovingTheNodeWithCleanupUnschedulesIt) {
    poller->schedule(memberCallback(&Poller::frame));
    poller->retain();
    poller->removeFromParentAndCleanup(true);
    scene->addChild(poller);
    poller->release();
    stepFrames(3);
    EXPECT_EQ(0, poller->frames);
}

TEST_F(SchedulerTest, ScheduleOnceFiresOnceAfterItsDelay) {
    poller->scheduleOnce(memberCallback(&Poller::frame), 0.5f);
    stepFrames(29);
    EXPECT_EQ(0, poller->frames);
    stepFrames(1);
    EXPECT_EQ(1, poller->frames);
    stepFrames(60);
    EXPECT_EQ(1, poller->frames);
}

}  // namespace

// How long the main loop may sleep: what is scheduled decides, and a per-frame update that
// does nothing (the base CCNode::update) does not keep a still screen awake.
TEST_F(SchedulerTest, TimeUntilTheNextCallFollowsWhatIsScheduled) {
    CCScheduler* scheduler = CCDirector::sharedDirector()->getScheduler();
    EXPECT_LT(scheduler->secondsUntilNextCall(), 0) << "nothing scheduled: sleep until input";

    poller->schedule(memberCallback(&Poller::frame), 0.3f);
    stepFrames(6);  // 0.1 s
    EXPECT_NEAR(0.2, scheduler->secondsUntilNextCall(), 1e-3);

    poller->schedule(memberCallback(&Poller::tick), 0.0f);  // every frame
    EXPECT_EQ(0, scheduler->secondsUntilNextCall());
    poller->unschedule(memberCallback(&Poller::tick));

    poller->scheduleUpdate();  // Poller overrides update: it runs every frame
    EXPECT_EQ(0, scheduler->secondsUntilNextCall());
    poller->unscheduleUpdate();

    CCNode* plain = CCNode::create();
    scene->addChild(plain);
    plain->scheduleUpdate();
    EXPECT_EQ(0, scheduler->secondsUntilNextCall()) << "not known to be empty before it ran";
    stepFrames(1);
    EXPECT_NEAR(0.2 - 1.0 / 60, scheduler->secondsUntilNextCall(), 1e-3)
        << "the base update did nothing: only the timer counts";

    scheduler->setTimeScale(0);
    EXPECT_LT(scheduler->secondsUntilNextCall(), 0) << "stopped time never reaches the timer";
    scheduler->setTimeScale(1);
}
