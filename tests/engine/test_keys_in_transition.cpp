// Keys pressed while a transition runs: the last one waits for the incoming scene and reaches
// it once that scene knows the transition is over; it is dropped when the transition does not
// end by handing that scene over, or when input is not back on at that moment.
#include <functional>
#include <string>
#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"
#include "engine/transitions/CCTransitionScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

using Log = std::vector<std::string>;

// A layer that notes the end of its scene's transition and every key it hears; hooks let a
// case act at either moment.
class KeyLayer : public CCLayer {
  public:
    static KeyLayer* create(Log* log, const std::string& name) {
        KeyLayer* l = new KeyLayer();
        l->init();
        l->autorelease();
        l->m_log = log;
        l->m_name = name;
        l->setKeypadEnabled(true);
        return l;
    }
    void onEnterTransitionDidFinish() override {
        CCLayer::onEnterTransitionDidFinish();
        m_log->push_back(m_name + " ready");
        if (onReady) onReady();
    }
    void keyBackClicked() override { m_log->push_back(m_name + " back"); }
    void keyPressed(int code) override {
        m_log->push_back(m_name + " key " + std::to_string(code));
        if (onKey) onKey(code);
    }
    std::function<void()> onReady;
    std::function<void(int)> onKey;

  private:
    Log* m_log = nullptr;
    std::string m_name;
};

std::string key(const char* layer, int code) {
    return std::string(layer) + " key " + std::to_string(code);
}

class KeysInTransitionTest : public pagly::test::EngineTest {
  public:  // the cases' twists act through these
    CCDirector* director() { return CCDirector::sharedDirector(); }
    CCKeypadDispatcher* keys() { return director()->getKeypadDispatcher(); }
    void press(int code) { keys()->dispatchKey(code); }
    // A scene holding one noting layer.
    CCScene* sceneWith(const std::string& name, KeyLayer** layer = nullptr) {
        CCScene* scene = CCScene::create();
        KeyLayer* l = KeyLayer::create(&log, name);
        scene->addChild(l);
        if (layer) *layer = l;
        return scene;
    }
    // Scene "a" runs; a half-second transition to "b" has begun (input is off).
    KeyLayer* startTransitionToB() {
        run(sceneWith("a"));
        KeyLayer* b = nullptr;
        director()->replaceScene(CCTransitionScene::create(0.5f, sceneWith("b", &b)));
        step();
        log.clear();
        return b;
    }
    Log log;
};

TEST_F(KeysInTransitionTest, TheLastKeyPressedDuringATransitionReachesTheNewSceneWhenItIsReady) {
    startTransitionToB();
    ASSERT_FALSE(director()->getTouchDispatcher()->isDispatchEvents());
    press(kKeyRight);
    press(kKeyArrowDown);
    advance(0.25);
    press(kKeyLeft);
    EXPECT_TRUE(log.empty()) << "nobody hears a key while the transition runs";
    advance(0.3);
    EXPECT_EQ((Log{"b ready", key("b", kKeyLeft)}), log) << "after the transition, the last key";
    EXPECT_FALSE(keys()->hasHeldKey());
    log.clear();
    advance(1);
    press(kKeyRight);
    EXPECT_EQ((Log{key("b", kKeyRight)}), log) << "nothing more held; keys flow again";
}

TEST_F(KeysInTransitionTest, EscapeDuringATransitionIsBackThenTheKeyForTheNewScene) {
    startTransitionToB();
    press(kKeyEscape);
    advance(0.6);
    EXPECT_EQ((Log{"b ready", "b back", key("b", kKeyEscape)}), log);
}

TEST_F(KeysInTransitionTest, AKeyForATransitionThatDidNotHandOverItsSceneIsDropped) {
    struct Case {
        const char* name;
        std::function<void(KeysInTransitionTest&, KeyLayer* b)> twist;
        Log expected;
    };
    const Case cases[] = {
        {"cut short by another scene",
         [](KeysInTransitionTest& t, KeyLayer*) { t.director()->replaceScene(t.sceneWith("c")); },
         {"c ready"}},
        {"cut short by another transition",
         [](KeysInTransitionTest& t, KeyLayer*) {
             t.director()->replaceScene(CCTransitionScene::create(0.2f, t.sceneWith("c")));
         },
         {"c ready"}},
        {"input stays off when it ends",
         [](KeysInTransitionTest& t, KeyLayer* b) {
             b->onReady = [&t] { t.director()->getTouchDispatcher()->setDispatchEvents(false); };
         },
         {"b ready"}},
        {"the new scene leaves at once",
         [](KeysInTransitionTest& t, KeyLayer* b) {
             b->onReady = [&t] { t.director()->replaceScene(t.sceneWith("c")); };
         },
         {"b ready", "c ready"}},
    };
    for (const Case& c : cases) {
        KeyLayer* b = startTransitionToB();
        press(kKeyRight);
        c.twist(*this, b);
        advance(0.6);
        EXPECT_EQ(c.expected, log) << c.name;
        // Input coming back on later brings no stale key either.
        director()->getTouchDispatcher()->setDispatchEvents(true);
        advance(0.6);
        EXPECT_EQ(c.expected, log) << c.name << ", later";
        EXPECT_FALSE(keys()->hasHeldKey()) << c.name;
        director()->reset();
        log.clear();
    }
}

TEST_F(KeysInTransitionTest, AKeyWhileInputIsOffWithoutATransitionIsDropped) {
    run(sceneWith("a"));
    log.clear();
    director()->getTouchDispatcher()->setDispatchEvents(false);
    press(kKeyRight);
    director()->getTouchDispatcher()->setDispatchEvents(true);
    advance(0.5);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(keys()->hasHeldKey());
}

TEST_F(KeysInTransitionTest, AKeyHeldThroughATurnCanStartTheNextTurn) {
    // What a page does: a key starts a transition to the next scene, which does the same.
    std::function<CCScene*(int)> page = [&](int n) {
        KeyLayer* layer = nullptr;
        CCScene* scene = sceneWith("p" + std::to_string(n), &layer);
        layer->onKey = [&, n](int code) {
            if (code == kKeyRight)
                director()->replaceScene(CCTransitionScene::create(0.5f, page(n + 1)));
        };
        return scene;
    };
    run(page(1));
    log.clear();
    press(kKeyRight);
    step();  // the first turn begins
    press(kKeyRight);
    advance(0.5);  // the first turn ends; the held key starts the second
    step();
    EXPECT_TRUE(director()->getRunningScene()->isTransitionScene()) << "the second turn runs";
    advance(0.6);
    EXPECT_EQ((Log{key("p1", kKeyRight), "p2 ready", key("p2", kKeyRight), "p3 ready"}), log);
}

}  // namespace
