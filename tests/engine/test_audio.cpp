// The audio engine: MP3 length from frame headers, the virtual-clock back-end on the
// director's frame step, and the SDL_mixer back-end under SDL's dummy driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio/MixerLibrary.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/SdlMixerAudioBackend.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/nodes/CCScene.h"
#include "support/Harness.h"
#include "support/Offscreen.h"
#include "support/VirtualAudio.h"

using namespace pagly::audio;
using namespace pagly::engine;
using pagly::test::AudioEngineTest;

namespace {

const std::string kAudio = PAGLY_FIXTURES_DIR "/audio/";

std::string readBytes(const std::string& path) {
    std::string bytes;
    CCFileUtils::sharedFileUtils()->readFile(path, bytes);
    return bytes;
}

double durationOf(const std::string& bytes) {
    return mp3Duration(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// Resolves the fixture names the tests pass to playBackgroundMusic.
class AudioFixtureRoot {
  public:
    AudioFixtureRoot() : m_saved(CCFileUtils::sharedFileUtils()->getResourceRoot()) {
        CCFileUtils::sharedFileUtils()->setResourceRoot(PAGLY_FIXTURES_DIR "/audio");
    }
    ~AudioFixtureRoot() { CCFileUtils::sharedFileUtils()->setResourceRoot(m_saved); }

  private:
    std::string m_saved;
};

}  // namespace

// --- MP3 length -------------------------------------------------------------------------

TEST(Mp3Duration, SpokenSentenceLastsAsLongAsItsFrames) {
    // espeak-ng "Good morning, class." through lame at 32 kbit/s mono: 1.6 s.
    double seconds = mp3DurationOfFile(kAudio + "sentence.mp3");
    EXPECT_NEAR(1.6, seconds, 0.06);
    EXPECT_NEAR(0.8, mp3DurationOfFile(kAudio + "hello.mp3"), 0.3);
}

TEST(Mp3Duration, NotAnMp3GivesNoDuration) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"random bytes", readBytes(kAudio + "random.mp3")},
        {"text", "This is not a recording, just some words in a file."},
        {"a lone frame sync", std::string("\xFF\xFB\x90\x64", 4)},
        {"an ID3 tag and nothing else", std::string("ID3\x03\x00\x00\x00\x00\x00\x05xxxxx", 15)},
    };
    for (const Case& c : cases) EXPECT_LT(durationOf(c.bytes), 0) << c.what;
    EXPECT_LT(mp3DurationOfFile(kAudio + "missing.mp3"), 0);
}

TEST(Mp3Duration, SkipsTagsAndCountsATruncatedFileByWhatIsThere) {
    std::string sound = readBytes(kAudio + "sentence.mp3");
    double whole = durationOf(sound);
    ASSERT_GT(whole, 1.0);

    // ID3v2 before and an ID3v1 tag after the frames change nothing.
    std::string tag("ID3\x04\x00\x00\x00\x00\x00\x20", 10);
    tag += std::string(0x20, '\0');
    std::string trailer = "TAG" + std::string(125, 'x');
    EXPECT_DOUBLE_EQ(whole, durationOf(tag + sound + trailer));

    // A file cut in half plays about half as long.
    double half = durationOf(sound.substr(0, sound.size() / 2));
    EXPECT_GT(half, whole * 0.35);
    EXPECT_LT(half, whole * 0.65);
}

TEST(Mp3Duration, LeavesOutTheEncoderDelayAndPaddingThatDecodersSkip) {
    // The book's recordings carry a LAME tag; a decoder that honours it plays fewer samples
    // than the frames hold, and that is how long the sentence sounds.
    const char* recordings[] = {"/epc/453fc7b9002fd071614c58ef09b66524.mp3",
                                "/epc/24b1061ebaea908c716baf0522c76b5f.mp3"};
    int checked = 0;
    for (const char* name : recordings) {
        std::string bytes = readBytes(std::string(PAGLY_BOOK_DIR) + name);
        if (bytes.empty()) continue;
        PcmSound decoded;
        ASSERT_TRUE(decodeMp3(bytes, decoded)) << name;
        EXPECT_NEAR(decoded.seconds(), durationOf(bytes), 1.5 / decoded.sampleRate) << name;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// --- virtual-clock back-end -------------------------------------------------------------

TEST_F(AudioEngineTest, RecordingPlaysForItsLengthOnTheDirectorsClock) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic("sentence.mp3");
    double length = m_audio.backend().duration();
    ASSERT_GT(length, 1.0);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ("sentence.mp3", m_audio.current());

    advance(length - 0.05);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying()) << "ended early at " << now() << " s";
    advance(0.1);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << "still playing at " << now() << " s";
    EXPECT_EQ("", m_audio.current());
    ASSERT_EQ(1u, m_audio.played().size());
    EXPECT_EQ("sentence.mp3", m_audio.played()[0]);
}

TEST_F(AudioEngineTest, SecondPlayReplacesTheFirstAndStopIsImmediate) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic("sentence.mp3");
    advance(1.0);
    audio->playBackgroundMusic("hello.mp3");
    EXPECT_EQ("hello.mp3", m_audio.current());
    EXPECT_NEAR(0.0, m_audio.backend().position(), 1e-9) << "the new recording starts at 0";

    // The replacement runs its own full length, not what was left of the first.
    double length = m_audio.backend().duration();
    advance(length - 0.05);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());

    audio->stopBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    step();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ((std::vector<std::string>{"sentence.mp3", "hello.mp3"}), m_audio.played());
}

TEST_F(AudioEngineTest, UnplayableFilesNeverPlayAndSilenceWhatPlayed) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    for (const char* name : {"missing.mp3", "empty.mp3", "random.mp3", ""}) {
        audio->playBackgroundMusic("sentence.mp3");
        ASSERT_TRUE(audio->isBackgroundMusicPlaying());
        audio->playBackgroundMusic(name);
        EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << name;
        step();
        EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << name;
    }
    audio->playBackgroundMusic(nullptr);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
}

// A recording that cannot be played is named with the reason the first time it is asked for,
// not at every sentence of automatic reading; the back-end is still asked, as before.
TEST_F(AudioEngineTest, UnplayableRecordingsAreNamedOnceWithTheReason) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {
        {"missing.mp3", "it is missing"},
        {"empty.mp3", "it is empty"},
        {"random.mp3", "it is not an MP3 recording"},
    };
    for (const Case& c : cases) {
        clearLog();
        for (int i = 0; i < 3; ++i) audio->playBackgroundMusic(c.name);
        ASSERT_EQ(1u, logLines().size()) << c.name << ": " << testing::PrintToString(logLines());
        EXPECT_EQ(0u, logLines()[0].find(std::string("cannot use ") + c.name + ": " + c.reason))
            << logLines()[0];
        EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    }
    EXPECT_EQ(9u, m_audio.played().size()) << "every request still reaches the back-end";
    clearLog();
    audio->playBackgroundMusic("sentence.mp3");
    EXPECT_TRUE(logLines().empty()) << testing::PrintToString(logLines());
}

TEST_F(AudioEngineTest, PlayStartedInsideAScheduledCallbackCountsFromThatFrame) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    advance(0.5);
    audio->playBackgroundMusic("sentence.mp3");
    double length = m_audio.backend().duration();
    int frames = 0;
    while (audio->isBackgroundMusicPlaying() && frames < 1000) {
        step();
        ++frames;
    }
    // Ends on the first frame at or past its length.
    EXPECT_EQ((int)std::ceil(length * 60 - 1e-6), frames);
}

TEST_F(AudioEngineTest, PauseHoldsThePositionAndLoopNeverEnds) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic("hello.mp3");
    double length = m_audio.backend().duration();
    advance(0.2);
    audio->pauseBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    advance(5.0);
    audio->resumeBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_NEAR(0.2, m_audio.backend().position(), 0.02);
    advance(length - 0.2 + 0.05);
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());

    audio->rewindBackgroundMusic();
    EXPECT_TRUE(audio->isBackgroundMusicPlaying()) << "rewind restarts an ended recording";

    audio->playBackgroundMusic("hello.mp3", true);
    advance(length * 3 + 0.1);
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
}

TEST_F(AudioEngineTest, VolumeIsClampedAndReachesTheBackEnd) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    struct Case {
        float in, out;
    };
    for (Case c : {Case{1.0f, 1.0f}, Case{0.25f, 0.25f}, Case{1.5f, 1.0f}, Case{-3.0f, 0.0f}}) {
        audio->setBackgroundMusicVolume(c.in);
        EXPECT_FLOAT_EQ(c.out, audio->getBackgroundMusicVolume());
        EXPECT_FLOAT_EQ(c.out, m_audio.backend().volume());
    }
    audio->setBackgroundMusicVolume(1.0f);
}

TEST_F(AudioEngineTest, DirectorResetSilencesTheMusic) {
    AudioFixtureRoot root;
    advance(0.5);
    SimpleAudioEngine::sharedEngine()->playBackgroundMusic("sentence.mp3", true);
    advance(1.0);
    CCDirector::sharedDirector()->reset();
    EXPECT_FALSE(SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying());
}

TEST(VirtualAudioScope, RestoresThePreviousBackEnd) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    auto outer = std::make_unique<VirtualAudioBackend>();
    VirtualAudioBackend* outerRaw = outer.get();
    std::unique_ptr<AudioBackend> original = audio->setBackend(std::move(outer));
    {
        pagly::test::VirtualAudioScope scope;
        EXPECT_EQ(&scope.backend(), audio->backend());
    }
    EXPECT_EQ(outerRaw, audio->backend());
    audio->setBackend(std::move(original));
}

// --- SDL_mixer back-end (real time: these tests wait for the music's end, never time it) --

namespace {

class SdlMixerAudio : public ::testing::Test {
  protected:
    void SetUp() override {
        // A named driver keeps the test silent on machines with speakers; "dummy" plays in
        // real time without a device.
        auto backend = std::make_unique<SdlMixerAudioBackend>(driver());
        m_mixer = backend.get();
        m_saved = SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
    }
    void TearDown() override { SimpleAudioEngine::sharedEngine()->setBackend(std::move(m_saved)); }
    virtual const char* driver() const { return "dummy"; }

    SdlMixerAudioBackend* m_mixer = nullptr;
    std::unique_ptr<AudioBackend> m_saved;
    AudioFixtureRoot m_root;
};

class SdlMixerAudioWithoutDevice : public SdlMixerAudio {
  protected:
    const char* driver() const override { return "no-such-audio-driver"; }
};

}  // namespace

TEST_F(SdlMixerAudio, RealRecordingPlaysForItsLengthThenStops) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    // Taken before the play, so that a late test thread can only lengthen what is measured.
    auto start = std::chrono::steady_clock::now();
    audio->playBackgroundMusic("sentence.mp3");
    ASSERT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ("dummy", m_mixer->currentDriver());
    double length = m_mixer->currentDuration();
    EXPECT_NEAR(mp3DurationOfFile(kAudio + "sentence.mp3"), length, 0.06)
        << "frame-header length and the decoder's length agree";

    // The dummy driver plays in real time, and later still on a loaded machine under the
    // sanitizers: the test waits for the end, and only a play shorter than the recording is
    // a fault.
    EXPECT_TRUE(pagly::test::waitUntilMusicStops()) << "still reported playing";
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(took, length - 0.3) << "stopped long before the end";
}

TEST_F(SdlMixerAudio, SecondPlayReplacesAndStopIsImmediate) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic("sentence.mp3");
    audio->playBackgroundMusic("hello.mp3");
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_NEAR(mp3DurationOfFile(kAudio + "hello.mp3"), m_mixer->currentDuration(), 0.06);
    audio->stopBackgroundMusic();
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
}

TEST_F(SdlMixerAudio, UnplayableFilesNeverReportPlaying) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    for (const char* name : {"missing.mp3", "empty.mp3", "random.mp3"}) {
        audio->playBackgroundMusic("hello.mp3");
        ASSERT_TRUE(audio->isBackgroundMusicPlaying());
        audio->playBackgroundMusic(name);
        EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << name;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << name;
    }
}

TEST_F(SdlMixerAudioWithoutDevice, FallsBackToTheDummyDriverAndStillTellsTheTruth) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic("hello.mp3");
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ("dummy", m_mixer->currentDriver());
    EXPECT_TRUE(pagly::test::waitUntilMusicStops());
}

// An open sound device wakes the process about 90 times a second even in silence: it closes
// once it has been silent (not paused) for longer than the last sound and 3 s more, counted
// from the first check that heard nothing, and the next play opens it again.
TEST_F(SdlMixerAudio, IdleDeviceClosesAndTheNextPlayOpensIt) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->playBackgroundMusic("hello.mp3");
    ASSERT_TRUE(m_mixer->isDeviceOpen());
    double length = m_mixer->currentDuration();
    ASSERT_GT(length, 0.0);
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(m_mixer->closeIfIdle(0.5f)) << "still playing";
    audio->pauseBackgroundMusic();
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(m_mixer->closeIfIdle(0.5f)) << "a paused recording keeps its device";
    audio->resumeBackgroundMusic();
    ASSERT_TRUE(pagly::test::waitUntilMusicStops());
    EXPECT_FALSE(m_mixer->closeIfIdle(0.5f)) << "the first silent check only marks the start";
    int checks = 1;
    while (!m_mixer->closeIfIdle(0.5f) && checks < 100) ++checks;
    EXPECT_GT(0.5 * checks, length + 3.0) << "closed too soon";
    EXPECT_LE(0.5 * (checks - 1), length + 3.0) << "stayed open past its silence";
    EXPECT_FALSE(m_mixer->isDeviceOpen());
    EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ(1, m_mixer->deviceOpenCount());

    audio->playBackgroundMusic("sentence.mp3");
    EXPECT_TRUE(m_mixer->isDeviceOpen());
    EXPECT_EQ(2, m_mixer->deviceOpenCount());
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ("dummy", m_mixer->currentDriver());
    // Silence counts in the scheduler's time, however the checks fall: one long one will do.
    audio->stopBackgroundMusic();
    EXPECT_FALSE(m_mixer->closeIfIdle(0.5f));
    EXPECT_TRUE(m_mixer->closeIfIdle(10.0f));
}

// The mixer library is opened at run time, not at start-up. Where it cannot be opened nothing
// plays, the log says why once (not at every tap), and "is playing" stays false; once it can
// be opened again, a new back-end plays.
TEST(SdlMixerLibrary, AMissingMixerLibraryPlaysNothingAndIsNamedOnce) {
    static std::vector<std::string> lines;
    lines.clear();
    CCSetLogSink([](const char* line) { lines.emplace_back(line); });
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    setMixerLibraryName("libpagly-no-such-mixer.so.0");
    std::unique_ptr<AudioBackend> saved =
        audio->setBackend(std::make_unique<SdlMixerAudioBackend>("dummy"));
    for (int i = 0; i < 3; ++i) {
        audio->playBackgroundMusic("hello.mp3");
        EXPECT_FALSE(audio->isBackgroundMusicPlaying());
        audio->pauseBackgroundMusic();
        audio->resumeBackgroundMusic();
        audio->rewindBackgroundMusic();
        audio->setBackgroundMusicVolume(0.5f);
        EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    }
    int said = 0;
    for (const std::string& line : lines)
        if (line.find("no sound mixer") != std::string::npos &&
            line.find("libpagly-no-such-mixer.so.0") != std::string::npos)
            ++said;
    EXPECT_EQ(1, said);

    setMixerLibraryName(nullptr);
    audio->setBackend(std::make_unique<SdlMixerAudioBackend>("dummy"));
    audio->playBackgroundMusic("hello.mp3");
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    audio->stopBackgroundMusic();
    // The volume first: with no back-end given back, asking afterwards would make a default
    // one that keeps SDL's audio on its default driver for the tests after this.
    audio->setBackgroundMusicVolume(1.0f);
    audio->setBackend(std::move(saved));
    CCSetLogSink(nullptr);
}

// With a window open, SDL's audio system and the mixer library start only once the first
// frame has been drawn: they would take CPU from it. A play before that starts them at once.
class SdlMixerAudioBeforeTheFirstFrame : public pagly::test::OffscreenTest {};

TEST_F(SdlMixerAudioBeforeTheFirstFrame, StartsAfterTheFirstFrameOrAtTheFirstPlay) {
    AudioFixtureRoot root;
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    run(CCScene::create());
    auto waiting = std::make_unique<SdlMixerAudioBackend>("dummy");
    EXPECT_TRUE(waiting->isStartDeferred());
    waiting->startOnceDrawn();
    EXPECT_TRUE(waiting->isStartDeferred()) << "no frame drawn yet";
    drawFrame();
    waiting->startOnceDrawn();
    EXPECT_FALSE(waiting->isStartDeferred());

    auto eager = std::make_unique<SdlMixerAudioBackend>("dummy");
    SdlMixerAudioBackend* raw = eager.get();
    ASSERT_TRUE(raw->isStartDeferred());
    std::unique_ptr<AudioBackend> saved = audio->setBackend(std::move(eager));
    audio->playBackgroundMusic("hello.mp3");
    EXPECT_FALSE(raw->isStartDeferred());
    EXPECT_TRUE(audio->isBackgroundMusicPlaying());
    EXPECT_EQ("dummy", raw->currentDriver());
    audio->stopBackgroundMusic();
    audio->setBackend(std::move(saved));

    // Made and dropped before any frame: nothing is started only to be stopped.
    auto unused = std::make_unique<SdlMixerAudioBackend>("dummy");
    unused.reset();
    waiting.reset();
}
