// Slower and faster speech: decoding, stretching without a change of pitch or loudness, the
// cache that stretches each recording once, and the audio engine playing a stretched
// recording for exactly its stretched length on the virtual clock.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "engine/audio/Mp3Duration.h"
#include "engine/audio/PcmSound.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/audio/SdlMixerAudioBackend.h"
#include "engine/audio/StretchCache.h"
#include "engine/audio/StretchedSound.h"
#include "engine/audio/StretchedSoundStream.h"
#include "engine/audio/VirtualAudioBackend.h"
#include "engine/platform/CCFileUtils.h"
#include "support/VirtualAudio.h"

using namespace pagly::audio;
using namespace pagly::engine;
using pagly::test::AudioEngineTest;

namespace {

const std::string kAudio = PAGLY_FIXTURES_DIR "/audio/";
// A whole spoken sentence from the book (its longest when this was written).
const std::string kBookSentence = PAGLY_BOOK_DIR "/epc/24b1061ebaea908c716baf0522c76b5f.mp3";

std::string readBytes(const std::string& path) {
    std::string bytes;
    CCFileUtils::sharedFileUtils()->readFile(path, bytes);
    return bytes;
}

PcmSound decodeFile(const std::string& path) {
    PcmSound sound;
    decodeMp3(readBytes(path), sound);
    return sound;
}

// Fundamental frequency of one mono frame by normalised autocorrelation over 70..500 Hz; 0
// when the frame is quiet or not clearly periodic (unvoiced speech, silence).
double framePitch(const std::vector<float>& x, size_t from, size_t length, int rate) {
    double energy = 0;
    for (size_t i = from; i < from + length; ++i) energy += (double)x[i] * x[i];
    if (energy / (double)length < 1e-4) return 0;
    int minLag = rate / 500, maxLag = rate / 70;
    std::vector<double> r((size_t)maxLag + 2, 0.0);
    double best = 0;
    for (int lag = minLag; lag <= maxLag + 1; ++lag) {
        double sum = 0, a = 0, b = 0;
        for (size_t i = from; i + (size_t)lag < from + length; ++i) {
            sum += (double)x[i] * x[i + (size_t)lag];
            a += (double)x[i] * x[i];
            b += (double)x[i + (size_t)lag] * x[i + (size_t)lag];
        }
        r[(size_t)lag] = sum / std::sqrt(a * b + 1e-12);
        if (lag <= maxLag) best = std::max(best, r[(size_t)lag]);
    }
    if (best < 0.7) return 0;
    // The first peak nearly as high as the best one is the period; later ones are its
    // multiples (an octave or more below).
    for (int lag = minLag + 1; lag <= maxLag; ++lag) {
        size_t l = (size_t)lag;
        if (r[l] >= 0.9 * best && r[l] >= r[l - 1] && r[l] >= r[l + 1]) return (double)rate / lag;
    }
    return 0;
}

// The dominant pitch of a sound: the median of the voiced frames' pitches (40 ms frames).
double dominantPitch(const PcmSound& sound) {
    std::vector<float> mono(sound.frames());
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = sound.samples[i * (size_t)sound.channels];
    size_t frame = (size_t)(sound.sampleRate * 0.04);
    std::vector<double> pitches;
    for (size_t at = 0; at + frame <= mono.size(); at += frame) {
        double f = framePitch(mono, at, frame, sound.sampleRate);
        if (f > 0) pitches.push_back(f);
    }
    if (pitches.empty()) return 0;
    std::nth_element(pitches.begin(), pitches.begin() + (ptrdiff_t)pitches.size() / 2,
                     pitches.end());
    return pitches[pitches.size() / 2];
}

double rms(const PcmSound& sound) {
    double sum = 0;
    for (float s : sound.samples) sum += (double)s * s;
    return sound.samples.empty() ? 0 : std::sqrt(sum / (double)sound.samples.size());
}

// The samples of a stretched sound's whole WAV image, back in float.
PcmSound samplesOf(StretchedSound& sound) {
    const std::vector<unsigned char>& wav = sound.wholeImage();
    PcmSound out;
    out.sampleRate = sound.sampleRate();
    out.channels = sound.channels();
    for (size_t at = 44; at + 1 < wav.size(); at += 2) {
        short v = (short)(unsigned short)(wav[at] | (wav[at + 1] << 8));
        out.samples.push_back((float)v / 32767.0f);
    }
    return out;
}

PcmSound tone(double hertz, double seconds, int rate) {
    PcmSound sound;
    sound.sampleRate = rate;
    sound.channels = 1;
    sound.samples.resize((size_t)(seconds * rate));
    for (size_t i = 0; i < sound.samples.size(); ++i) {
        sound.samples[i] = 0.3f * (float)std::sin(2 * M_PI * hertz * (double)i / rate);
    }
    return sound;
}

}  // namespace

// --- Decoding ----------------------------------------------------------------------------

TEST(SpeechDecode, DecodesAsLongAsTheFrameHeadersSay) {
    PcmSound sound = decodeFile(kBookSentence);
    ASSERT_GT(sound.frames(), 0u);
    EXPECT_GE(sound.channels, 1);
    EXPECT_GE(sound.sampleRate, 8000);
    // The decoder drops the encoder's start-up delay that the header count includes.
    EXPECT_NEAR(mp3DurationOfFile(kBookSentence), sound.seconds(), 0.06);
}

TEST(SpeechDecode, DataThatIsNotAnMp3DecodesToNothing) {
    const std::string cases[] = {"", readBytes(kAudio + "random.mp3"),
                                 readBytes(kAudio + "empty.mp3"), "ID3\x03 not a recording"};
    for (const std::string& bytes : cases) {
        PcmSound sound;
        EXPECT_FALSE(decodeMp3(bytes, sound)) << bytes.size() << " bytes";
        EXPECT_EQ(0u, sound.frames());
        EXPECT_EQ(nullptr, StretchedSound::fromMp3(bytes, 0.5));
    }
}

// --- Stretching --------------------------------------------------------------------------

TEST(SpeechStretch, LengthChangesByTheSpeedWhilePitchAndLoudnessStay) {
    PcmSound sentence = decodeFile(kBookSentence);
    ASSERT_GT(sentence.frames(), 0u);
    double sentencePitch = dominantPitch(sentence);
    ASSERT_GT(sentencePitch, 70.0);
    struct Case {
        const char* what;
        PcmSound in;
        double pitch;  // what the input sounds at
        double speed;
    };
    const Case cases[] = {
        {"book sentence at 0.5", sentence, sentencePitch, 0.5},
        {"book sentence at 0.75", sentence, sentencePitch, 0.75},
        {"book sentence at 1.25", sentence, sentencePitch, 1.25},
        {"220 Hz tone at 0.5", tone(220, 1.0, 22050), 220, 0.5},
        {"220 Hz tone at 1.25", tone(220, 1.0, 22050), 220, 1.25},
    };
    for (const Case& c : cases) {
        auto sound = StretchedSound::fromPcm(c.in, c.speed);
        ASSERT_TRUE(sound) << c.what;
        PcmSound out = samplesOf(*sound);
        EXPECT_DOUBLE_EQ(sound->seconds(), out.seconds()) << c.what;
        EXPECT_NEAR(c.in.seconds() / c.speed, out.seconds(), 0.03 * c.in.seconds() / c.speed)
            << c.what;
        EXPECT_NEAR(c.pitch, dominantPitch(out), 0.03 * c.pitch) << c.what;
        EXPECT_NEAR(rms(c.in), rms(out), 0.1 * rms(c.in)) << c.what;
    }
}

TEST(SpeechStretch, AbsurdSpeedsAndEmptySoundsGiveNothing) {
    PcmSound in = tone(220, 0.2, 22050);
    for (double speed : {0.0, -1.0, (double)NAN, (double)INFINITY})
        EXPECT_EQ(nullptr, StretchedSound::fromPcm(in, speed)) << speed;
    EXPECT_EQ(nullptr, StretchedSound::fromPcm(PcmSound(), 0.5));
}

TEST(SpeechStretch, ReadingInPiecesAsTheDeviceDoesGivesTheSameSoundOnce) {
    PcmSound sentence = decodeFile(kBookSentence);
    auto whole = StretchedSound::fromPcm(sentence, 0.5);
    auto pieces = StretchedSound::fromPcm(sentence, 0.5);
    ASSERT_TRUE(whole && pieces);
    const std::vector<unsigned char>& expected = whole->wholeImage();
    ASSERT_EQ(expected.size(), pieces->byteSize());
    size_t heldWhileStretching = pieces->bytesHeld();
    std::vector<unsigned char> got(pieces->byteSize());
    // The header first, then device-sized reads, with a seek back to the start (a rewind).
    EXPECT_EQ(44u, pieces->read(0, got.data(), 44));
    EXPECT_FALSE(pieces->isComplete()) << "nothing beyond the header stretched yet";
    size_t at = 44;
    while (at < got.size() / 2) at += pieces->read(at, got.data() + at, 4096);
    EXPECT_EQ(100u, pieces->read(0, got.data(), 100));
    while (at < got.size()) {
        size_t n = pieces->read(at, got.data() + at, 4093);
        ASSERT_GT(n, 0u);
        at += n;
    }
    EXPECT_EQ(0u, pieces->read(got.size(), got.data(), 16)) << "nothing past the end";
    EXPECT_TRUE(expected == got);
    EXPECT_TRUE(pieces->isComplete());
    EXPECT_LT(pieces->bytesHeld(), heldWhileStretching) << "the input is let go once done";
}

TEST(SpeechStretch, TheMixersStreamReadsSeeksAndRefusesWrites) {
    auto sound = StretchedSound::fromPcm(tone(220, 0.5, 22050), 0.75);
    ASSERT_TRUE(sound);
    std::vector<unsigned char> expected = sound->wholeImage();
    SDL_RWops* stream = openStretchedSoundStream(sound);
    ASSERT_NE(nullptr, stream);
    EXPECT_EQ((Sint64)expected.size(), SDL_RWsize(stream));
    EXPECT_EQ((Sint64)expected.size(), SDL_RWseek(stream, 0, RW_SEEK_END));
    unsigned char byte = 0;
    EXPECT_EQ(0u, SDL_RWread(stream, &byte, 1, 1)) << "nothing past the end";
    EXPECT_LT(SDL_RWseek(stream, -1 - (Sint64)expected.size(), RW_SEEK_END), 0);
    EXPECT_EQ(40, SDL_RWseek(stream, 40, RW_SEEK_SET));
    EXPECT_EQ(44, SDL_RWseek(stream, 4, RW_SEEK_CUR));
    std::vector<unsigned char> got(expected.size());
    SDL_RWseek(stream, 0, RW_SEEK_SET);
    // Reads of whole 4-byte objects: the odd bytes at the end are left, as SDL's own do.
    size_t objects = SDL_RWread(stream, got.data(), 4, got.size() / 4 + 1);
    EXPECT_EQ(expected.size() / 4, objects);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + (ptrdiff_t)objects * 4, expected.begin()));
    EXPECT_EQ(0u, SDL_RWwrite(stream, &byte, 1, 1));
    EXPECT_EQ(0, SDL_RWclose(stream));
    EXPECT_EQ(1, sound.use_count()) << "closing the stream let go of the sound";
}

// --- Stretch cache -----------------------------------------------------------------------

TEST(StretchCache, StretchesASentenceOnceForEachSpeed) {
    StretchCache cache;
    auto first = cache.soundFor(kBookSentence, 0.5);
    ASSERT_TRUE(first);
    EXPECT_EQ(first, cache.soundFor(kBookSentence, 0.5));
    EXPECT_EQ(1u, cache.soundsMade());
    auto faster = cache.soundFor(kBookSentence, 1.25);
    ASSERT_TRUE(faster);
    EXPECT_EQ(2u, cache.soundsMade());
    EXPECT_NEAR(first->seconds() * 0.5, faster->seconds() * 1.25, 0.02);
    EXPECT_GE(cache.bytes(), first->byteSize() + faster->byteSize());
}

TEST(StretchCache, KeepsItsBytesUnderTheCapByLettingTheLeastRecentlyPlayedGo) {
    const std::string sentence = kAudio + "sentence.mp3";
    StretchCache probe;
    size_t one = probe.soundFor(sentence, 0.5)->bytesHeld();
    // Room for two stretches of about that size, not three.
    StretchCache cache(one * 2 + one / 2);
    cache.soundFor(sentence, 0.5);
    cache.soundFor(sentence, 0.51);
    cache.soundFor(sentence, 0.5);  // heard again: now the most recent
    cache.soundFor(sentence, 0.52);
    EXPECT_LE(cache.bytes(), cache.byteCap());
    EXPECT_EQ(2u, cache.entries());
    EXPECT_EQ(3u, cache.soundsMade());
    cache.soundFor(sentence, 0.5);
    EXPECT_EQ(3u, cache.soundsMade()) << "the sentence heard last was kept";
    cache.soundFor(sentence, 0.51);
    EXPECT_EQ(4u, cache.soundsMade()) << "the least recently heard one was let go";

    StretchCache tiny(16);
    auto sound = tiny.soundFor(kAudio + "sentence.mp3", 0.5);
    EXPECT_TRUE(sound) << "a sound larger than the cap still plays";
    EXPECT_EQ(0u, tiny.bytes());
    EXPECT_EQ(nullptr, tiny.soundFor(kAudio + "missing.mp3", 0.5));
    EXPECT_EQ(nullptr, tiny.soundFor(kAudio + "random.mp3", 0.5));
}

// The real mixer (SDL's dummy driver, in real time, like the other mixer tests): the
// stretched sentence plays for its stretched length through the music stream, and the
// mixer's reads stretch all of it. The test waits for the end rather than timing it: a loaded
// machine plays later, never sooner.
TEST(SpeechSpeedMixer, PlaysTheStretchedLengthAndStretchesAsItPlays) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    auto owned = std::make_unique<SdlMixerAudioBackend>("dummy");
    SdlMixerAudioBackend* mixer = owned.get();
    auto saved = audio->setBackend(std::move(owned));
    audio->stretchCache().clear();
    audio->setBackgroundMusicSpeed(0.5f);
    std::string path = kAudio + "sentence.mp3";
    // Taken before the play, so that a late test thread can only lengthen what is measured.
    auto start = std::chrono::steady_clock::now();
    audio->playBackgroundMusic(path.c_str());
    ASSERT_TRUE(audio->isBackgroundMusicPlaying());
    std::shared_ptr<StretchedSound> sound = audio->stretchCache().soundFor(path, 0.5);
    ASSERT_TRUE(sound);
    double length = mixer->currentDuration();
    EXPECT_NEAR(sound->seconds(), length, 0.01);
    EXPECT_NEAR(2 * mp3DurationOfFile(path), length, 0.06 * 2);
    EXPECT_FALSE(sound->isComplete()) << "stretched as it plays, not all before";
    EXPECT_TRUE(pagly::test::waitUntilMusicStops()) << "still reported playing";
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(took, length - 0.3) << "stopped long before the stretched end";
    EXPECT_TRUE(sound->isComplete()) << "the mixer read it to its end";
    audio->setBackgroundMusicSpeed(1.0f);
    audio->setBackend(std::move(saved));
}

// --- The audio engine at another speed ---------------------------------------------------

class SpeechSpeedTest : public AudioEngineTest {
  protected:
    void TearDown() override {
        SimpleAudioEngine::sharedEngine()->setBackgroundMusicSpeed(1.0f);
        AudioEngineTest::TearDown();
    }
    // Steps the clock until the music stops; returns how long it played.
    double playedFor() {
        double played = 0;
        while (SimpleAudioEngine::sharedEngine()->isBackgroundMusicPlaying() && played < 30) {
            advance(1.0 / 60);
            played += 1.0 / 60;
        }
        return played;
    }
};

TEST_F(SpeechSpeedTest, IsPlayingForExactlyTheStretchedLength) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    double original = mp3DurationOfFile(kBookSentence);
    struct Case {
        float speed;
        double factor;
    };
    for (Case c : {Case{1.0f, 1.0}, Case{0.5f, 2.0}, Case{0.75f, 4.0 / 3}, Case{1.25f, 0.8}}) {
        audio->setBackgroundMusicSpeed(c.speed);
        audio->playBackgroundMusic(kBookSentence.c_str());
        double length = m_audio.backend().duration();
        EXPECT_NEAR(original * c.factor, length, 0.03 * original * c.factor) << c.speed;
        EXPECT_NEAR(length, playedFor(), 1.0 / 60 + 1e-9) << c.speed;
        EXPECT_FALSE(audio->isBackgroundMusicPlaying());
    }
    EXPECT_EQ(4u, m_audio.played().size());
}

TEST_F(SpeechSpeedTest, AtFullSpeedNothingIsStretched) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->stretchCache().clear();
    size_t before = audio->stretchCache().soundsMade();
    audio->playBackgroundMusic(kBookSentence.c_str());
    EXPECT_DOUBLE_EQ(mp3DurationOfFile(kBookSentence), m_audio.backend().duration());
    EXPECT_EQ(before, audio->stretchCache().soundsMade());
}

TEST_F(SpeechSpeedTest, UnplayableFilesStaySilentAtEverySpeed) {
    SimpleAudioEngine* audio = SimpleAudioEngine::sharedEngine();
    audio->setBackgroundMusicSpeed(0.5f);
    for (const char* name : {"random.mp3", "empty.mp3", "missing.mp3"}) {
        audio->playBackgroundMusic((kAudio + name).c_str());
        EXPECT_FALSE(audio->isBackgroundMusicPlaying()) << name;
    }
    for (float bad : {0.0f, -0.5f, NAN}) {
        audio->setBackgroundMusicSpeed(bad);
        EXPECT_EQ(0.5f, audio->getBackgroundMusicSpeed()) << bad;
    }
}
