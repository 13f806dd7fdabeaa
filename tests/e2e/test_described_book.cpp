// A book folder that describes its own units and pages (book.json) is read through the same
// screens: the main page lists its units, the contents their pages, and stepping stays within
// its pages.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class DescribedBookTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        // The course book's files, seen through a folder of links with a description added.
        m_dir = linkedBookWith(R"({"title": "Three stories",
            "units": [{"name": "Morning", "pages": [12, 13, 14]},
                      {"name": "Evening", "pages": [40, 41]}]})");
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_dir);
        newRun();
    }
    void TearDown() override {
        ReaderTest::TearDown();
        std::filesystem::remove_all(m_dir);
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    static std::vector<std::string> labels(CCMenu* menu) {
        std::vector<std::string> texts;
        for (CCObject* o : *menu->getChildren()) {
            CCMenuItemLabel* item = dynamic_cast<CCMenuItemLabel*>(o);
            CCLabelTTF* label = item ? dynamic_cast<CCLabelTTF*>(item->getLabel()) : nullptr;
            if (label && item->isVisible()) texts.push_back(label->getString());
        }
        return texts;
    }
    std::string m_dir;
};

TEST_F(DescribedBookTest, ItsUnitsAndPagesAreTheOnesTheScreensShow) {
    startOnMainPage();
    TestController* mainPage = runningLayer<TestController>();
    ASSERT_NE(nullptr, mainPage);
    // The book's title heads its units.
    EXPECT_EQ((std::vector<std::string>{"Three stories", "Morning", "Evening"}),
              labels(mainPage->listMenu()));
    tap(320, 960 - 100.0f * 0.8f);  // the title is no entry
    advance(2.1);
    ASSERT_EQ(mainPage, runningLayer<TestController>());

    tap(320, 960 - 100.0f * 3);  // "Evening"
    advance(2.1);
    MenuLayerMainMenu* contents = runningLayer<MenuLayerMainMenu>();
    ASSERT_NE(nullptr, contents);
    // Each page's own title (its document's title label) beside its number.
    EXPECT_EQ((std::vector<std::string>{"Page 40 \xC2\xBB Can you swim?",
                                        "Page 41 \xC2\xBB On the farm"}),
              labels(contents->listMenu()));
    tap(320, 960 - 100.0f * 2);  // its second line
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(41, session().currentPage);

    press(kKeyRight);  // the book's last page: nothing further
    settle();
    EXPECT_EQ(41, session().currentPage);
    press(kKeyLeft);
    settle();
    EXPECT_EQ(40, session().currentPage) << "the pages between units are stepped through";
}

TEST_F(DescribedBookTest, ReadingOnStopsAtTheBooksLastPageAndEnterStartsAtItsFirst) {
    startOnMainPage();
    EXPECT_EQ(12, [&] {
        press(kKeyEnter);
        step();
        return session().currentPage;
    }());
    session().currentPage = 41;
    openPage(41);
    press(kKeySpace);
    advance(60);
    EXPECT_EQ(41, session().currentPage);
    EXPECT_FALSE(session().autoReadOn) << "stopped at the end, and play says so, as on page 77";
}

}  // namespace
