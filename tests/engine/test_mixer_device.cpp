// The SDL_mixer back-end under SDL's dummy driver, driven by the director's clock: the sound
// device stays open through a page of automatic reading and closes once the reader has been
// still for a while; a recording it cannot use is named in one log line.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio/SdlMixerAudioBackend.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "support/Harness.h"

using namespace pagly::audio;
using namespace pagly::engine;

namespace {

// Automatic reading polls "is playing" this often, and waits at most this long between a
// sentence's end (or its echo pause) and the next sentence.
const double kPoll = 0.5;
const double kLongestPause = 1.0;

class MixerOnTheDirectorsClock : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_savedRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/audio");
        auto backend = std::make_unique<SdlMixerAudioBackend>("dummy");
        m_mixer = backend.get();
        m_saved = audio()->setBackend(std::move(backend));
    }
    void TearDown() override {
        audio()->setBackgroundMusicSpeed(1.0f);
        audio()->setBackend(std::move(m_saved));  // the mixer back-end goes before the leak check
        CCFileUtils::sharedFileUtils()->setResourceRoot(m_savedRoot);
        EngineTest::TearDown();
    }
    static SimpleAudioEngine* audio() { return SimpleAudioEngine::sharedEngine(); }

    // Polls as automatic reading does, every 0.5 s of the director's clock, until the
    // recording has ended. The mixer plays in real time, so between polls real time passes
    // too, but only until the recording ends: how fast the machine is changes how many polls
    // see it playing, never how much silence the director's clock shows after it.
    void pollUntilSilent() {
        for (int polls = 0; polls < 100; ++polls) {
            advance(kPoll);
            auto wait = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
            if (!audio()->isBackgroundMusicPlaying()) return;
            while (audio()->isBackgroundMusicPlaying() && std::chrono::steady_clock::now() < wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        FAIL() << "the recording never ended";
    }

    // Reads the sentences one after another with the longest pauses automatic reading leaves:
    // start one, poll until it has ended, wait an echo pause (as long as the sentence was
    // heard, at least a second) when asked, then the pause before the next. Returns once the
    // last has ended, with how long it was heard.
    double readPage(const std::vector<std::string>& sentences, bool echoPauses) {
        double heard = 0;
        for (size_t i = 0; i < sentences.size(); ++i) {
            if (i > 0) {
                if (echoPauses) advance(std::max(1.0, heard));
                advance(kLongestPause);
            }
            audio()->playBackgroundMusic(sentences[i].c_str());
            EXPECT_TRUE(audio()->isBackgroundMusicPlaying()) << sentences[i];
            heard = m_mixer->currentDuration();
            EXPECT_GT(heard, 0) << sentences[i];
            pollUntilSilent();
        }
        return heard;
    }

    SdlMixerAudioBackend* m_mixer = nullptr;
    std::unique_ptr<pagly::audio::AudioBackend> m_saved;
    std::string m_savedRoot;
};

}  // namespace

// Opening the device lengthens the pause before a sentence and can be heard as a click: a
// page read aloud opens it once. Still afterwards, the reader lets it go once the silence is
// longer than the last sentence and 3 s more (automatic reading never waits that long), so
// that an open device does not wake the process about 90 times a second.
TEST_F(MixerOnTheDirectorsClock, APageReadAloudOpensTheDeviceOnceAndAStillReaderClosesIt) {
    const std::vector<std::string> page = {"one.mp3", "two.mp3", "three.mp3"};
    struct Case {
        const char* what;
        float speed;
        bool echoPauses;
    };
    const Case cases[] = {
        {"plain reading", 1.0f, false},
        {"echo pauses", 1.0f, true},
        {"slow speech with echo pauses", 0.5f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        audio()->setBackgroundMusicSpeed(c.speed);
        ASSERT_FALSE(m_mixer->isDeviceOpen());
        int opensBefore = m_mixer->deviceOpenCount();

        double heard = readPage(page, c.echoPauses);
        EXPECT_EQ(1, m_mixer->deviceOpenCount() - opensBefore)
            << "the device closed and opened again between sentences";

        // The last sound ended within the last poll.
        double limit = heard + 3.0;
        advance(limit - kPoll - 0.1);
        EXPECT_TRUE(m_mixer->isDeviceOpen()) << "closed before " << limit << " s of silence";
        advance(kPoll + 0.1 + 2 * kPoll + 0.1);
        EXPECT_FALSE(m_mixer->isDeviceOpen()) << "still open well after " << limit << " s";
        EXPECT_EQ(1, m_mixer->deviceOpenCount() - opensBefore);
    }
}

// Speaking practice holds the device from the sentence through its tone (0.15 s), a recording
// of any length and its playback: the idle limit of the tone's length must not close it under
// the learner, nor open it again for each sentence. Let go, it closes as after any sound.
TEST_F(MixerOnTheDirectorsClock, AHeldDeviceStaysOpenThroughAnySilenceAndClosesOnceLetGo) {
    int opensBefore = m_mixer->deviceOpenCount();
    audio()->holdSoundDevice(true);
    for (int sentence = 0; sentence < 3; ++sentence) {
        readPage({"one.mp3"}, false);
        advance(20.0);  // a long recording: far past the last sound's length and 3 s
        EXPECT_TRUE(m_mixer->isDeviceOpen()) << sentence;
    }
    EXPECT_EQ(1, m_mixer->deviceOpenCount() - opensBefore);
    audio()->holdSoundDevice(false);
    advance(m_mixer->currentDuration() + 3.0 + 2 * kPoll + 0.1);
    EXPECT_FALSE(m_mixer->isDeviceOpen());
}

// A missing, empty or non-MP3 recording is named in one line "cannot use <file>: <reason>" the
// first time it is asked for, at any speed, although both the mixer and the audio engine
// find it unusable.
TEST_F(MixerOnTheDirectorsClock, AnUnusableRecordingIsNamedInOneLine) {
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {
        {"missing.mp3", "it is missing"},
        {"empty.mp3", "it is empty"},
        {"random.mp3", "it is not an MP3 recording"},
    };
    for (float speed : {1.0f, 0.75f}) {
        audio()->setBackgroundMusicSpeed(speed);
        forgetUnusableFiles();  // a run of its own at each speed
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at speed " + std::to_string(speed));
            clearLog();
            for (int i = 0; i < 3; ++i) {
                audio()->playBackgroundMusic(c.name);
                EXPECT_FALSE(audio()->isBackgroundMusicPlaying());
            }
            std::vector<std::string> named;
            for (const std::string& line : logLines())
                if (line.find("cannot use") != std::string::npos) named.push_back(line);
            ASSERT_EQ(1u, named.size()) << testing::PrintToString(logLines());
            EXPECT_EQ(0u, named[0].find(std::string("cannot use ") + c.name + ": " + c.reason))
                << named[0];
        }
    }
    clearLog();
    audio()->playBackgroundMusic("one.mp3");
    EXPECT_TRUE(audio()->isBackgroundMusicPlaying());
    EXPECT_TRUE(logLines().empty()) << testing::PrintToString(logLines());
}
