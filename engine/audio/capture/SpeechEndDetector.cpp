// End-of-speech detection over the level of 20 ms frames (see SpeechEndDetector.h).
#include "engine/audio/capture/SpeechEndDetector.h"

#include <algorithm>
#include <cmath>

namespace pagly::audio {

namespace {
// Levels are mean squares. Speech must stand 15 dB over the room's noise and over an absolute
// floor of -50 dBFS (a quiet room's hiss under automatic gain control); it has ended once it
// falls below 9 dB over the noise (or -55 dBFS), which tolerates a breath or a fading vowel.
const double kSpeechOverNoise = std::pow(10.0, 15.0 / 10);
const double kSilenceOverNoise = std::pow(10.0, 9.0 / 10);
const double kSpeechFloor = std::pow(10.0, -50.0 / 10);
const double kSilenceFloor = std::pow(10.0, -55.0 / 10);
// The quietest level can only be this low: digital silence must not make every breath speech.
const double kLowestNoise = std::pow(10.0, -80.0 / 10);
}  // namespace

SpeechEndDetector::SpeechEndDetector(int sampleRate, double longestSeconds)
    : m_rate(sampleRate > 0 ? sampleRate : 16000) {
    m_frame = std::max<size_t>(1, (size_t)std::lround(m_rate * kFrameSeconds));
    double longest = std::isfinite(longestSeconds) && longestSeconds > 0 ? longestSeconds : 0;
    m_longest = (size_t)(longest * m_rate);
}

SpeechEndDetector::State SpeechEndDetector::push(const float* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (m_state == Ended || m_state == TimedOut) return m_state;
        float v = samples[i];
        if (!std::isfinite(v)) v = 0;
        m_sum += (double)v * v;
        ++m_seen;
        if (++m_inFrame == m_frame) {
            frameDone(m_sum / (double)m_frame);
            m_sum = 0;
            m_inFrame = 0;
        }
        if (m_state != Ended && m_seen >= m_longest) m_state = TimedOut;
    }
    return m_state;
}

void SpeechEndDetector::frameDone(double level) {
    m_floor = std::max(kLowestNoise, std::min(m_floor, level));
    double speechLine = std::max(kSpeechFloor, m_floor * kSpeechOverNoise);
    double silenceLine = std::max(kSilenceFloor, m_floor * kSilenceOverNoise);
    int shortest = (int)std::ceil(kShortestSpeech / kFrameSeconds);
    int closing = (int)std::ceil(kClosingSilence / kFrameSeconds);
    long frameStart = (long)(m_seen - m_frame);
    if (m_state == Waiting) {
        m_loudRun = level > speechLine ? m_loudRun + 1 : 0;
        if (m_loudRun >= shortest) {
            m_state = Speaking;
            m_speechStart = frameStart - (long)(m_frame * (shortest - 1));
        }
        return;
    }
    if (m_state != Speaking) return;
    if (level < silenceLine) {
        if (m_quietRun++ == 0) m_speechEnd = frameStart;
        if (m_quietRun >= closing) m_state = Ended;
    } else {
        m_quietRun = 0;
        m_speechEnd = -1;
    }
}

}  // namespace pagly::audio
