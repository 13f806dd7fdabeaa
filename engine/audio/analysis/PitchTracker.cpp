// Pitch by YIN over 10 ms frames (see PitchTracker.h).
#include "engine/audio/analysis/PitchTracker.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/audio/analysis/SpeechFeatures.h"

namespace pagly::audio::speech {

namespace {
constexpr int kPitchRate = 8000;
constexpr int kPitchHop = kHop / 2;  // 10 ms at 8 kHz
constexpr int kPitchWindow = 240;    // 30 ms: two periods of a low voice
constexpr int kShortestLag = kPitchRate / 450;
constexpr int kLongestLag = kPitchRate / 70;
constexpr float kVoicedDip = 0.2f;   // the normalised difference must dip below this
constexpr float kQuietest = -50.0f;  // dBFS; quieter frames are not voiced

// Halves the rate after a 15-tap windowed-sinc low-pass at 3.6 kHz.
std::vector<float> halfRate(const float* in, size_t count) {
    static const int kTaps = 15;
    static float taps[kTaps];
    static bool made = [] {
        const double pi = 3.14159265358979323846, cutoff = 3600.0 / 16000.0;
        double sum = 0;
        for (int i = 0; i < kTaps; ++i) {
            int k = i - kTaps / 2;
            double sinc = k == 0 ? 2 * cutoff : std::sin(2 * pi * cutoff * k) / (pi * k);
            double w = 0.54 - 0.46 * std::cos(2 * pi * i / (kTaps - 1));
            taps[i] = (float)(sinc * w);
            sum += taps[i];
        }
        for (float& t : taps) t = (float)(t / sum);
        return true;
    }();
    (void)made;
    std::vector<float> out(count / 2);
    for (size_t o = 0; o < out.size(); ++o) {
        float acc = 0;
        long centre = (long)(2 * o);
        for (int i = 0; i < kTaps; ++i) {
            long at = centre + i - kTaps / 2;
            if (at >= 0 && (size_t)at < count) acc += taps[i] * in[at];
        }
        out[o] = acc;
    }
    return out;
}
}  // namespace

std::vector<float> pitchContour(const float* samples16k, size_t count) {
    size_t frames = frameCount(count);
    std::vector<float> hz(frames, 0.0f);
    std::vector<float> x = halfRate(samples16k, count);
    std::vector<float> levels = frameLevels(samples16k, count);
    float diff[kLongestLag + 2];
    const size_t need = kPitchWindow + kLongestLag + 1;
    for (size_t f = 0; f < frames; ++f) {
        if (levels[f] < kQuietest) continue;
        size_t start = f * kPitchHop;
        if (start + need > x.size()) break;
        const float* w = &x[start];
        diff[0] = 1;
        double running = 0;
        int best = -1;
        for (int lag = 1; lag <= kLongestLag + 1; ++lag) {
            float d = 0;
            for (int j = 0; j < kPitchWindow; ++j) {
                float e = w[j] - w[j + lag];
                d += e * e;
            }
            running += d;
            diff[lag] = running > 0 ? (float)(d * lag / running) : 1.0f;
        }
        for (int lag = kShortestLag; lag <= kLongestLag; ++lag) {
            if (diff[lag] < kVoicedDip) {
                while (lag + 1 <= kLongestLag && diff[lag + 1] < diff[lag]) ++lag;
                best = lag;
                break;
            }
        }
        if (best < 0) continue;
        // The dip between sample lags, from the parabola through its neighbours.
        float a = diff[best - 1], b = diff[best], c = diff[best + 1];
        float denominator = a - 2 * b + c;
        float shift = std::fabs(denominator) > 1e-9f ? 0.5f * (a - c) / denominator : 0.0f;
        if (shift > 1 || shift < -1) shift = 0;
        hz[f] = (float)kPitchRate / (best + shift);
    }
    // A lone voiced frame among unvoiced ones is more often noise than voice.
    std::vector<float> cleaned = hz;
    for (size_t f = 0; f < frames; ++f) {
        bool before = f > 0 && hz[f - 1] > 0, after = f + 1 < frames && hz[f + 1] > 0;
        if (hz[f] > 0 && !before && !after) cleaned[f] = 0;
    }
    return cleaned;
}

std::vector<float> semitonesFromMedian(const std::vector<float>& hz) {
    std::vector<float> voiced;
    for (float v : hz)
        if (v > 0) voiced.push_back(v);
    std::vector<float> out(hz.size(), std::numeric_limits<float>::quiet_NaN());
    if (voiced.empty()) return out;
    std::nth_element(voiced.begin(), voiced.begin() + voiced.size() / 2, voiced.end());
    float median = voiced[voiced.size() / 2];
    for (size_t i = 0; i < hz.size(); ++i)
        if (hz[i] > 0) out[i] = (float)(12.0 * std::log2(hz[i] / median));
    return out;
}

}  // namespace pagly::audio::speech
