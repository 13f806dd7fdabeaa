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

TEST(SpeechEndDetector, AbsurdLimitsAndSamplesDoNotHang) {
    SpeechEndDetector none(0, std::nan(""));
    std::vector<float> odd = {NAN, INFINITY, -INFINITY, 1e30f};
    EXPECT_EQ(SpeechEndDetector::TimedOut, none.push(odd.data(), odd.size()));
}
