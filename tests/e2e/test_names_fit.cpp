// Long names fit the screen (smaller, then two lines, then shortened), and the contents show
// each page's own title beside its number: from the book's description, else from the page.
#include <filesystem>
#include <string>
#include <vector>

#include "ViewedReader.h"
#include "app/LabelFit.h"
#include "app/ReadingSession.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCSprite.h"
#include "engine/platform/CCEGLView.h"

using namespace pagly;
using namespace pagly::engine;
using namespace pagly::test;

namespace {

struct Line {
    std::string text;
    float left, right;  // world x of the label's edges
    float height;
};

std::vector<Line> linesOf(CCMenu* menu) {
    std::vector<Line> lines;
    for (CCObject* o : *menu->getChildren()) {
        CCMenuItemLabel* item = dynamic_cast<CCMenuItemLabel*>(o);
        CCLabelTTF* label = item ? dynamic_cast<CCLabelTTF*>(item->getLabel()) : nullptr;
        if (!label || !item->isVisible()) continue;
        CCPoint a = label->convertToWorldSpace(CCPoint(0, 0));
        CCPoint b = label->convertToWorldSpace(
            CCPoint(label->getContentSize().width, label->getContentSize().height));
        lines.push_back({label->getString(), a.x, b.x, b.y - a.y});
    }
    return lines;
}

// Every line lies wholly on the screen: no glyph is cut at either edge.
void expectAllOnScreen(const std::vector<Line>& lines, const char* where) {
    for (const Line& l : lines) {
        EXPECT_GE(l.left, 0.0f) << where << ": \"" << l.text << "\" is cut at the left";
        EXPECT_LE(l.right, 640.0f) << where << ": \"" << l.text << "\" is cut at the right";
        // Two lines at most, inside the 100 units between two entries.
        EXPECT_LT(l.height, 100.0f) << where << ": \"" << l.text << "\"";
    }
}

const char* const kLong = "Chapter 1 - XHTML Content";
const char* const kLonger =
    "The second part of the story, in which the fox and her friends walk all the way to the "
    "big market by the river and back again before night falls";

class NamesFitTest : public ViewedReaderTest {
  protected:
    void TearDown() override {
        ViewedReaderTest::TearDown();
        if (!m_dir.empty()) std::filesystem::remove_all(m_dir);
    }
    // Taps the first unit (below the book's title) and lists its contents' lines once they
    // have flown in; none when no contents opened.
    std::vector<Line> firstUnitsContents() {
        tap(320, 960 - 100.0f * 2);
        advance(2.5);
        MenuLayerMainMenu* contents = runningLayer<MenuLayerMainMenu>();
        return contents ? linesOf(contents->listMenu()) : std::vector<Line>();
    }
    std::string m_dir;
};

TEST_F(NamesFitTest, LongUnitNamesShrinkWrapOrEndInAnEllipsisAndPagesShowTheirTitles) {
    m_dir = linkedBookWith(std::string(R"({"title": "Fox and Friends: the complete )"
                                       R"(collection of walks, songs and market days",
        "units": [{"name": ")") +
                           kLong + R"(", "pages": [12, 13],
                   "titles": ["At the market", ""]},
                  {"name": ")" +
                           kLonger + R"(", "pages": [40]},
                  {"name": "Short", "pages": [41]}]})");
    ASSERT_TRUE(useBookFolder(m_dir));
    startOnMainPage();
    TestController* mainPage = runningLayer<TestController>();
    ASSERT_NE(nullptr, mainPage);
    std::vector<Line> lines = linesOf(mainPage->listMenu());
    ASSERT_EQ(4u, lines.size());
    expectAllOnScreen(lines, "main page");
    EXPECT_EQ(kLong, lines[1].text) << "a name that fits in smaller type keeps every letter";
    EXPECT_EQ("Short", lines[3].text);
    // Too long even for two lines: it ends in an ellipsis.
    EXPECT_EQ("\xE2\x80\xA6", lines[2].text.substr(lines[2].text.size() - 3));
    EXPECT_EQ(0u, lines[2].text.find("The second part of the story"));
    // The window's title names the book.
    EXPECT_EQ(0u, CCEGLView::sharedOpenGLView()->getViewName().find("Fox and Friends"));

    lines = firstUnitsContents();
    ASSERT_EQ(2u, lines.size());
    // The description's title, then (none given) the page's own title label.
    EXPECT_EQ("Page 12 \xC2\xBB At the market", lines[0].text);
    EXPECT_EQ("Page 13 \xC2\xBB Meet Grandma", lines[1].text);
    expectAllOnScreen(lines, "contents");
}

TEST_F(NamesFitTest, AnImportedBookShowsItsCoverItsNamesFittedAndItsChapterTitles) {
    std::string book = convertedFixtureEpub(
        "--pages 4 --pages-per-chapter 2 --tone --title 'The Fox Book' "
        "--chapter-name 'Chapter %d - XHTML Content of the fox and her friends'");
    if (!useBookFolder(book)) GTEST_SKIP() << "no browser to convert the fixture book with";
    useFrame(640, 960);
    startOnMainPage();
    TestController* mainPage = runningLayer<TestController>();
    ASSERT_NE(nullptr, mainPage);
    std::vector<Line> lines = linesOf(mainPage->listMenu());
    ASSERT_EQ(3u, lines.size());  // the title and two chapters
    expectAllOnScreen(lines, "main page");
    // Its own cover (the first page's picture), not the course book's walking boy.
    int sprites = 0;
    for (CCObject* o : *mainPage->getChildren())
        if (dynamic_cast<CCSprite*>(o)) ++sprites;
    EXPECT_EQ(1, sprites);
    drawFrame();
    keepShot("names-imported-main");
    EXPECT_TRUE(unreadableTexts().empty());

    lines = firstUnitsContents();
    ASSERT_EQ(2u, lines.size());
    // The page the navigation entry opens carries the entry's title; the next one, which has
    // no entry of its own, is named by its first line.
    EXPECT_NE(std::string::npos, lines[0].text.find("\xC2\xBB Chapter 1 - XHTML")) << lines[0].text;
    EXPECT_NE(std::string::npos, lines[1].text.find("\xC2\xBB The tall girl sings"))
        << lines[1].text;
    expectAllOnScreen(lines, "contents");
}

TEST_F(NamesFitTest, AShortNameIsLeftAsItIs) {
    CCLabelTTF* label = CCLabelTTF::create("Unit 1", "Arial", 60);
    fitListLine(label);
    EXPECT_EQ(60.0f, label->getFontSize());
    EXPECT_STREQ("Unit 1", label->getString());
}

}  // namespace
