// A book from elsewhere whose media overlays time each word: converted by the importer, its
// sentence buttons (pictures only, no label) light the word being heard with a band over the
// word's rectangle in the page picture, in step with the sound at every speed, and the band
// goes when the sound ends or the page is left.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "LitWordsFixture.h"
#include "app/BookNames.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/WordLighter.h"
#include "app/WordTimings.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "tools/pagly-check/BookChecker.h"

using namespace pagly::engine;
using namespace pagly;
using pagly::audio::SimpleAudioEngine;
namespace fs = std::filesystem;

namespace {

class ImportedWordsTest : public pagly::test::LitWordsTest {
  protected:
    // Makes the book (two pages, each word spoken and timed) and converts it, once.
    static const std::string& convertedBook() {
        static const std::string folder =
            convertedFixtureEpub("--pages 2 --layout fixed --word-level");
        return folder;
    }

    void SetUp() override {
        ReaderTest::SetUp();
        if (!useBookFolder(convertedBook())) GTEST_SKIP() << "no browser to convert the book with";
    }
    // A tap on the sentence's first word (its rectangle's centre may lie on a neighbour's
    // line, which takes the tap there).
    void play(int pageNumber, int index) {
        gui::UIButton* button = sentenceButton(index);
        WordTimings timings = timingsOf(pageNumber, index);
        ASSERT_FALSE(timings.empty());
        const TimedWord& first = timings.words().front();
        CCPoint at = topLeftOf(button) + CCPoint((float)(first.x + first.width / 2),
                                                 -(float)(first.y + first.height / 2));
        touchDown(at.x, at.y);
        step();
        touchUp(at.x, at.y);
        ASSERT_EQ(recordingOf(pageNumber, index), m_audio.current());
        ASSERT_EQ(button, session().currentSentenceButton);
    }
    static CCPoint topLeftOf(gui::UIButton* button) {
        CCPoint centre = centreOf(button);
        return centre + CCPoint(-button->getSize().width * button->getScaleX() / 2,
                                button->getSize().height * button->getScaleY() / 2);
    }
    // Where the band lies on the screen against where the file puts the word: the button's
    // top left plus the word's rectangle, in design points.
    void expectBandOverWord(gui::UIButton* button, const TimedWord& word) {
        CCLayerColor* band = lighter()->band();
        ASSERT_NE(nullptr, band);
        EXPECT_TRUE(band->isVisible());
        EXPECT_EQ(button->getContainerNode(), band->getParent());
        CCPoint topLeft = topLeftOf(button);
        float left = topLeft.x, top = topLeft.y;
        CCPoint low = band->convertToWorldSpace(CCPoint(0, 0));
        CCSize size = band->getContentSize();
        CCPoint high = band->convertToWorldSpace(CCPoint(size.width, size.height));
        EXPECT_NEAR(left + word.x, low.x, 0.05) << word.text;
        EXPECT_NEAR(left + word.x + word.width, high.x, 0.05) << word.text;
        EXPECT_NEAR(top - word.y, high.y, 0.05) << word.text;
        EXPECT_NEAR(top - word.y - word.height, low.y, 0.05) << word.text;
    }
};

TEST_F(ImportedWordsTest, TheCheckerPassesItsTimings) {
    CheckReport report = BookChecker(convertedBook()).run();
    for (const Problem& problem : report.problems)
        if (problem.severity == Severity::Error) ADD_FAILURE() << problem.line();
    for (int page = 1; page <= 2; ++page)
        for (int index = 1; index <= 3; ++index) {
            WordTimings t = timingsOf(page, index);
            EXPECT_TRUE(t.hasBoxes()) << page << "/" << index;
            EXPECT_GE(t.words().size(), 5u) << page << "/" << index;
        }
}

TEST_F(ImportedWordsTest, TheLitRectangleIsTheWordWhoseTimingHoldsTheMomentAtEachSpeed) {
    for (float speed : {1.0f, 0.5f}) {
        SCOPED_TRACE("speed " + std::to_string(speed));
        SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(speed);
        openPage(1);
        settle();
        WordTimings timings = timingsOf(1, 2);
        ASSERT_TRUE(timings.hasBoxes());
        gui::UIButton* button = sentenceButton(2);
        ASSERT_NE(nullptr, button);
        size_t childrenAtRest = button->getContainerNode()->getChildrenCount();
        play(1, 2);
        ASSERT_TRUE(m_audio.isPlaying());
        std::set<int> seen, banded;
        int frames = followLitWords(timings, speed, seen, [&](int word) {
            if (banded.insert(word).second)
                expectBandOverWord(button, timings.words()[(size_t)word]);
        });
        ASSERT_FALSE(HasFailure());
        EXPECT_EQ(timings.words().size(), seen.size());
        EXPECT_GE(frames / 60.0, timings.words().back().end / speed - 0.05);
        step();
        EXPECT_EQ(-1, lit());
        EXPECT_EQ(childrenAtRest, button->getContainerNode()->getChildrenCount());
    }
}

TEST_F(ImportedWordsTest, LeavingThePagePutsTheLightOut) {
    openPage(1);
    settle();
    gui::UIButton* button = sentenceButton(1);
    size_t childrenAtRest = button->getContainerNode()->getChildrenCount();
    play(1, 1);
    WordTimings timings = timingsOf(1, 1);
    advance(timings.words()[2].start + 0.02);
    EXPECT_EQ(2, lit());
    EXPECT_EQ(childrenAtRest + 1, button->getContainerNode()->getChildrenCount());
    page()->onNextPage(nullptr);
    EXPECT_EQ(childrenAtRest, button->getContainerNode()->getChildrenCount());
    EXPECT_EQ(-1, lighter()->litWord());
    settle();
}

}  // namespace
