#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/nodes/CCScene.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"
#include "support/Harness.h"
#include "support/Offscreen.h"

namespace pagly::test {

// Records the touch-listener calls a widget makes; can run an action on each call (to test
// listeners that change the tree under the dispatch).
class TouchRecorder : public cocos2d::CCObject {
  public:
    struct Call {
        cocos2d::extension::UIWidget* sender;
        cocos2d::extension::WidgetTouchEvent kind;
    };
    void onTouch(cocos2d::CCObject* sender, cocos2d::extension::WidgetTouchEvent kind) {
        auto* widget = static_cast<cocos2d::extension::UIWidget*>(sender);
        calls.push_back({widget, kind});
        if (action) action(widget, kind);
    }
    void listenTo(cocos2d::extension::UIWidget* widget) {
        widget->addTouchListener(this, toucheventselector(TouchRecorder::onTouch));
    }
    // "B" "M" "E" "C" per call, for compact expectations.
    std::string kinds() const {
        std::string s;
        for (const Call& c : calls) s += "BMEC"[c.kind];
        return s;
    }
    std::vector<Call> calls;
    std::function<void(cocos2d::extension::UIWidget*, cocos2d::extension::WidgetTouchEvent)> action;
};

// Points the file utilities at tests/fixtures/gui for the lifetime of the object.
class GuiFixtureRoot {
  public:
    GuiFixtureRoot() : m_saved(cocos2d::CCFileUtils::sharedFileUtils()->getResourceRoot()) {
        cocos2d::CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/gui");
    }
    ~GuiFixtureRoot() { cocos2d::CCFileUtils::sharedFileUtils()->setResourceRoot(m_saved); }

  private:
    std::string m_saved;
};

// Headless widget tests: fixture images resolve, and the process-wide widget helper is
// destroyed before the leak check (as a page scene's clean-up does).
class GuiTest : public EngineTest {
  protected:
    void TearDown() override {
        cocos2d::extension::WidgetHelper::destroyInstance();
        EngineTest::TearDown();
    }
    // A running scene to hang layers on.
    cocos2d::CCScene* runScene() {
        cocos2d::CCScene* scene = cocos2d::CCScene::create();
        run(scene);
        return scene;
    }
    GuiFixtureRoot m_root;
};

// The same with pixels: the director draws into the 640 x 960 software renderer.
class GuiPixelTest : public OffscreenTest {
  protected:
    void TearDown() override {
        cocos2d::extension::WidgetHelper::destroyInstance();
        OffscreenTest::TearDown();
    }
    cocos2d::CCScene* runScene() {
        cocos2d::CCScene* scene = cocos2d::CCScene::create();
        run(scene);
        return scene;
    }
    GuiFixtureRoot m_root;
};

}  // namespace pagly::test
