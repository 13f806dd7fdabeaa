#pragma once

#include <string>

#include "engine/base/RefPtr.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/JsonDictionary.h"
#include "support/Harness.h"

namespace pagly::test {

// Reader tests: resources resolve in tests/fixtures/reader, and every process-wide object
// the reader creates is destroyed afterwards (as the page scene's clean-up does), so the leak
// check sees only what a test really kept.
class ReaderTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        files = engine::CCFileUtils::sharedFileUtils();
        savedRoot = files->getResourceRoot();
        files->setResourceRoot(fixtures());
    }
    void TearDown() override {
        kept.reset();
        destroySingletons();
        files->setResourceRoot(savedRoot);
        EngineTest::TearDown();
    }

    static std::string fixtures() { return std::string(PAGLY_FIXTURES_DIR) + "/reader"; }

    static void destroySingletons() { gui::destroyDocumentSingletons(); }

    gui::CCSGUIReader* reader() { return gui::CCSGUIReader::instance(); }

    // Reads a document and keeps its root alive for the test.
    gui::UIWidget* load(const char* fileName) {
        kept = reader()->loadWidgetTree(fileName);
        return kept.get();
    }

    // Builds one widget node from JSON text in the given layout, documents relative to the
    // fixture folder.
    gui::UIWidget* build(const std::string& nodeText, bool legacy = false) {
        gui::JsonDictionary node;
        node.initWithText(nodeText.c_str());
        reader()->setLegacyDocument(legacy);
        reader()->setDocumentDirectory(fixtures() + "/");
        kept = reader()->createWidget(&node);
        return kept.get();
    }

    gui::UIWidget* find(const char* name) {
        return gui::WidgetHelper::findWidgetByName(kept.get(), name);
    }

    engine::CCFileUtils* files = nullptr;
    std::string savedRoot;
    engine::RefPtr<gui::UIWidget> kept;
};

}  // namespace pagly::test
