#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ReaderFixture.h"
#include "app/ReadingSession.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

// The main page and the table of contents over an interface text table that is missing,
// broken or holds the wrong kind of values: the learner can still reach every entry and get
// back home.
class MenuTextsTest : public pagly::test::ReaderTest {
  protected:
    void TearDown() override {
        restoreTable();
        ReaderTest::TearDown();
    }
    static std::string tablePath() { return sandbox() + "/String.xml"; }
    // Replaces the sandbox's link to the book's table with a file of its own (the link is
    // removed first, so the book itself is never written).
    static void writeTable(const std::string& text) {
        remove(tablePath().c_str());
        std::ofstream(tablePath(), std::ios::binary) << text;
    }
    static void restoreTable() {
        remove(tablePath().c_str());
        symlink((std::string(PAGLY_BOOK_DIR) + "/String.xml").c_str(), tablePath().c_str());
    }
    static std::string plist(const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + body +
               "</dict></plist>\n";
    }
};

TEST_F(MenuTextsTest, TheWordListAndTheWayHomeStayReachableWithABrokenTable) {
    struct Case {
        const char* what;
        std::string table;
    } cases[] = {
        {"no table", ""},
        {"an empty file", " "},
        {"not a property list", "{\"wordname\": \"Word list\"}"},
        {"keys without texts", plist("<key>wordname</key><string></string>"
                                     "<key>main_page</key><string></string>")},
        {"values that are not texts",
         plist("<key>wordname</key><dict><key>a</key><string>b</string></dict>"
               "<key>main_page</key><array><string>Home</string></array>")},
        {"texts too long to draw",
         plist("<key>wordname</key><string>" + std::string(1 << 20, 'w') +
               "</string><key>main_page</key><string>" + std::string(1 << 20, 'h') + "</string>")},
    };
    for (const Case& c : cases) {
        if (c.table.empty()) {
            remove(tablePath().c_str());
        } else {
            writeTable(c.table);
        }
        startOnMainPage();
        tap(320, 960 - 900);  // the word list, entry 8
        EXPECT_EQ(8, session().selectedUnit) << c.what;
        ASSERT_NE(nullptr, runningLayer<MenuLayerMainMenu>()) << c.what;
        advance(2.1);
        tap(640 - 80, 30);  // the main-page button
        EXPECT_NE(nullptr, runningLayer<TestController>()) << c.what;
        session().selectedUnit = 0;

        // The page reader's own way home too.
        openPage(5);
        settle();
        tap(60, 30);
        step();
        EXPECT_NE(nullptr, runningLayer<TestController>()) << c.what << ", from a page";
    }
}

}  // namespace
