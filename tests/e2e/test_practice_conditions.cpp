// Speaking practice under real conditions, with the virtual microphone: a voice from the first
// frame the microphone sends, over room noise; the sound device held open from the sentence to
// the playback; a microphone that opens and sends nothing; the reader's own tone heard back
// late; no sound device and no microphone at all.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/FadingNote.h"
#include "app/PageLayer.h"
#include "app/practice/RecordingKeeper.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/capture/VirtualCaptureBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"
#include "support/VirtualCapture.h"

using namespace pagly::engine;
using namespace pagly;
using pagly::audio::CaptureBackend;
using pagly::test::roomNoise;

namespace {

const int kRate = audio::speech::kRate;

void mixIn(std::vector<float>& signal, const std::vector<float>& part, double at) {
    size_t from = (size_t)(at * kRate);
    if (signal.size() < from + part.size()) signal.resize(from + part.size(), 0.0f);
    for (size_t i = 0; i < part.size(); ++i) signal[from + i] += part[i];
}

class PracticeConditionsTest : public pagly::test::ReaderTest {
  protected:
    // The recordings kept here are not left for the speaking tests that count theirs.
    void TearDown() override {
        SpeakingPractice::keeper().flush();
        std::filesystem::remove_all(
            RecordingKeeper::folderForBook(CCFileUtils::sharedFileUtils()->getResourceRoot()));
        ReaderTest::TearDown();
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    SpeakingPractice* practice() { return page()->practice(); }
    std::string note() {
        CCLabelTTF* label = page() ? page()->noteLabel() : nullptr;
        return label ? label->getString() : "";
    }
    audio::VirtualCaptureBackend& microphone() { return m_capture.backend(); }
    double now() { return CCDirector::sharedDirector()->getElapsedTime(); }
    // Steps until the practice is past `phase` (60 s at most).
    void stepWhile(SpeakingPractice::Phase phase) {
        for (int i = 0; i < 60 * 60 && practice()->phase() == phase; ++i) step();
    }
    void stepUntil(SpeakingPractice::Phase phase) {
        for (int i = 0; i < 60 * 60 && practice()->phase() != phase; ++i) step();
    }
    // Sentence 1 of page 19 in the book's voice, from its first loud sample: a learner who
    // speaks at once.
    static std::vector<float> voice() {
        std::vector<float> v = recordingAt16k(19, 1);
        size_t first = 0;
        while (first < v.size() && std::fabs(v[first]) < 0.02f) ++first;
        return std::vector<float>(v.begin() + (long)first, v.end());
    }
    static double sentenceSeconds() {
        return audio::mp3DurationOfFile(
            CCFileUtils::sharedFileUtils()->fullPathForFilename(recordingOf(19, 1)));
    }

    pagly::test::VirtualCaptureScope m_capture;
};

// The learner starts as the tone ends (or the sound server sends its buffered voice late):
// the kept recording, its playback and the comparison have the whole sentence.
TEST_F(PracticeConditionsTest, AVoiceFromTheFirstFrameHeardIsKeptWhole) {
    std::vector<float> said = voice();
    double saidSeconds = (double)said.size() / kRate;
    for (double lead : {0.0, 0.1, 0.15}) {
        SCOPED_TRACE("voice " + std::to_string(lead) + " s after listening starts");
        openPage(19);
        press(kKeyM);
        stepUntil(SpeakingPractice::Recording);
        ASSERT_EQ(SpeakingPractice::Recording, practice()->phase());
        // What the microphone sent before listening began was thrown away; the voice comes
        // `lead` after, over the room's noise.
        double listening = (double)microphone().delivered() / kRate;
        std::vector<float> heard = roomNoise(listening + lead + saidSeconds + 3.0, -60);
        mixIn(heard, said, listening + lead);
        microphone().feed(heard);
        stepWhile(SpeakingPractice::Recording);
        ASSERT_EQ(SpeakingPractice::PlayingBack, practice()->phase());
        const audio::speech::SpeechComparison* c = practice()->lastComparison();
        ASSERT_NE(nullptr, c);
        EXPECT_GE((double)practice()->lastRecording().size() / kRate, saidSeconds);
        EXPECT_NEAR(c->bookSeconds, c->learnerSeconds, 0.15);
        press(kKeyArrowDown);  // closes the panel
        advance(3);
    }
}

// The sound device is held from the sentence through the tone, the recording and the
// playback, however the practice ends; then it is let go.
TEST_F(PracticeConditionsTest, TheSoundDeviceIsHeldFromTheSentenceToThePlayback) {
    openPage(19);
    struct Case {
        const char* what;
        bool speaks;
        int stopKey;  // pressed while recording (0: none)
    } cases[] = {{"spoken and played back", true, 0},
                 {"nothing heard", false, 0},
                 {"abandoned with Down", true, kKeyArrowDown}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<float> heard = roomNoise(1.0, -60);
        if (c.speaks) mixIn(heard, voice(), 0.5);
        microphone().feed(heard);
        EXPECT_FALSE(m_audio.backend().isDeviceHeld());
        press(kKeyM);
        bool pressed = false;
        for (int i = 0; i < 60 * 60 && practice()->isBusy(); ++i) {
            ASSERT_TRUE(m_audio.backend().isDeviceHeld()) << "phase " << practice()->phase();
            if (c.stopKey && !pressed && practice()->phase() == SpeakingPractice::Recording) {
                pressed = true;
                press(c.stopKey);
            } else {
                step();
            }
        }
        ASSERT_FALSE(practice()->isBusy());
        EXPECT_FALSE(m_audio.backend().isDeviceHeld());
        press(kKeyArrowUp);  // closes a panel, if any
        advance(3);
    }
}

// A microphone that opens and sends nothing (the default source suspended on the sound
// server): the recording still ends at the sentence's heard length x 2 + 2 s, on the
// microphone's clock, and says so; Down abandons a recording at once.
TEST_F(PracticeConditionsTest, AMicrophoneThatSendsNothingEndsAtTheLongestLength) {
    openPage(19);
    microphone().setDelivering(false);
    press(kKeyM);
    stepUntil(SpeakingPractice::Recording);
    ASSERT_EQ(SpeakingPractice::Recording, practice()->phase());
    double since = now();
    stepWhile(SpeakingPractice::Recording);
    EXPECT_EQ(SpeakingPractice::Idle, practice()->phase());
    double longest = sentenceSeconds() * 2 + SpeakingPractice::kExtraSeconds;
    EXPECT_NEAR(longest, now() - since, 1.5 / 60);
    EXPECT_EQ("The microphone sent no sound", note());
    EXPECT_FALSE(microphone().isCapturing());

    press(kKeyM);
    stepUntil(SpeakingPractice::Recording);
    press(kKeyArrowDown);
    EXPECT_FALSE(practice()->isBusy());
    EXPECT_FALSE(microphone().isCapturing());
}

// The microphone hears the reader's own tone 120-200 ms late (a Bluetooth speaker), the
// learner says nothing: the tone is not taken for their speech.
TEST_F(PracticeConditionsTest, OurToneHeardBackLateIsNotTheLearnersSpeech) {
    openPage(19);
    for (double delay : {0.12, 0.2}) {
        SCOPED_TRACE("tone heard " + std::to_string(delay) + " s late");
        // The microphone opens with the tone: it hears it `delay` later.
        std::vector<float> heard = roomNoise(8.0, -60);
        std::vector<float> tone((size_t)(SpeakingPractice::kToneSeconds * kRate));
        double edge = 0.01 * kRate;
        for (size_t i = 0; i < tone.size(); ++i) {
            double fade = std::min(1.0, std::min(i / edge, (tone.size() - 1 - i) / edge));
            tone[i] =
                (float)(0.1 * fade *
                        std::sin(2 * 3.14159265358979 * SpeakingPractice::kToneHertz * i / kRate));
        }
        mixIn(heard, tone, delay);
        microphone().feed(heard);
        press(kKeyM);
        stepUntil(SpeakingPractice::Idle);
        EXPECT_EQ(nullptr, practice()->lastComparison());
        EXPECT_EQ("Nothing heard", note());
        advance(3);
    }
}

// No sound server: the recordings go to a silent stand-in, and there is no microphone. Each is
// said on screen: the first once a run, the second at each M.
TEST_F(PracticeConditionsTest, NoSoundDeviceAndNoMicrophoneAreSaidOnScreen) {
    m_audio.backend().setSilent(true);
    microphone().setOutcome(CaptureBackend::NoDevice);
    openPage(19);
    tapAt(centreOf(sentenceButton(1)));
    EXPECT_EQ(kNoSoundDeviceNote, note());
    advance(kFadingNoteSeconds + 1);
    EXPECT_EQ("", note());
    tapAt(centreOf(sentenceButton(2)));
    EXPECT_EQ("", note()) << "said again";
    advance(5);
    press(kKeyM);
    stepUntil(SpeakingPractice::Idle);
    EXPECT_EQ("No microphone found", note());
}

}  // namespace
