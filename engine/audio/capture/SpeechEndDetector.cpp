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
// The noise assumed until a quieter frame shows the room's own: a learner who speaks from the
// first frame must not lift the speech line over their own voice (a quiet room with automatic
// gain control hisses well below this).
const double kQuietRoom = std::pow(10.0, -55.0 / 10);
const double kPi = 3.14159265358979;
}  // namespace

SpeechEndDetector::SpeechEndDetector(int sampleRate, double longestSeconds)
    : m_rate(sampleRate > 0 ? sampleRate : 16000) {
    m_frame = std::max<size_t>(1, (size_t)std::lround(m_rate * kFrameSeconds));
    double longest = std::isfinite(longestSeconds) && longestSeconds > 0 ? longestSeconds : 0;
    m_longest = (size_t)(longest * m_rate);
    m_samples.resize(m_frame);
}

void SpeechEndDetector::ignoreTone(double hertz) {
    m_toneHertz = std::isfinite(hertz) && hertz > 0 && hertz < m_rate / 2.0 ? hertz : 0;
}

SpeechEndDetector::State SpeechEndDetector::push(const float* samples, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (m_state == Ended || m_state == TimedOut) return m_state;
        float v = samples[i];
        if (!std::isfinite(v)) v = 0;
        m_samples[m_inFrame] = v;
        ++m_seen;
        if (++m_inFrame == m_frame) {
            frameDone(frameLevel());
            m_inFrame = 0;
        }
        if (m_state != Ended && m_seen >= m_longest) m_state = TimedOut;
    }
    return m_state;
}

double SpeechEndDetector::frameLevel() const {
    double sum = 0;
    for (float v : m_samples) sum += (double)v * v;
    if (m_toneHertz <= 0) return sum / (double)m_frame;
    // Our own cue heard back through the microphone is a pure sine: what the frame holds of
    // it (its projection on a sine and a cosine of that pitch) is not the learner's voice.
    double c = 0, s = 0, cc = 0, ss = 0, cs = 0;
    double step = 2 * kPi * m_toneHertz / m_rate;
    for (size_t i = 0; i < m_frame; ++i) {
        double co = std::cos(step * (double)i), si = std::sin(step * (double)i);
        c += m_samples[i] * co;
        s += m_samples[i] * si;
        cc += co * co;
        ss += si * si;
        cs += co * si;
    }
    // Least squares over the two (not quite orthogonal over a frame) components.
    double det = cc * ss - cs * cs;
    double tone = 0;
    if (det > 1e-9) {
        double a = (c * ss - s * cs) / det, b = (s * cc - c * cs) / det;
        tone = a * c + b * s;
    }
    return std::max(0.0, sum - tone) / (double)m_frame;
}

void SpeechEndDetector::frameDone(double level) {
    m_quietest = std::max(kLowestNoise, std::min(m_quietest, level));
    double noise = std::min(m_quietest, kQuietRoom);
    double speechLine = std::max(kSpeechFloor, noise * kSpeechOverNoise);
    // A room louder than the assumed quiet one ends speech against its own noise, found in the
    // pauses; never above the line speech had to cross.
    double silenceLine =
        std::max(kSilenceFloor, std::min(speechLine, m_quietest * kSilenceOverNoise));
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
