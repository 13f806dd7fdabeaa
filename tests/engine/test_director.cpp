#include <string>
#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"
#include "engine/transitions/CCTransitionScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

std::vector<std::string>* g_events = nullptr;

// A scene that records its lifecycle callbacks and its destruction.
class RecordingScene : public CCScene {
  public:
    explicit RecordingScene(const char* name) : m_name(name) { init(); }
    ~RecordingScene() override { record("destroyed"); }
    void onEnter() override {
        record("onEnter");
        CCScene::onEnter();
    }
    void onEnterTransitionDidFinish() override {
        record("onEnterTransitionDidFinish");
        CCScene::onEnterTransitionDidFinish();
    }
    void onExitTransitionDidStart() override {
        record("onExitTransitionDidStart");
        CCScene::onExitTransitionDidStart();
    }
    void onExit() override {
        record("onExit");
        CCScene::onExit();
    }

  private:
    void record(const char* what) {
        if (g_events) g_events->push_back(m_name + " " + what);
    }
    std::string m_name;
};

class DirectorTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_events = &events;
    }
    void TearDown() override {
        EngineTest::TearDown();
        g_events = nullptr;
    }
    std::vector<std::string> events;
};

TEST_F(DirectorTest, ReplaceSceneRunsCallbacksInOrderAndReleasesTheOldScene) {
    RecordingScene* a = new RecordingScene("A");
    a->autorelease();
    run(a);
    EXPECT_EQ((std::vector<std::string>{"A onEnter", "A onEnterTransitionDidFinish"}), events);
    events.clear();

    RecordingScene* b = new RecordingScene("B");
    b->autorelease();
    CCDirector::sharedDirector()->replaceScene(b);
    EXPECT_TRUE(events.empty()) << "the switch waits for the next frame";
    step();
    EXPECT_EQ((std::vector<std::string>{"A onExitTransitionDidStart", "A onExit", "B onEnter",
                                        "B onEnterTransitionDidFinish", "A destroyed"}),
              events);
    EXPECT_EQ(b, CCDirector::sharedDirector()->getRunningScene());
}

TEST_F(DirectorTest, TwoReplacesInOneFrameKeepOnlyTheLast) {
    run(new RecordingScene("A"));
    CCDirector::sharedDirector()->getRunningScene()->release();  // drop the creator's reference
    events.clear();
    RecordingScene* b = new RecordingScene("B");
    RecordingScene* c = new RecordingScene("C");
    CCDirector::sharedDirector()->replaceScene(b);
    CCDirector::sharedDirector()->replaceScene(c);
    b->release();
    c->release();
    step();
    EXPECT_EQ(c, CCDirector::sharedDirector()->getRunningScene());
    EXPECT_EQ("B destroyed", events.front()) << "the superseded scene is freed, never entered";
}

// After a switch, a still scene wakes the main loop once, kTrimAfterSeconds later (seconds, so
// that a learner paging quickly never meets a trim), to give freed memory back; then it sleeps
// until input. A new switch starts the wait afresh.
TEST_F(DirectorTest, AStillSceneWakesOnceForItsTrimThenSleeps) {
    CCDirector* director = CCDirector::sharedDirector();
    const double trimAfter = CCDirector::kTrimAfterSeconds;
    EXPECT_GE(trimAfter, 3.0) << "a learner turning every 1.5 to 3 s would meet the trim";
    run(CCScene::create());
    step();
    double wait = director->secondsUntilWork();
    EXPECT_GT(wait, trimAfter - 0.1);
    EXPECT_LE(wait, trimAfter);
    advance(trimAfter / 2);
    EXPECT_NEAR(wait - trimAfter / 2, director->secondsUntilWork(), 1e-3);
    director->replaceScene(CCScene::create());
    step();
    step();
    EXPECT_GT(director->secondsUntilWork(), trimAfter - 0.1) << "the wait starts again";
    advance(trimAfter + 2.0 / 60);
    EXPECT_LT(director->secondsUntilWork(), 0) << "trimmed: sleep until input";
}

TEST_F(DirectorTest, StoppedAnimationFreezesTimeButStillDrainsThePool) {
    CCDirector* director = CCDirector::sharedDirector();
    director->stopAnimation();
    CCScene* scene = CCScene::create();
    (void)scene;
    unsigned int frames = director->getTotalFrames();
    step();
    EXPECT_EQ(frames, director->getTotalFrames());
    director->startAnimation();
}

TEST_F(DirectorTest, ATransitionCutShortByAnotherStillBringsTheLastSceneIn) {
    RecordingScene* a = new RecordingScene("A");
    run(a);
    a->release();
    RecordingScene* b = new RecordingScene("B");
    CCDirector::sharedDirector()->replaceScene(CCTransitionScene::create(0.5f, b));
    b->release();
    advance(0.2);
    RecordingScene* c = new RecordingScene("C");
    CCDirector::sharedDirector()->replaceScene(CCTransitionScene::create(0.5f, c));
    c->release();
    advance(1.0);
    EXPECT_EQ(c, CCDirector::sharedDirector()->getRunningScene());
    EXPECT_TRUE(c->isRunning());
    int cEnters = 0, cFinished = 0;
    for (const std::string& e : events) {
        cEnters += e == "C onEnter";
        cFinished += e == "C onEnterTransitionDidFinish";
    }
    EXPECT_EQ(1, cFinished);
    EXPECT_EQ(1, cEnters) << "entered exactly once";
}

}  // namespace
