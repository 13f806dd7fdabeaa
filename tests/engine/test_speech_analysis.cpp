// Sound analysis over plain buffers: pitch of known tones, the cost of aligning a sentence
// with itself, with a changed copy of itself and with another sentence, and the spoken part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engine/audio/PcmSound.h"
#include "engine/audio/analysis/PitchTracker.h"
#include "engine/audio/analysis/SpeechComparison.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/analysis/TimeWarp.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::audio;
using namespace pagly::audio::speech;

namespace {

const double kPi = 3.14159265358979323846;
// Two sentences of the book, said by the same voice.
const std::string kLongSentence = PAGLY_BOOK_DIR "/epc/24b1061ebaea908c716baf0522c76b5f.mp3";
const std::string kOtherSentence = PAGLY_BOOK_DIR "/epc/004109453bdfef759530e7acb4567fba.mp3";

std::vector<float> decodedAt16k(const std::string& path) {
    std::string bytes;
    pagly::engine::CCFileUtils::sharedFileUtils()->readFile(path, bytes);
    PcmSound sound;
    if (!decodeMp3(bytes, sound)) return {};
    return monoAt16k(sound);
}

// A voiced-sounding tone: a fundamental with falling harmonics, as a glottal source has.
std::vector<float> buzz(double hz, double seconds, double amplitude = 0.3) {
    std::vector<float> out((size_t)(seconds * kRate));
    for (size_t i = 0; i < out.size(); ++i) {
        double t = (double)i / kRate, v = 0;
        for (int h = 1; h <= 8; ++h) v += std::sin(2 * kPi * hz * h * t) / h;
        out[i] = (float)(amplitude * v / 2);
    }
    return out;
}

double medianVoiced(const std::vector<float>& hz, size_t* voiced = nullptr) {
    std::vector<float> v;
    for (float x : hz)
        if (x > 0) v.push_back(x);
    if (voiced) *voiced = v.size();
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

TEST(SpeechAnalysis, PitchOfSyntheticTonesAcrossTheVoiceRange) {
    for (double hz : {90.0, 120.0, 200.0, 310.0, 420.0}) {
        std::vector<float> tone = buzz(hz, 1.0);
        std::vector<float> contour = pitchContour(tone.data(), tone.size());
        size_t voiced = 0;
        double median = medianVoiced(contour, &voiced);
        EXPECT_NEAR(hz, median, hz * 0.01) << hz;
        EXPECT_GT(voiced, contour.size() * 8 / 10) << hz;  // the end frames may lack a window
    }
}

TEST(SpeechAnalysis, SilenceAndNoiseAreUnvoiced) {
    std::vector<float> silence(kRate, 0.0f);
    std::vector<float> contour = pitchContour(silence.data(), silence.size());
    EXPECT_EQ(0.0, medianVoiced(contour));
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-0.3f, 0.3f);
    std::vector<float> noise(kRate);
    for (float& v : noise) v = uniform(random);
    size_t voiced = 0;
    medianVoiced(pitchContour(noise.data(), noise.size()), &voiced);
    EXPECT_LT(voiced, frameCount(noise.size()) / 10);
}

TEST(SpeechAnalysis, AGlideIsFollowedAsARisingMelody) {
    // 150 Hz rising to 300 Hz over a second: one octave, 12 semitones.
    std::vector<float> glide(kRate);
    double phase = 0;
    for (size_t i = 0; i < glide.size(); ++i) {
        double hz = 150 * std::pow(2.0, (double)i / glide.size());
        phase += 2 * kPi * hz / kRate;
        double v = 0;
        for (int h = 1; h <= 6; ++h) v += std::sin(h * phase) / h;
        glide[i] = (float)(0.15 * v);
    }
    std::vector<float> melody = semitonesFromMedian(pitchContour(glide.data(), glide.size()));
    std::vector<float> voiced;
    for (float v : melody)
        if (!std::isnan(v)) voiced.push_back(v);
    ASSERT_GT(voiced.size(), 60u);
    EXPECT_NEAR(12.0, voiced.back() - voiced.front(), 1.5);
    for (size_t i = 1; i < voiced.size(); ++i) EXPECT_GE(voiced[i] + 0.3f, voiced[i - 1]) << i;
}

TEST(SpeechAnalysis, TheSpokenPartLeavesTheSilenceAround) {
    std::vector<float> padded(kRate / 2, 0.0f);
    std::vector<float> tone = buzz(200, 1.0);
    padded.insert(padded.end(), tone.begin(), tone.end());
    padded.resize(padded.size() + kRate, 0.0f);
    Span span = spokenPart(padded);
    EXPECT_NEAR(kRate / 2 - kRate / 20, (double)span.first, kRate * 0.03);
    EXPECT_NEAR(kRate * 3 / 2 + kRate / 20, (double)span.last, kRate * 0.05);
    std::vector<float> silence(kRate, 0.0f);
    EXPECT_EQ(0u, spokenPart(silence).size());
    EXPECT_TRUE(profileOf(silence).empty());
}

TEST(SpeechAnalysis, ARecordingTrimmedToItsSpeechIsSpokenWhole) {
    // A loud word, then the rest of the sentence 20 dB quieter, no silence anywhere (as the
    // book maker trims its recordings).
    std::vector<float> sentence = buzz(200, 0.3);
    for (float v : buzz(150, 1.2)) sentence.push_back(v * 0.1f);
    Span span = spokenPart(sentence);
    EXPECT_EQ(0u, span.first);
    EXPECT_EQ(sentence.size(), span.last);
}

TEST(SpeechAnalysis, AlignmentCostIsSmallForTheSameSentenceAndLargeForAnother) {
    std::vector<float> sentence = decodedAt16k(kLongSentence);
    std::vector<float> other = decodedAt16k(kOtherSentence);
    ASSERT_GT(sentence.size(), (size_t)kRate);
    ASSERT_GT(other.size(), (size_t)kRate / 2);

    // The same sentence as a microphone might give it back: later, quieter, noisy.
    std::vector<float> heard(kRate * 3 / 10, 0.0f);
    for (float v : sentence) heard.push_back(v * 0.5f);
    heard.resize(heard.size() + kRate * 7 / 10, 0.0f);
    std::mt19937 random(3);
    std::normal_distribution<float> hiss(0.0f, 0.002f);
    for (float& v : heard) v += hiss(random);

    SpeechProfile book = profileOf(sentence);
    SpeechComparison self = compareSpeech(book, profileOf(sentence));
    SpeechComparison alike = compareSpeech(book, profileOf(heard));
    SpeechComparison unlike = compareSpeech(book, profileOf(other));
    std::printf(
        "costs: self %.3f alike %.3f unlike %.3f; melody alike %.2f unlike %.2f; "
        "voicing %.2f %.2f\n",
        self.cost, alike.cost, unlike.cost, alike.melodyDistance, unlike.melodyDistance,
        alike.sharedVoicing, unlike.sharedVoicing);
    EXPECT_NEAR(0.0, self.cost, 1e-6);
    EXPECT_EQ(0.0, self.melodyDistance);
    EXPECT_LT(alike.cost, 0.5 * unlike.cost);
    EXPECT_NEAR(book.seconds(), alike.learnerSeconds, 0.1);
    EXPECT_LT(alike.melodyDistance, 1.0);
    EXPECT_GT(alike.sharedVoicing, 0.8);
}

TEST(SpeechAnalysis, TimeWarpPairsARepeatedFrameWithItsOriginal) {
    // a: 0 1 2, b: 0 1 1 1 2 (one dimension): the path holds (1,1) (1,2) (1,3), cost 0.
    std::vector<float> a = {0, 1, 2}, b = {0, 1, 1, 1, 2};
    Warp warp = timeWarp(a, b, 1);
    std::vector<std::pair<int, int>> expected = {{0, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 4}};
    EXPECT_EQ(expected, warp.path);
    EXPECT_EQ(0.0, warp.cost);
    EXPECT_TRUE(std::isinf(timeWarp({}, b, 1).cost));
}
