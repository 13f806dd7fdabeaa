#pragma once

#include <cstddef>
#include <vector>

#include "engine/audio/capture/CaptureBackend.h"

namespace pagly::audio {

// A microphone for tests: it "records" the samples it was fed, at its sample rate on the
// director's clock (a second of virtual time hands out a second of samples), then silence.
// It can also play a missing or a refusing microphone, or one that opens and then sends
// nothing (a sound server whose source is suspended). Its clock, which limits recordings that
// get no samples, is the director's too. Nothing here reads the wall clock.
class VirtualCaptureBackend : public CaptureBackend {
  public:
    explicit VirtualCaptureBackend(int sampleRate = 16000) : m_rate(sampleRate) {}

    // What the next recording hears (from its start), replacing what was fed before.
    void feed(std::vector<float> samples) { m_source = std::move(samples); }
    // How the next start() answers (Started by default).
    void setOutcome(Outcome outcome) { m_outcome = outcome; }
    // Whether an opened microphone sends samples at all (true by default).
    void setDelivering(bool delivering) { m_delivering = delivering; }

    Outcome start(std::string* problem = nullptr) override;
    Outcome outcome(std::string* problem = nullptr) const override;
    void stop() override { m_capturing = false; }
    bool isCapturing() const override { return m_capturing; }
    int sampleRate() const override { return m_rate; }
    size_t take(std::vector<float>& out) override;
    double now() const override { return clock(); }

    int startCount() const { return m_starts; }
    // Samples handed out by the current (or last) recording.
    size_t delivered() const { return m_delivered; }

  private:
    double clock() const;

    int m_rate;
    std::vector<float> m_source;
    Outcome m_outcome = Started;
    Outcome m_lastOutcome = NoDevice;
    bool m_delivering = true;
    bool m_capturing = false;
    double m_startedAt = 0;
    size_t m_delivered = 0;
    int m_starts = 0;
};

}  // namespace pagly::audio
