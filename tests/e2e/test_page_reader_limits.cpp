// The page reader at the edges of what a book may hold: the last sentence index a page can
// have and the longest caption that is still shown. The bundled book reaches neither, so these
// tests read an edited copy of it.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "ReaderFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Gives `key` the value `text` in a caption table.
std::string withCaption(const std::string& table, const std::string& key, const std::string& text) {
    std::regex entry("(<key>" + key + "</key>\\s*<string>)[^<]*(</string>)");
    return std::regex_replace(table, entry, "$1" + text + "$2");
}

// Page 2 of the book, whose fourth sentence button (and its recording) is renamed to index 29,
// captions of 1599 and 1600 bytes for its first and third sentences and none for its second.
const std::string& editedBook() {
    // Removed with the test program: links and copies only, never the book itself.
    struct Folder {
        std::string path;
        ~Folder() {
            std::error_code ignored;
            if (!path.empty()) std::filesystem::remove_all(path, ignored);
        }
    };
    static Folder folder;
    std::string& dir = folder.path;
    if (!dir.empty()) return dir;
    char templ[] = "/tmp/pagly-edited-book-XXXXXX";
    dir = mkdtemp(templ);
    const std::string book = PAGLY_BOOK_DIR;
    // Every entry of `from` linked into `to`, but for those written below.
    auto linkAll = [](const std::string& from, const std::string& to) {
        if (DIR* d = opendir(from.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name == "." || name == ".." || name == "ft.xml" || name == "lessonbundle" ||
                    name == "Stringstr.xml" || name == "lessonbundle_2.json" || name == "epc")
                    continue;
                symlink((from + "/" + name).c_str(), (to + "/" + name).c_str());
            }
            closedir(d);
        }
    };
    linkAll(book, dir);
    std::string pages = dir + "/lessonbundle";
    mkdir(pages.c_str(), 0755);
    linkAll(book + "/lessonbundle", pages);
    std::string page2 = readAll(book + "/lessonbundle/lessonbundle_2.json");
    page2 = std::regex_replace(page2, std::regex("\"bn024\""), "\"bn0229\"");
    writeAll(pages + "/lessonbundle_2.json", page2);
    // The renamed sentence speaks with the recording its button had.
    mkdir((dir + "/epc").c_str(), 0755);
    linkAll(book + "/epc", dir + "/epc");
    symlink((book + "/" + recordingPath(2, 4)).c_str(), (dir + "/" + recordingPath(2, 29)).c_str());
    std::string captions = readAll(book + "/Stringstr.xml");
    captions = withCaption(captions, "str021", std::string(1599, 'a'));
    captions = withCaption(captions, "str023", std::string(1600, 'b'));
    captions =
        std::regex_replace(captions, std::regex("<key>str022</key>\\s*<string>[^<]*</string>"), "");
    writeAll(dir + "/Stringstr.xml", captions);
    return dir;
}

class PageLimitsTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        CCFileUtils::sharedFileUtils()->setResourceRoot(editedBook());
    }
};

TEST_F(PageLimitsTest, SentenceIndex29IsTheLastOneAPageReads) {
    openPage(2);
    EXPECT_EQ(29, session().pageSentenceCount);
    UIButton* last = sentenceButton(29);
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(229, last->getActionTag());
    tapAt(centreOf(last));
    EXPECT_EQ(last, session().currentSentenceButton);
    EXPECT_EQ(30, session().nextSentence);
    EXPECT_EQ(recordingOf(2, 29), m_audio.current());
}

TEST_F(PageLimitsTest, CaptionsFrom1600BytesOnAreNotShown) {
    struct Case {
        int index;
        size_t bytes;
        bool shown;
    } cases[] = {{1, 1599, true}, {3, 1600, false}};
    for (const Case& c : cases) {
        openPage(2);
        UIButton* button = sentenceButton(c.index);
        ASSERT_NE(nullptr, button) << c.index;
        tapAt(centreOf(button));
        EXPECT_EQ(recordingOf(2, c.index), m_audio.current()) << "plays either way";
        ASSERT_NE(nullptr, session().captionLabel);
        EXPECT_EQ(c.shown ? c.bytes : 0u, std::string(session().captionLabel->getString()).size())
            << c.bytes;
        advance(0.35);  // past the first watcher tick, the recording still playing
        EXPECT_EQ(c.shown, session().captionLabel->isVisible()) << c.bytes;
        EXPECT_EQ(c.shown, session().captionBackground->isVisible()) << c.bytes;
    }
}

TEST_F(PageLimitsTest, ASentenceWithoutACaptionEmptiesTheCaptionAndShrinksItsBackground) {
    openPage(2);
    tapAt(centreOf(sentenceButton(1)));
    ASSERT_GT(session().captionBackground->getSize().height, 0);
    tapAt(centreOf(sentenceButton(2)));
    EXPECT_EQ(recordingOf(2, 2), m_audio.current());
    EXPECT_STREQ("", session().captionLabel->getString());
    EXPECT_EQ(CCSize(0, 0), session().captionBackground->getSize());
}

}  // namespace
