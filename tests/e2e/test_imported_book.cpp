// A book from elsewhere, converted by the importer, is read through the same screens as the
// sample book: a tap plays that sentence's own clip and lights its button, the sentence keys
// step through it, and reading on goes through the sentences in the book's order across
// pages. The book is a fixed-layout EPUB 3 with media overlays, made and converted once.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "tools/pagly-check/BookChecker.h"

using namespace pagly::engine;
using namespace pagly;
namespace fs = std::filesystem;

namespace {

class ImportedBookTest : public pagly::test::ReaderTest {
  protected:
    // Makes the book and converts it, once for the whole suite ("" when it cannot be).
    static const std::string& convertedBook() {
        static const std::string folder = convertedFixtureEpub("--pages 3 --layout fixed --tone");
        return folder;
    }

    void SetUp() override {
        ReaderTest::SetUp();
        if (!useBookFolder(convertedBook())) GTEST_SKIP() << "no browser to convert the book with";
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
};

TEST_F(ImportedBookTest, TheCheckerPassesItAndTheBookDescribesItsOwnPages) {
    CheckReport report = BookChecker(convertedBook()).run();
    for (const Problem& problem : report.problems) {
        if (problem.severity == Severity::Error) ADD_FAILURE() << problem.line();
    }
    EXPECT_EQ(1, session().book.firstPage());
    EXPECT_EQ(3, session().book.lastPage());
    EXPECT_TRUE(session().book.keepsButtonLook(2));
}

TEST_F(ImportedBookTest, ATapPlaysThatSentencesClipAndLightsItsButton) {
    openPage(2);
    gui::UIButton* second = sentenceButton(2);
    ASSERT_NE(nullptr, second);
    tapAt(centreOf(second));
    EXPECT_EQ(recordingOf(2, 2), m_audio.current());
    EXPECT_TRUE(fs::exists(convertedBook() + "/" + recordingOf(2, 2)));
    EXPECT_EQ(second, session().currentSentenceButton);
    // Lit while it plays: the button shows its pressed look.
    EXPECT_TRUE(second->isFocused());

    press(kKeyArrowDown);  // the next sentence
    EXPECT_EQ(recordingOf(2, 3), m_audio.current());
}

TEST_F(ImportedBookTest, ReadingOnGoesThroughTheSentencesInTheBooksOrderAcrossPages) {
    openPage(1);
    press(kKeySpace);
    ASSERT_TRUE(session().autoReadOn);
    std::vector<Playback> heard = listenFor(6, 120);
    std::vector<std::string> files;
    for (const Playback& p : heard) files.push_back(p.file);
    std::vector<std::string> expected = {recordingOf(1, 1), recordingOf(1, 2), recordingOf(1, 3),
                                         recordingOf(2, 1), recordingOf(2, 2), recordingOf(2, 3)};
    EXPECT_EQ(expected, files);
    EXPECT_EQ(2, session().currentPage);
}

}  // namespace
