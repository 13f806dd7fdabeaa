// The microphone's seam: the lock-free ring between the audio thread and the engine, the
// virtual-clock microphone on the director's frame step, and the end-of-speech detection.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "engine/audio/capture/Microphone.h"
#include "engine/audio/capture/SampleRing.h"
#include "engine/audio/capture/SpeechEndDetector.h"
#include "engine/audio/capture/VirtualCaptureBackend.h"
#include "support/Harness.h"
#include "support/VirtualCapture.h"

using namespace pagly::audio;
using pagly::test::EngineTest;
using pagly::test::roomNoise;
using pagly::test::VirtualCaptureScope;

namespace {

const int kRate = 16000;

std::vector<float> ramp(size_t count, float from = 0) {
    std::vector<float> out(count);
    for (size_t i = 0; i < count; ++i) out[i] = from + (float)i;
    return out;
}

// `seconds` of a 200 Hz tone at `amplitude`.
std::vector<float> tone(double seconds, float amplitude = 0.2f) {
    std::vector<float> out((size_t)(seconds * kRate));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = amplitude * (float)std::sin(2 * 3.14159265358979 * 200 * i / kRate);
    return out;
}

std::vector<float> quiet(double seconds, float hiss = 0.0005f) {
    std::vector<float> out((size_t)(seconds * kRate));
    for (size_t i = 0; i < out.size(); ++i) out[i] = (i % 2 ? hiss : -hiss);
    return out;
}

// The reader's cue as the microphone hears it back: 880 Hz with 10 ms soft edges.
std::vector<float> ourTone(double seconds, float amplitude) {
    std::vector<float> out((size_t)(seconds * kRate));
    double edge = 0.01 * kRate;
    for (size_t i = 0; i < out.size(); ++i) {
        double fade = std::min(1.0, std::min(i / edge, (out.size() - 1 - i) / edge));
        out[i] = (float)(amplitude * fade * std::sin(2 * 3.14159265358979 * 880 * i / kRate + 1.0));
    }
    return out;
}

// Adds `part` into `signal` from `at` seconds on.
void mixIn(std::vector<float>& signal, const std::vector<float>& part, double at) {
    size_t from = (size_t)(at * kRate);
    for (size_t i = 0; i < part.size() && from + i < signal.size(); ++i)
        signal[from + i] += part[i];
}

std::vector<float> join(std::initializer_list<std::vector<float>> parts) {
    std::vector<float> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(SampleRing, KeepsOrderAcrossTheWrapAndCountsWhatDidNotFit) {
    SampleRing ring(100);  // 128
    ASSERT_EQ(128u, ring.capacity());
    std::vector<float> out;
    float next = 0;
    for (int round = 0; round < 10; ++round) {  // wraps several times
        std::vector<float> block = ramp(50, next);
        EXPECT_EQ(50u, ring.write(block.data(), block.size()));
        next += 50;
        ring.readAll(out);
    }
    ASSERT_EQ(500u, out.size());
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ((float)i, out[i]);
    std::vector<float> big = ramp(200);
    EXPECT_EQ(128u, ring.write(big.data(), big.size()));
    EXPECT_EQ(72u, ring.dropped());
    out.clear();
    EXPECT_EQ(128u, ring.readAll(out));
    EXPECT_EQ(127.0f, out.back());  // the oldest kept, the newest dropped
}

TEST(SampleRing, WhatAWriterThreadSendsArrivesInOrderOrIsCountedAsDropped) {
    SampleRing ring(4096);
    const size_t total = 200000;
    std::thread writer([&] {
        std::vector<float> block(256);
        size_t sent = 0;
        while (sent < total) {
            size_t n = std::min(block.size(), total - sent);
            for (size_t i = 0; i < n; ++i) block[i] = (float)((sent + i) % 1000);
            ring.write(block.data(), n);  // as the audio thread: what does not fit is lost
            sent += n;
            std::this_thread::yield();
        }
    });
    // Whatever arrives is in order, and what was written and not dropped all arrives.
    std::vector<float> got;
    while (got.size() + ring.dropped() < total) ring.readAll(got);
    writer.join();
    ring.readAll(got);
    EXPECT_EQ(total, got.size() + ring.dropped());
    if (ring.dropped() == 0) {
        for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ((float)(i % 1000), got[i]) << i;
    }
}

class VirtualMicrophoneTest : public EngineTest {
  protected:
    VirtualCaptureScope m_capture;
};

TEST_F(VirtualMicrophoneTest, HandsOutWhatItWasFedAsTheDirectorsClockAdvances) {
    VirtualCaptureBackend& mic = m_capture.backend();
    EXPECT_EQ(&mic, Microphone::shared()->backend());
    mic.feed(ramp(kRate));  // one second
    ASSERT_EQ(CaptureBackend::Started, mic.start());
    std::vector<float> got;
    EXPECT_EQ(0u, mic.take(got));  // no time has passed
    advance(0.5);
    mic.take(got);
    EXPECT_NEAR(kRate / 2, (double)got.size(), kRate / 60 + 1);
    advance(1.0);
    mic.take(got);
    ASSERT_NEAR(kRate * 1.5, (double)got.size(), kRate / 60 + 1);
    for (size_t i = 0; i < (size_t)kRate; ++i) ASSERT_EQ((float)i, got[i]);
    for (size_t i = kRate; i < got.size(); ++i) ASSERT_EQ(0.0f, got[i]);  // then silence
    mic.stop();
    advance(0.2);
    EXPECT_EQ(0u, mic.take(got));
}

TEST_F(VirtualMicrophoneTest, AMissingOrRefusingMicrophoneSaysSo) {
    VirtualCaptureBackend& mic = m_capture.backend();
    for (auto outcome : {CaptureBackend::NoDevice, CaptureBackend::Refused}) {
        mic.setOutcome(outcome);
        std::string problem;
        EXPECT_EQ(outcome, mic.start(&problem));
        EXPECT_FALSE(problem.empty());
        EXPECT_FALSE(mic.isCapturing());
    }
}

TEST(SpeechEndDetector, EndsOnTheClosingSilenceAfterSpeech) {
    struct Case {
        const char* name;
        std::vector<float> signal;
        double longest;
        SpeechEndDetector::State expected;
        double endsAt;  // seconds of samples seen when it ended (-1: not checked)
    } cases[] = {
        {"speech then silence", join({quiet(0.5), tone(1.0), quiet(2.0)}), 10,
         SpeechEndDetector::Ended, 2.1},
        // A 0.3 s gap between two words is not the end.
        {"two words", join({quiet(0.4), tone(0.5), quiet(0.3), tone(0.5), quiet(1.5)}), 10,
         SpeechEndDetector::Ended, 2.3},
        {"silence only", quiet(3.0), 2.0, SpeechEndDetector::TimedOut, 2.0},
        {"digital silence", std::vector<float>(kRate * 3, 0.0f), 2.0, SpeechEndDetector::TimedOut,
         2.0},
        // A click shorter than a syllable is not speech.
        {"a click", join({quiet(0.5), tone(0.04, 0.8f), quiet(2.5)}), 2.5,
         SpeechEndDetector::TimedOut, 2.5},
        {"speaking past the longest", join({quiet(0.3), tone(4.0)}), 3.0,
         SpeechEndDetector::TimedOut, 3.0},
        {"still waiting", quiet(1.0), 5.0, SpeechEndDetector::Waiting, -1},
    };
    for (const Case& c : cases) {
        SpeechEndDetector detector(kRate, c.longest);
        // In blocks of a sound device's size.
        for (size_t i = 0; i < c.signal.size(); i += 512)
            detector.push(c.signal.data() + i, std::min<size_t>(512, c.signal.size() - i));
        EXPECT_EQ(c.expected, detector.state()) << c.name;
        if (c.endsAt >= 0) {
            EXPECT_NEAR(c.endsAt, (double)detector.samplesSeen() / kRate, 0.03) << c.name;
        }
        bool spoke = std::string(c.name) != "silence only" &&
                     std::string(c.name) != "digital silence" && std::string(c.name) != "a click" &&
                     std::string(c.name) != "still waiting";
        EXPECT_EQ(spoke, detector.heardSpeech()) << c.name;
    }
}

TEST(SpeechEndDetector, MarksWhereTheSpeechWas) {
    std::vector<float> signal = join({quiet(0.5), tone(1.0), quiet(1.0)});
    SpeechEndDetector detector(kRate, 10);
    detector.push(signal.data(), signal.size());
    ASSERT_EQ(SpeechEndDetector::Ended, detector.state());
    EXPECT_NEAR(0.5, (double)detector.speechStart() / kRate, 0.03);
    EXPECT_NEAR(1.5, (double)detector.speechEnd() / kRate, 0.03);
}

// A learner who starts as the tone ends, or a sound server whose capture stream sends its
// buffered voice after a while of nothing: the first frames are speech. The speech line must
// not be taken from them, over digital silence or a room's noise.
TEST(SpeechEndDetector, SpeechFromTheFirstFrameIsFoundWhereItStarts) {
    struct Background {
        const char* name;
        double dbfs;  // -200: digital zeros
    } backgrounds[] = {{"digital zeros", -200}, {"a quiet room", -60}, {"a fan", -47}};
    for (const Background& b : backgrounds) {
        for (double lead : {0.0, 0.1, 0.15}) {
            SCOPED_TRACE(std::string(b.name) + ", voice after " + std::to_string(lead) + " s");
            // Two words with a short gap, then silence.
            std::vector<float> signal = roomNoise(lead + 3.0, b.dbfs);
            mixIn(signal, tone(0.5), lead);
            mixIn(signal, tone(0.6), lead + 0.7);
            SpeechEndDetector detector(kRate, 10);
            for (size_t i = 0; i < signal.size(); i += 512)
                detector.push(signal.data() + i, std::min<size_t>(512, signal.size() - i));
            EXPECT_EQ(SpeechEndDetector::Ended, detector.state());
            ASSERT_TRUE(detector.heardSpeech());
            EXPECT_NEAR(lead, (double)detector.speechStart() / kRate, 0.03);
            EXPECT_NEAR(lead + 1.3, (double)detector.speechEnd() / kRate, 0.03);
        }
    }
}

// The microphone hears the reader's own tone late (a Bluetooth speaker): the learner is
// silent, and the tone is not their speech; when they speak after it, their speech starts
// where they did.
TEST(SpeechEndDetector, OurToneHeardBackLateIsNotSpeech) {
    for (double delay : {0.0, 0.12, 0.2}) {
        for (float loudness : {0.05f, 0.3f}) {
            SCOPED_TRACE("tone after " + std::to_string(delay) + " s at " +
                         std::to_string(loudness));
            std::vector<float> silent = roomNoise(3.0, -60);
            mixIn(silent, ourTone(0.15, loudness), delay);
            SpeechEndDetector detector(kRate, 2.5);
            detector.ignoreTone(880);
            detector.push(silent.data(), silent.size());
            EXPECT_FALSE(detector.heardSpeech()) << detector.speechStart() / (double)kRate;

            std::vector<float> speaking = roomNoise(3.0, -60);
            mixIn(speaking, ourTone(0.15, loudness), delay);
            mixIn(speaking, tone(0.8), 0.6);
            SpeechEndDetector heard(kRate, 10);
            heard.ignoreTone(880);
            heard.push(speaking.data(), speaking.size());
            ASSERT_TRUE(heard.heardSpeech());
            EXPECT_NEAR(0.6, (double)heard.speechStart() / kRate, 0.03);
        }
    }
}

TEST(SpeechEndDetector, AbsurdLimitsAndSamplesDoNotHang) {
    SpeechEndDetector none(0, std::nan(""));
    std::vector<float> odd = {NAN, INFINITY, -INFINITY, 1e30f};
    EXPECT_EQ(SpeechEndDetector::TimedOut, none.push(odd.data(), odd.size()));
}
