// Practice keys on a page: sentence keys, R, S and the settings overlay's keys, echo pauses.
#include <algorithm>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/SetLayer.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/transitions/CCTransitionZoomFlipY.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

class PracticeKeysTest : public pagly::test::ReaderTest {
  protected:
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    UIButton* settingButton(const char* name) {
        SetLayer* overlay = runningLayer<SetLayer>();
        if (!overlay) return nullptr;
        return dynamic_cast<UIButton*>(
            WidgetHelper::findWidgetByName(overlay->uiLayer()->getRootWidget(), name));
    }
};

TEST_F(PracticeKeysTest, DownAndUpPlayTheNeighbouringSentenceAsATouchWould) {
    openPage(19);  // three sentences
    ASSERT_EQ(3, session().pageSentenceCount);
    press(kKeyArrowUp);  // nothing has played: there is no sentence before
    EXPECT_TRUE(m_audio.played().empty());

    struct {
        int key;
        int sentence;  // expected to play (and be pressed)
        bool starts;   // a new start
    } presses[] = {
        {kKeyArrowDown, 1, true},  {kKeyArrowDown, 2, true}, {kKeyArrowUp, 1, true},
        {kKeyArrowUp, 1, false},   {kKeyArrowDown, 2, true}, {kKeyArrowDown, 3, true},
        {kKeyArrowDown, 3, false},
    };
    for (const auto& p : presses) {
        size_t before = m_audio.played().size();
        press(p.key);
        EXPECT_EQ(before + (p.starts ? 1 : 0), m_audio.played().size()) << p.sentence;
        EXPECT_EQ(recordingOf(19, p.sentence), m_audio.current()) << p.sentence;
        EXPECT_EQ(sentenceButton(p.sentence), session().currentSentenceButton);
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(i == p.sentence, sentenceButton(i)->isFocused()) << i << " " << p.sentence;
        EXPECT_EQ(p.sentence + 1, session().nextSentence);
        advance(0.4);  // the caption shows at the watcher's first tick, as for a touch
        EXPECT_TRUE(session().captionLabel->isVisible());
        EXPECT_STRNE("", session().captionLabel->getString());
    }
}

TEST_F(PracticeKeysTest, RStartsTheCurrentSentenceAgainEvenWhileItPlays) {
    openPage(19);
    press(kKeyR);  // no current sentence yet
    EXPECT_TRUE(m_audio.played().empty());
    press(kKeyArrowDown);
    press(kKeyArrowDown);
    advance(0.8);
    ASSERT_TRUE(m_audio.isPlaying());
    EXPECT_GT(m_audio.backend().position(), 0.7);
    press(kKeyR);
    EXPECT_EQ(3u, m_audio.played().size());
    EXPECT_EQ(recordingOf(19, 2), m_audio.current());
    EXPECT_LT(m_audio.backend().position(), 0.05) << "from its beginning";
    EXPECT_TRUE(sentenceButton(2)->isFocused());
    EXPECT_EQ(3, session().nextSentence);
    // After it has ended, R plays it once more.
    advance(10);
    ASSERT_FALSE(m_audio.isPlaying());
    press(kKeyR);
    EXPECT_EQ(recordingOf(19, 2), m_audio.current());
}

TEST_F(PracticeKeysTest, AutomaticReadingGoesOnAfterTheSentenceAKeyStarted) {
    session().readingMode = RepeatPage;
    openPage(19);
    press(kKeySpace);
    for (int frame = 0; frame < 60 * 3 && !m_audio.isPlaying(); ++frame) step();
    ASSERT_EQ(recordingOf(19, 1), m_audio.current());
    press(kKeyArrowDown);
    press(kKeyArrowDown);
    EXPECT_EQ(recordingOf(19, 3), m_audio.current());
    size_t heard = m_audio.played().size();
    for (int frame = 0; frame < 60 * 20 && m_audio.played().size() == heard; ++frame) step();
    ASSERT_GT(m_audio.played().size(), heard);
    EXPECT_EQ(recordingOf(19, 1), m_audio.played().back()) << "the page again, after sentence 3";
    EXPECT_TRUE(session().autoReadOn);
}

TEST_F(PracticeKeysTest, SOpensTheSettingsOverlayWhoseKeysChooseConfirmAndCancel) {
    openPage(5);
    clearLog();
    press(kKeyS);
    step();
    EXPECT_TRUE(logged("Scene 1: onExitTransitionDidStart")) << "the zoom flip has started";
    EXPECT_NE(nullptr, dynamic_cast<CCTransitionZoomFlipY*>(
                           CCDirector::sharedDirector()->getRunningScene()));
    settle();
    ASSERT_NE(nullptr, runningLayer<SetLayer>());
    EXPECT_TRUE(logged("SetLayer  onEnter"));
    EXPECT_TRUE(logged("SetLayer 2: onEnterTransitionDidFinish"));

    // From ReadOn (the last choice) Right stays there, Left and Up move back, Down forward.
    struct {
        int key;
        const char* chosen;
        ReadingMode pending;
    } presses[] = {
        {kKeyRight, "bnaoto", ReadOn},
        {kKeyLeft, "bnaotopage", RepeatPage},
        {kKeyArrowUp, "bnpres", ReadByTouch},
        {kKeyArrowUp, "bnpres", ReadByTouch},
        {kKeyArrowDown, "bnaotopage", RepeatPage},
    };
    for (const auto& p : presses) {
        press(p.key);
        SetLayer* overlay = runningLayer<SetLayer>();
        ASSERT_NE(nullptr, overlay);
        EXPECT_EQ(p.pending, overlay->pendingMode()) << p.chosen;
        EXPECT_EQ(settingButton(p.chosen), session().selectedSettingButton) << p.chosen;
        EXPECT_FALSE(settingButton(p.chosen)->isBright()) << "shows as chosen";
        for (const char* other : {"bnpres", "bnaotopage", "bnaoto"}) {
            if (std::string(other) != p.chosen) {
                EXPECT_TRUE(settingButton(other)->isBright());
            }
        }
    }
    press(kKeyEscape);  // Cancel
    settle();
    EXPECT_EQ(ReadOn, session().readingMode);
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(5, session().currentPage);

    press(kKeyS);
    settle();
    press(kKeyArrowUp);
    press(kKeyArrowUp);
    press(kKeyEnter);  // OK
    settle();
    EXPECT_EQ(ReadByTouch, session().readingMode);
    ASSERT_NE(nullptr, page());
    EXPECT_FALSE(page()->playPauseItem()->isVisible());
    EXPECT_FALSE(page()->settingsItem()->isVisible()) << "the item itself stays hidden";
}

TEST_F(PracticeKeysTest, EchoPausesLeaveTheSentencesLengthBeforeTheUsualPause) {
    session().readingMode = RepeatPage;
    openPage(19);
    press(kKeyE);
    EXPECT_TRUE(session().echoPauses);
    ASSERT_NE(nullptr, page()->noteLabel());
    EXPECT_STREQ("Say it after me: on", page()->noteLabel()->getString());
    EXPECT_TRUE(page()->noteLabel()->isVisible());
    press(kKeySpace);
    std::vector<Playback> heard = listenFor(7, 60);
    ASSERT_GE(heard.size(), 7u);
    EXPECT_EQ(nullptr, page()->noteLabel()) << "the note has faded and gone";
    const double frame = 1.0 / 60;
    for (size_t i = 1; i < 7; ++i) {
        EXPECT_EQ(recordingOf(19, 1 + i % 3), heard[i].file);
        if (i % 3 == 0) continue;  // starting the page again adds its own ticks
        double length = std::max(1.0, heard[i - 1].end - heard[i - 1].start);
        double rest = heard[i].start - heard[i - 1].end - length;
        EXPECT_GE(rest, 0.5 - 2 * frame) << "after the echo, the usual pause: sentence " << i;
        EXPECT_LE(rest, 1.0 + 2 * frame) << "sentence " << i;
    }

    // Off again: the usual rhythm, 0.5..1.0 s between sentences.
    press(kKeyE);
    EXPECT_FALSE(session().echoPauses);
    EXPECT_STREQ("Say it after me: off", page()->noteLabel()->getString());
    std::vector<Playback> later = listenFor(4, 60);
    ASSERT_GE(later.size(), 4u);
    for (size_t i = 2; i < 4; ++i) {
        if (later[i].file == recordingOf(19, 1)) continue;
        double gap = later[i].start - later[i - 1].end;
        EXPECT_GE(gap, 0.5 - frame);
        EXPECT_LE(gap, 1.0 + frame);
    }
}

TEST_F(PracticeKeysTest, AnEchoPauseIsAsLongAsTheSentenceWasHeardAtTheCurrentSpeed) {
    // At half speed the learner heard each sentence for twice its recorded length, and needs
    // that long to say it after.
    const double frame = 1.0 / 60;
    for (float speed : {0.5f, 0.75f, 1.25f}) {
        audio::SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(speed);
        session().readingMode = RepeatPage;
        session().echoPauses = true;
        openPage(19);
        press(kKeySpace);
        std::vector<Playback> heard = listenFor(3, 60);
        ASSERT_GE(heard.size(), 3u) << speed;
        for (size_t i = 1; i < 3; ++i) {
            double length = std::max(1.0, heard[i - 1].end - heard[i - 1].start);
            double rest = heard[i].start - heard[i - 1].end - length;
            EXPECT_GE(rest, 0.5 - 2 * frame) << "speed " << speed << ", sentence " << i;
            EXPECT_LE(rest, 1.0 + 2 * frame) << "speed " << speed << ", sentence " << i;
        }
        press(kKeySpace);
    }
    audio::SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(1.0f);
}

TEST_F(PracticeKeysTest, LeavingAPageDuringAnEchoPauseReadsNothingMore) {
    openPage(19);
    press(kKeyE);
    press(kKeySpace);
    for (int frame = 0; frame < 60 * 3 && !m_audio.isPlaying(); ++frame) step();
    for (int frame = 0; frame < 60 * 10 && m_audio.isPlaying(); ++frame) step();
    advance(0.6);  // inside the echo pause
    size_t heard = m_audio.played().size();
    press(kKeyEscape);
    advance(5);
    EXPECT_EQ(heard, m_audio.played().size());
}

}  // namespace
