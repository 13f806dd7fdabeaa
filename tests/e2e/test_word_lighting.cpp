// The word being heard is lit on the playing sentence's button: in step with the sound on
// the director's clock at every speed, out when the sound ends, is interrupted or the page is
// left; a recording with a missing or damaged timing file plays unlit, with one log line.
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
#include "engine/base/CCArray.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"

using namespace pagly;
using namespace pagly::engine;
using namespace pagly::gui;
using pagly::audio::SimpleAudioEngine;
namespace fs = std::filesystem;

namespace {

// Page 2, sentence 3: "I'm Tom. Nice to meet you." (six words).
const int kPage = 2;
const int kSentence = 3;

class WordLightingTest : public pagly::test::LitWordsTest {
  protected:
    void touchSentence(int index) {
        CCPoint at = centreOf(sentenceButton(index));
        touchDown(at.x, at.y);
    }
    void releaseSentence(int index) {
        CCPoint at = centreOf(sentenceButton(index));
        touchUp(at.x, at.y);
    }
    bool loggedPart(const std::string& part) const {
        for (const std::string& l : logLines())
            if (l.find(part) != std::string::npos) return true;
        return false;
    }
};

TEST_F(WordLightingTest, TheLitWordIsTheOneWhoseTimingHoldsTheMomentAtEachSpeed) {
    for (float speed : {1.0f, 0.5f}) {
        SCOPED_TRACE("speed " + std::to_string(speed));
        SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(speed);
        openPage(kPage);
        settle();
        WordTimings timings = timingsOf(kPage, kSentence);
        ASSERT_EQ(6u, timings.words().size());
        UIButton* button = sentenceButton(kSentence);
        ASSERT_NE(nullptr, button);
        touchSentence(kSentence);
        step();
        releaseSentence(kSentence);
        ASSERT_TRUE(m_audio.isPlaying());
        std::set<int> seen;
        int frames = followLitWords(timings, speed, seen, [&](int) {
            CCLayerColor* band = lighter()->band();
            ASSERT_NE(nullptr, band);
            EXPECT_TRUE(band->isVisible());
            EXPECT_EQ(button->getTitleNode(), band->getParent());
        });
        ASSERT_FALSE(HasFailure());
        // Every word was lit in turn, for about its length stretched by the speed.
        EXPECT_EQ(6u, seen.size());
        double heardLength = timings.words().back().end / speed;
        EXPECT_GE(frames / 60.0, heardLength - 0.05);
        // The sound has ended: the light is out and the band gone from the label.
        step();
        EXPECT_EQ(-1, lit());
        EXPECT_EQ(0u, button->getTitleNode()->getChildrenCount());
    }
}

// The light follows the frames the device has played, not the clock since the play call: a
// device that starts 0.9 s late (or 50 ms, as on a quiet run) never has a word lit ahead of
// its sound, at any speed.
TEST_F(WordLightingTest, TheLitWordFollowsWhatTheDeviceHasPlayed) {
    for (double late : {0.05, 0.9}) {
        for (float speed : {1.0f, 0.5f}) {
            SCOPED_TRACE("device " + std::to_string(late) + " s late, speed " +
                         std::to_string(speed));
            SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(speed);
            m_audio.backend().setStartDelay(late);
            openPage(kPage);
            settle();
            WordTimings timings = timingsOf(kPage, kSentence);
            touchSentence(kSentence);
            releaseSentence(kSentence);
            std::set<int> seen;
            followLitWords(timings, speed, seen);
            ASSERT_FALSE(HasFailure());
            EXPECT_EQ(6u, seen.size());
        }
    }
}

TEST_F(WordLightingTest, AnotherSentenceTakesTheLightAndLeavingThePagePutsItOut) {
    openPage(kPage);
    settle();
    UIButton* first = sentenceButton(kSentence);
    UIButton* second = sentenceButton(kSentence + 1);
    touchSentence(kSentence);
    releaseSentence(kSentence);
    WordTimings timings = timingsOf(kPage, kSentence);
    advance(timings.words()[2].start + 0.02);
    EXPECT_EQ(2, lit());
    EXPECT_EQ(1u, first->getTitleNode()->getChildrenCount());

    touchSentence(kSentence + 1);
    releaseSentence(kSentence + 1);
    EXPECT_EQ(0u, first->getTitleNode()->getChildrenCount());
    WordTimings next = timingsOf(kPage, kSentence + 1);
    advance(next.words()[1].start + 0.02);
    EXPECT_EQ(1, lit());
    EXPECT_EQ(second->getTitleNode(), lighter()->band()->getParent());

    page()->onNextPage(nullptr);
    EXPECT_EQ(0u, second->getTitleNode()->getChildrenCount());
    EXPECT_EQ(-1, lighter()->litWord());
    settle();
}

TEST_F(WordLightingTest, ReplayingStartsTheWordsAgain) {
    openPage(kPage);
    settle();
    touchSentence(kSentence);
    releaseSentence(kSentence);
    WordTimings timings = timingsOf(kPage, kSentence);
    advance(timings.words()[4].start + 0.02);
    EXPECT_EQ(4, lit());
    page()->replaySentence();
    step();
    EXPECT_EQ(timings.wordAt(m_audio.backend().position()), lit());
    EXPECT_LE(lit(), 0);
}

// A book whose timing files were damaged or lost: a folder of links to the bundled book with
// a folder of its own for the recordings.
class DamagedTimingsTest : public WordLightingTest {
  protected:
    void SetUp() override {
        WordLightingTest::SetUp();
        char templ[] = "/tmp/pagly-words-XXXXXX";
        m_dir = mkdtemp(templ);
        for (const auto& e : fs::directory_iterator(PAGLY_BOOK_DIR)) {
            std::string name = e.path().filename().string();
            if (name == "epc" || name == "ft.xml") continue;
            fs::create_symlink(e.path(), m_dir / name);
        }
        fs::create_directory(m_dir / "epc");
        for (const auto& e : fs::directory_iterator(fs::path(PAGLY_BOOK_DIR) / "epc"))
            fs::create_symlink(e.path(), m_dir / "epc" / e.path().filename());
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_dir.string());
    }
    void TearDown() override {
        WordLightingTest::TearDown();
        fs::remove_all(m_dir);
    }
    void replaceTimings(int index, const std::string* text) {
        fs::path file = m_dir / WordTimings::pathForRecording(recordingPath(kPage, index));
        fs::remove(file);
        if (!text) return;
        std::ofstream out(file, std::ios::binary);
        out << *text;
    }
    // Plays sentence `index` to its end; true when a word was ever lit.
    bool anyWordLit(int index) {
        touchSentence(index);
        releaseSentence(index);
        EXPECT_TRUE(m_audio.isPlaying());
        bool any = false;
        for (int f = 0; f < 60 * 6 && m_audio.isPlaying(); ++f) {
            step();
            any = any || lit() >= 0;
        }
        return any;
    }
    fs::path m_dir;
};

TEST_F(DamagedTimingsTest, PlaysUnlitAndSaysWhyOnce) {
    const std::string outOfOrder =
        std::string(WordTimings::kHeader) + "\n0.5 0.7 Hi!\n0.1 0.3 I'm\n0.3 0.6 Amy.\n";
    const std::string tooFew = std::string(WordTimings::kHeader) + "\n0.1 0.3 I'm\n0.3 0.6 Tom.\n";
    const std::string absurd = std::string(WordTimings::kHeader) +
                               "\n0 1e300 Nice\n0 1 to\n1 2 meet\n2 3 you,\n3 4 too.\n";
    replaceTimings(2, &outOfOrder);
    replaceTimings(3, &tooFew);
    replaceTimings(4, &absurd);
    replaceTimings(1, nullptr);  // none at all
    openPage(kPage);
    settle();
    clearLog();
    for (int index = 1; index <= 4; ++index) EXPECT_FALSE(anyWordLit(index)) << index;
    EXPECT_TRUE(
        loggedPart("line 3: \"I'm\" starts before \"Hi!\" ends (words out of order); its "
                   "words are not lit"));
    EXPECT_TRUE(loggedPart("it times 2 words, the button shows 6"));
    EXPECT_TRUE(loggedPart("outside 0..600 s"));
    EXPECT_FALSE(loggedPart(WordTimings::pathForRecording(recordingPath(kPage, 1))));
    // Once a run, however often the learner taps it.
    size_t lines = logLines().size();
    EXPECT_FALSE(anyWordLit(2));
    size_t complaints = 0;
    for (size_t i = lines; i < logLines().size(); ++i)
        complaints += logLines()[i].find("Word timings of") != std::string::npos;
    EXPECT_EQ(0u, complaints);
}

}  // namespace
