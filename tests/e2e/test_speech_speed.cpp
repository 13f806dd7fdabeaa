// Slower and faster speech on the page reader: the - and + keys, the fading note, the
// remembered speed, and captions and automatic reading following the stretched recordings.
#include <cstdio>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/FadingNote.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/ResumeState.h"
#include "app/SpeechSpeed.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/StretchCache.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"

using namespace pagly::audio;
using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

const double kFrame = 1.0 / 60;

class SpeechSpeedReaderTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        remove(resumeStatePath().c_str());
        SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(1.0f);
    }
    void TearDown() override {
        SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(1.0f);
        session().resume.flush();
        remove(resumeStatePath().c_str());
        ReaderTest::TearDown();
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    float speed() { return SimpleAudioEngine::sharedEngine()->getBackgroundMusicSpeed(); }
    static double recordedLength(int page, int index) {
        return mp3DurationOfFile(sandbox() + "/" + recordingOf(page, index));
    }
    static float rememberedSpeed() {
        session().resume.flush();
        return readResumeState(resumeStatePath()).speed;
    }
    void writeStateFile(const std::string& text) {
        FILE* file = fopen(resumeStatePath().c_str(), "wb");
        ASSERT_NE(nullptr, file);
        fwrite(text.data(), 1, text.size(), file);
        fclose(file);
    }
};

TEST_F(SpeechSpeedReaderTest, MinusAndPlusStepThroughTheSpeedsAndShowAFadingNote) {
    openPage(5);
    struct Case {
        int key;
        float speed;
    };
    const Case steps[] = {{kKeyMinus, 0.75f}, {kKeyMinus, 0.5f}, {kKeyMinus, 0.5f},
                          {kKeyPlus, 0.75f},  {kKeyPlus, 1.0f},  {kKeyPlus, 1.25f},
                          {kKeyPlus, 1.25f}};
    for (const Case& c : steps) {
        press(c.key);
        EXPECT_EQ(c.speed, speed());
        CCNode* note = page()->getChildByTag(kFadingNoteTag);
        ASSERT_NE(nullptr, note);
        ASSERT_EQ(1u, note->getChildren()->count());
        CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(note->getChildren()->objectAtIndex(0));
        ASSERT_NE(nullptr, label);
        char text[32];
        snprintf(text, sizeof text, "Speed %g\u00d7", c.speed);
        EXPECT_EQ(text, std::string(label->getString()));
        step();
    }
    int notes = 0;
    for (CCObject* child : *page()->getChildren())
        if (static_cast<CCNode*>(child)->getTag() == kFadingNoteTag) ++notes;
    EXPECT_EQ(1, notes) << "a new note replaces the one before";
    CCLayerColor* note = dynamic_cast<CCLayerColor*>(page()->getChildByTag(kFadingNoteTag));
    ASSERT_NE(nullptr, note);
    unsigned char full = note->getOpacity();
    advance(kFadingNoteSeconds * 0.8);
    EXPECT_LT(note->getOpacity(), full) << "fading";
    advance(kFadingNoteSeconds * 0.2 + 2 * kFrame);
    EXPECT_EQ(nullptr, page()->getChildByTag(kFadingNoteTag)) << "gone";
}

TEST_F(SpeechSpeedReaderTest, TheSpeedIsRememberedWithTheReadingStateAndADamagedOneIsIgnored) {
    EXPECT_EQ(0.0f, rememberedSpeed()) << "nothing remembered yet";
    EXPECT_EQ(1.0f, rememberedSpeechSpeed());
    openPage(5);
    press(kKeyMinus);
    EXPECT_EQ(0.75f, rememberedSpeed());
    press(kKeyMinus);
    EXPECT_EQ(0.5f, rememberedSpeed());
    EXPECT_EQ(5, readResumeState(resumeStatePath()).pageOf(bookKey()))
        << "the page is kept beside it";
    EXPECT_EQ(0u, stateFileTemporaries().size()) << "the temporary file was renamed into place";

    const char* damaged[] = {"pagly-state 1\nspeed 0.6\n",      "pagly-state 1\nspeed\n",
                             "pagly-state 1\nspeed nan\n",      "pagly-state 1\nspeed 0.5x\n",
                             "pagly-state 1\nspeed -1\n",       "pagly-state 1\nspeed 1e9\n",
                             "pagly-state 1\npage 5\nspeed 0\n"};
    for (const char* text : damaged) {
        writeStateFile(text);
        clearLog();
        ResumeState state = readResumeState(resumeStatePath());
        EXPECT_EQ(0.0f, state.speed) << text;
        EXPECT_EQ(0, state.unclaimedPage) << "a damaged file is ignored whole: " << text;
        EXPECT_TRUE(
            logged("state file " + resumeStatePath() + " ignored: its speech speed is damaged"))
            << text;
    }
    writeStateFile("pagly-state 1\nspeed 1.25\n");
    EXPECT_EQ(1.25f, rememberedSpeed());
}

TEST_F(SpeechSpeedReaderTest, TheCaptionStaysUpExactlyAsLongAsTheStretchedSentence) {
    openPage(2);
    press(kKeyMinus);
    press(kKeyMinus);
    ASSERT_EQ(0.5f, speed());
    UIButton* button = sentenceButton(2);
    ASSERT_NE(nullptr, button);
    tapAt(centreOf(button));
    double started = now() - kFrame;  // the sentence started when the finger went down
    double recorded = recordedLength(2, 2);
    double stretched = m_audio.backend().duration();
    EXPECT_NEAR(2 * recorded, stretched, 0.03 * 2 * recorded);

    advance(0.3);
    // From the watcher's first look on, the caption is up in every frame the stretched
    // sentence plays, also past the recorded length.
    int hiddenFrames = 0;
    double lastVisible = 0;
    while (m_audio.isPlaying() && now() - started < 30) {
        if (session().captionLabel->isVisible()) {
            lastVisible = now();
        } else {
            ++hiddenFrames;
        }
        step();
    }
    double ended = now();
    EXPECT_EQ(0, hiddenFrames);
    EXPECT_GT(lastVisible - started, recorded + 0.5);
    EXPECT_NEAR(stretched, ended - started, kFrame + 1e-6);
    while (session().captionLabel->isVisible() && now() - ended < 2) step();
    EXPECT_FALSE(session().captionLabel->isVisible());
    EXPECT_LE(now() - ended, 0.3 + kFrame + 1e-6) << "hidden at the watcher's next tick";
}

TEST_F(SpeechSpeedReaderTest, AutomaticReadingAtHalfSpeedKeepsItsPausesBetweenSentences) {
    session().readingMode = RepeatPage;
    openPage(19);
    ASSERT_EQ(3, session().pageSentenceCount);
    press(kKeyMinus);
    press(kKeyMinus);
    page()->onPlayPause(page()->playPauseItem());
    std::vector<Playback> heard = listenFor(4, 60);
    ASSERT_GE(heard.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_EQ(recordingOf(19, 1 + (int)i), heard[i].file);
        double twice = 2 * recordedLength(19, 1 + (int)i);
        EXPECT_NEAR(twice, heard[i].end - heard[i].start, 0.03 * twice + kFrame) << i;
    }
    for (size_t i = 1; i < 3; ++i) {
        double gap = heard[i].start - heard[i - 1].end;
        EXPECT_GE(gap, 0.5 - 1e-6) << "silence before sentence " << i;
        EXPECT_LE(gap, 1.0 + kFrame + 1e-6) << "silence before sentence " << i;
    }
    EXPECT_EQ(recordingOf(19, 1), heard[3].file);
    EXPECT_LE(SimpleAudioEngine::sharedEngine()->stretchCache().bytes(),
              SimpleAudioEngine::sharedEngine()->stretchCache().byteCap());
}

TEST_F(SpeechSpeedReaderTest, ASentenceHeardAgainIsNotStretchedAgain) {
    openPage(19);
    press(kKeyMinus);
    StretchCache& cache = SimpleAudioEngine::sharedEngine()->stretchCache();
    cache.clear();
    size_t before = cache.soundsMade();
    for (int round = 0; round < 3; ++round) {
        for (int index = 1; index <= 3; ++index) {
            tapAt(centreOf(sentenceButton(index)));
            step();
        }
    }
    EXPECT_EQ(before + 3, cache.soundsMade());
}

}  // namespace
