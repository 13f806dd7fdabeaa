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
        files = cocos2d::CCFileUtils::sharedFileUtils();
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

    static void destroySingletons() { cocos2d::extension::destroyDocumentSingletons(); }

    cocos2d::extension::CCSGUIReader* reader() {
        return cocos2d::extension::CCSGUIReader::instance();
    }

    // Reads a document and keeps its root alive for the test.
    cocos2d::extension::UIWidget* load(const char* fileName) {
        kept = reader()->loadWidgetTree(fileName);
        return kept.get();
    }

    // Builds one widget node from JSON text in the given layout, documents relative to the
    // fixture folder.
    cocos2d::extension::UIWidget* build(const std::string& nodeText, bool legacy = false) {
        cocos2d::extension::JsonDictionary node;
        node.initWithText(nodeText.c_str());
        reader()->setLegacyDocument(legacy);
        reader()->setDocumentDirectory(fixtures() + "/");
        kept = reader()->createWidget(&node);
        return kept.get();
    }

    cocos2d::extension::UIWidget* find(const char* name) {
        return cocos2d::extension::WidgetHelper::findWidgetByName(kept.get(), name);
    }

    cocos2d::CCFileUtils* files = nullptr;
    std::string savedRoot;
    cocos2d::RefPtr<cocos2d::extension::UIWidget> kept;
};

}  // namespace pagly::test
