#include <string>
#include <vector>

#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

std::vector<std::string> g_calls;

class TargetedLayer : public CCLayer {
  public:
    TargetedLayer(const char* name, bool claims, int priority) : m_name(name), m_claims(claims) {
        init();
        setTouchMode(kTouchesOneByOne);
        setTouchPriority(priority);
        setTouchEnabled(true);
    }
    bool ccTouchBegan(CCTouch*, CCEvent*) override {
        g_calls.push_back(m_name + " began");
        if (removeSelfOnBegin) removeFromParentAndCleanup(true);
        return m_claims;
    }
    void ccTouchMoved(CCTouch*, CCEvent*) override { g_calls.push_back(m_name + " moved"); }
    void ccTouchEnded(CCTouch*, CCEvent*) override { g_calls.push_back(m_name + " ended"); }
    bool removeSelfOnBegin = false;

  private:
    std::string m_name;
    bool m_claims;
};

class StandardLayer : public CCLayer {
  public:
    StandardLayer() {
        init();
        setTouchEnabled(true);
    }
    void ccTouchesBegan(CCSet* touches, CCEvent*) override {
        g_calls.push_back("standard began " + std::to_string(touches->count()));
    }
    void ccTouchesEnded(CCSet*, CCEvent*) override { g_calls.push_back("standard ended"); }
};

class TouchTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_calls.clear();
        scene = CCScene::create();
        run(scene);
    }
    template <class T>
    T* add(T* layer) {
        scene->addChild(layer);
        layer->release();
        return layer;
    }
    CCScene* scene = nullptr;
};

TEST_F(TouchTest, ClaimedTouchNeverReachesAStandardDelegate) {
    add(new StandardLayer());
    add(new TargetedLayer("low", true, 10));
    add(new TargetedLayer("high", true, -5));
    tap(100, 100);
    EXPECT_EQ((std::vector<std::string>{"high began", "high ended"}), g_calls);
}

TEST_F(TouchTest, UnclaimedTouchFallsThroughInPriorityOrder) {
    add(new StandardLayer());
    add(new TargetedLayer("second", false, 1));
    add(new TargetedLayer("first", false, 0));
    add(new TargetedLayer("first-too", false, 0));
    tap(100, 100);
    EXPECT_EQ((std::vector<std::string>{"first began", "first-too began", "second began",
                                        "standard began 1", "standard ended"}),
              g_calls);
}

TEST_F(TouchTest, DelegateRemovingItselfDuringDispatchIsSafe) {
    TargetedLayer* quitter = add(new TargetedLayer("quitter", true, 0));
    add(new TargetedLayer("next", true, 1));
    quitter->removeSelfOnBegin = true;
    tap(5, 5);
    // The quitter claimed the touch, then left; its end goes nowhere and nothing crashes.
    EXPECT_EQ((std::vector<std::string>{"quitter began"}), g_calls);
    g_calls.clear();
    tap(5, 5);
    EXPECT_EQ((std::vector<std::string>{"next began", "next ended"}), g_calls);
}

TEST_F(TouchTest, LayerLeavingTheSceneStopsTakingTouches) {
    TargetedLayer* layer = add(new TargetedLayer("gone", true, 0));
    layer->removeFromParentAndCleanup(true);
    tap(5, 5);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(0u, CCDirector::sharedDirector()->getTouchDispatcher()->delegateCount());
}

TEST_F(TouchTest, ADelegateRegisteredTwiceGetsEachTouchOnce) {
    TargetedLayer* layer = add(new TargetedLayer("once", true, 0));
    CCTouchDispatcher* dispatcher = CCDirector::sharedDirector()->getTouchDispatcher();
    dispatcher->addTargetedDelegate(layer, 3, false);  // already registered by the layer
    EXPECT_EQ(1u, dispatcher->delegateCount());
    tap(5, 5);
    EXPECT_EQ((std::vector<std::string>{"once began", "once ended"}), g_calls);
}

TEST_F(TouchTest, DisabledDispatchDropsTouches) {
    add(new TargetedLayer("t", true, 0));
    CCDirector::sharedDirector()->getTouchDispatcher()->setDispatchEvents(false);
    tap(5, 5);
    CCDirector::sharedDirector()->getTouchDispatcher()->setDispatchEvents(true);
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
