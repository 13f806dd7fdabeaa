// Speaking practice through the real capture path: SDL's capture device with the disk audio
// driver as the microphone, reading a raw file in the format the opened device reports
// (16-bit mono at 16 kHz). The disk driver delivers in real time, so each wait is bounded
// generously and nothing is asserted about how long it took.
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ReaderFixture.h"
#include "app/FadingNote.h"
#include "app/PageLayer.h"
#include "app/practice/SpeakingPractice.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/capture/Microphone.h"
#include "engine/audio/capture/SdlCaptureBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;
using namespace pagly;
using pagly::audio::SdlCaptureBackend;

namespace {

class DiskMicrophoneTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        // The driver is chosen when SDL's audio system starts: it must not run already.
        if (SDL_WasInit(SDL_INIT_AUDIO))
            GTEST_SKIP() << "SDL's audio system already runs with another driver";
        char name[] = "/tmp/pagly-microphone-XXXXXX";
        int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        close(fd);
        m_rawFile = name;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILEIN", m_rawFile.c_str(), 1);
        auto backend = std::make_unique<SdlCaptureBackend>();
        m_backend = backend.get();
        m_previous = audio::Microphone::shared()->setBackend(std::move(backend));
    }
    void TearDown() override {
        ReaderTest::TearDown();
        if (m_backend) audio::Microphone::shared()->setBackend(std::move(m_previous));
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILEIN");
        remove(m_rawFile.c_str());
    }

    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    SpeakingPractice* practice() { return page()->practice(); }

    // What the microphone will hear: half a second of quiet, then `samples` (16 kHz), as the
    // device's own format, 16-bit signed mono.
    void microphoneHears(const std::vector<float>& samples) {
        std::vector<Sint16> raw(audio::speech::kRate / 2, 0);
        for (float v : samples) raw.push_back(audio::toPcm16(v));
        FILE* f = fopen(m_rawFile.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        fwrite(raw.data(), sizeof(Sint16), raw.size(), f);
        fclose(f);
    }

    // Presses M on sentence 1 of page 19 and steps until the recording is over, giving the
    // real-time device up to a minute of wall time.
    void practiseFirstSentence() {
        openPage(19);
        press(kKeyM);
        bool sawRecording = false, sawSpec = false;
        for (int i = 0; i < 6000; ++i) {
            SpeakingPractice::Phase phase = practice()->phase();
            if (phase == SpeakingPractice::Recording) sawRecording = true;
            if (!sawSpec && m_backend->isCapturing() &&
                m_backend->outcome() == audio::CaptureBackend::Started) {
                sawSpec = true;
                // The device opened (on its worker) in the format the raw file was written in.
                const SDL_AudioSpec& spec = m_backend->deviceSpec();
                EXPECT_EQ(AUDIO_S16SYS, spec.format);
                EXPECT_EQ(1, spec.channels);
                EXPECT_EQ(audio::speech::kRate, spec.freq);
            }
            if (sawRecording && phase != SpeakingPractice::Recording) break;
            if (!sawRecording && phase == SpeakingPractice::Idle) break;  // it never opened
            step();
            SDL_Delay(10);
        }
        ASSERT_TRUE(sawRecording) << "the disk driver's capture device did not open";
        EXPECT_TRUE(sawSpec);
        EXPECT_NE(SpeakingPractice::Recording, practice()->phase());
        EXPECT_FALSE(m_backend->isCapturing());
        EXPECT_EQ(0u, m_backend->droppedSamples());
    }

    std::string m_rawFile;
    SdlCaptureBackend* m_backend = nullptr;
    std::unique_ptr<audio::CaptureBackend> m_previous;
};

TEST_F(DiskMicrophoneTest, TheSentencesOwnRecordingAlignsCloselyWithMatchingMelody) {
    microphoneHears(recordingAt16k(19, 1));
    practiseFirstSentence();
    ASSERT_EQ(SpeakingPractice::PlayingBack, practice()->phase());
    ASSERT_NE(nullptr, practice()->panel());
    const audio::speech::SpeechComparison* c = practice()->lastComparison();
    ASSERT_NE(nullptr, c);
    std::printf("own recording: cost %.2f, melody distance %.2f st, shared voicing %.2f\n", c->cost,
                c->melodyDistance, c->sharedVoicing);
    EXPECT_LT(c->cost, 5.0);
    EXPECT_LT(c->melodyDistance, 0.5);
    EXPECT_GT(c->sharedVoicing, 0.8);
    EXPECT_NEAR(c->bookSeconds, c->learnerSeconds, 0.15);
}

TEST_F(DiskMicrophoneTest, AnotherSentenceAlignsBadly) {
    microphoneHears(recordingAt16k(19, 3));
    practiseFirstSentence();
    ASSERT_NE(nullptr, practice()->lastComparison());
    const audio::speech::SpeechComparison* c = practice()->lastComparison();
    std::printf("another sentence: cost %.2f, melody distance %.2f st, shared voicing %.2f\n",
                c->cost, c->melodyDistance, c->sharedVoicing);
    EXPECT_GT(c->cost, 12.0);
}

TEST_F(DiskMicrophoneTest, SilenceGivesTheNothingHeardNote) {
    microphoneHears({});
    practiseFirstSentence();
    EXPECT_EQ(SpeakingPractice::Idle, practice()->phase());
    EXPECT_EQ(nullptr, practice()->panel());
    CCLabelTTF* note = page()->noteLabel();
    ASSERT_NE(nullptr, note);
    EXPECT_STREQ("Nothing heard", note->getString());
}

}  // namespace
