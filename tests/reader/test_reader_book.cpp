#include <gtest/gtest.h>

#include <json/json.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "engine/platform/CCFileUtils.h"
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "reader/ReaderFixture.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace {

// Reads the bundled book: every page document and the settings document must become a widget
// tree in which the page's controls are found by name.
class ReaderBookTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        files->setResourceRoot(PAGLY_BOOK_DIR);
    }

    // The names of all nodes of a document, read with jsoncpp alone.
    static std::set<std::string> namesIn(const std::string& path) {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        Json::Value doc;
        Json::CharReaderBuilder builder;
        std::string errors;
        std::set<std::string> names;
        if (!Json::parseFromStream(builder, text, &doc, &errors)) return names;
        collect(doc["widgetTree"], names);
        return names;
    }
    static void collect(const Json::Value& node, std::set<std::string>& names) {
        if (!node.isObject()) return;
        const Json::Value& name = node["options"]["name"];
        if (name.isString()) names.insert(name.asString());
        for (const Json::Value& child : node["children"]) collect(child, names);
    }
};

TEST_F(ReaderBookTest, EveryPageBuildsWithItsSentenceButtons) {
    int pages = 0, buttons = 0;
    for (int page = 2; page <= 77; ++page) {
        char file[64];
        snprintf(file, sizeof file, "%s%s%s%s%d%s", "lessonbundle", "/", "lessonbundle", "_", page,
                 ".json");
        std::set<std::string> names = namesIn(std::string(PAGLY_BOOK_DIR) + "/" + file);
        testing::internal::CaptureStdout();
        UIWidget* root = load(file);
        EXPECT_EQ("", testing::internal::GetCapturedStdout()) << file;
        ASSERT_NE(nullptr, root) << file;
        EXPECT_NE(nullptr, dynamic_cast<Layout*>(root)) << file;
        int found = 0;
        for (int i = 1; i <= 29; ++i) {
            char name[32];
            snprintf(name, sizeof name, "%s%d%d", page < 10 ? "bn0" : "bn", page, i);
            UIWidget* button = find(name);
            EXPECT_EQ(names.count(name) > 0, button != nullptr) << file << " " << name;
            if (!button) continue;
            EXPECT_NE(nullptr, dynamic_cast<UIButton*>(button)) << name;
            ++found;
        }
        EXPECT_GT(found, 0) << file << " has no sentence button";
        // Everything the document names is in the tree.
        for (const std::string& name : names) {
            EXPECT_NE(nullptr, find(name.c_str())) << file << " " << name;
        }
        // Every image and sheet the page names resolves: nothing was logged as missing.
        EXPECT_TRUE(logLines().empty()) << file << ": " << logLines().front();
        clearLog();
        buttons += found;
        ++pages;
        step();
    }
    EXPECT_EQ(76, pages);
    EXPECT_GT(buttons, 76);
}

TEST_F(ReaderBookTest, SettingsDocumentBuildsWithItsButtons) {
    UIWidget* root = load("3age/pageset.json");
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(logLines().empty()) << logLines().front();
    for (const char* name : {"bnpres", "bnaotopage", "bnaoto", "bnok", "bncancel", "bnmain"}) {
        EXPECT_NE(nullptr, dynamic_cast<UIButton*>(find(name))) << name;
    }
    for (const std::string& name : namesIn(std::string(PAGLY_BOOK_DIR) + "/3age/pageset.json")) {
        EXPECT_NE(nullptr, find(name.c_str())) << name;
    }
}

}  // namespace
