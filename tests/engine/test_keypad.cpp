// Keys reach the layers that asked for them; a layer that leaves while a key is being handed
// out hears nothing more of it.
#include <string>
#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"

using namespace pagly::engine;

namespace {

class KeyLayer : public CCLayer {
  public:
    static KeyLayer* create(std::vector<std::string>* log, const char* name) {
        KeyLayer* l = new KeyLayer();
        l->init();
        l->autorelease();
        l->m_log = log;
        l->m_name = name;
        l->setKeypadEnabled(true);
        return l;
    }
    void keyBackClicked() override {
        m_log->push_back(m_name + " back");
        if (leaveOnBack) removeFromParent();
    }
    void keyPressed(int code) override {
        m_log->push_back(m_name + " key " + std::to_string(code));
    }
    bool leaveOnBack = false;

  private:
    std::vector<std::string>* m_log = nullptr;
    std::string m_name;
};

class KeypadTest : public pagly::test::EngineTest {};

TEST_F(KeypadTest, ALayerLeavingOnBackGetsNoKeyPressForTheSameKey) {
    std::vector<std::string> log;
    CCScene* scene = CCScene::create();
    KeyLayer* leaving = KeyLayer::create(&log, "a");
    leaving->leaveOnBack = true;
    scene->addChild(leaving);
    scene->addChild(KeyLayer::create(&log, "b"));
    run(scene);
    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kKeyEscape);
    keys->dispatchKey(kKeyLeft);
    std::vector<std::string> expected = {
        "a back",
        "b back",
        "b key " + std::to_string(kKeyEscape),
        "b key " + std::to_string(kKeyLeft),
    };
    EXPECT_EQ(expected, log);
}

}  // namespace
