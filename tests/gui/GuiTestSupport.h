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
class TouchRecorder : public engine::CCObject {
  public:
    struct Call {
        gui::UIWidget* sender;
        gui::WidgetTouchEvent kind;
    };
    void onTouch(engine::CCObject* sender, gui::WidgetTouchEvent kind) {
        auto* widget = static_cast<gui::UIWidget*>(sender);
        calls.push_back({widget, kind});
        if (action) action(widget, kind);
    }
    void listenTo(gui::UIWidget* widget) {
        widget->addTouchListener(this, memberCallback(&TouchRecorder::onTouch));
    }
    // "B" "M" "E" "C" per call, for compact expectations.
    std::string kinds() const {
        std::string s;
        for (const Call& c : calls) s += "BMEC"[c.kind];
        return s;
    }
    std::vector<Call> calls;
    std::function<void(gui::UIWidget*, gui::WidgetTouchEvent)> action;
};

// Points the file utilities at tests/fixtures/gui for the lifetime of the object.
class GuiFixtureRoot {
  public:
    GuiFixtureRoot() : m_saved(engine::CCFileUtils::sharedFileUtils()->getResourceRoot()) {
        engine::CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/gui");
    }
    ~GuiFixtureRoot() { engine::CCFileUtils::sharedFileUtils()->setResourceRoot(m_saved); }

  private:
    std::string m_saved;
};

// Headless widget tests: fixture images resolve, and the process-wide widget helper is
// destroyed before the leak check (as a page scene's clean-up does).
class GuiTest : public EngineTest {
  protected:
    void TearDown() override {
        gui::WidgetHelper::destroyInstance();
        EngineTest::TearDown();
    }
    // A running scene to hang layers on.
    engine::CCScene* runScene() {
        engine::CCScene* scene = engine::CCScene::create();
        run(scene);
        return scene;
    }
    GuiFixtureRoot m_root;
};

// The same with pixels: the director draws into the 640 x 960 software renderer.
class GuiPixelTest : public OffscreenTest {
  protected:
    void TearDown() override {
        gui::WidgetHelper::destroyInstance();
        OffscreenTest::TearDown();
    }
    engine::CCScene* runScene() {
        engine::CCScene* scene = engine::CCScene::create();
        run(scene);
        return scene;
    }
    GuiFixtureRoot m_root;
};

}  // namespace pagly::test
