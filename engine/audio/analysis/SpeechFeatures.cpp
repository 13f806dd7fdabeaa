// Short-time features of speech (see SpeechFeatures.h).
#include "engine/audio/analysis/SpeechFeatures.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "engine/audio/PcmSound.h"

namespace pagly::audio::speech {

namespace {

constexpr int kFft = 512;
constexpr int kMelBands = 26;
// A band's energy is never taken as lower than that of a sound some 75 dB under full scale:
// below it, the hiss of one recording and the digital silence of another would differ as much
// as two vowels do.
constexpr double kEnergyFloor = 1e-3;
constexpr double kPi = 3.14159265358979323846;

// Everything a frame's cepstrum needs that never changes: window, twiddles, filters, cosines.
struct CepstrumTables {
    float window[kWindow];
    std::complex<float> twiddle[kFft / 2];
    int bitReverse[kFft];
    // Each mel band: its first bin and its weights.
    struct Band {
        int first;
        std::vector<float> weights;
    } bands[kMelBands];
    float cosines[kCoefficients][kMelBands];

    CepstrumTables() {
        for (int i = 0; i < kWindow; ++i)
            window[i] = (float)(0.54 - 0.46 * std::cos(2 * kPi * i / (kWindow - 1)));
        for (int i = 0; i < kFft / 2; ++i)
            twiddle[i] = std::polar(1.0f, (float)(-2 * kPi * i / kFft));
        int bits = 0;
        while ((1 << bits) < kFft) ++bits;
        for (int i = 0; i < kFft; ++i) {
            int r = 0;
            for (int b = 0; b < bits; ++b)
                if (i & (1 << b)) r |= 1 << (bits - 1 - b);
            bitReverse[i] = r;
        }
        auto mel = [](double hz) { return 2595.0 * std::log10(1 + hz / 700.0); };
        auto hz = [](double m) { return 700.0 * (std::pow(10.0, m / 2595.0) - 1); };
        double low = mel(80), high = mel(7600);
        double edges[kMelBands + 2];
        for (int i = 0; i < kMelBands + 2; ++i)
            edges[i] = hz(low + (high - low) * i / (kMelBands + 1)) * kFft / kRate;
        for (int b = 0; b < kMelBands; ++b) {
            int first = (int)std::ceil(edges[b]), last = (int)std::floor(edges[b + 2]);
            bands[b].first = first;
            for (int k = first; k <= last; ++k) {
                double w = k < edges[b + 1] ? (k - edges[b]) / (edges[b + 1] - edges[b])
                                            : (edges[b + 2] - k) / (edges[b + 2] - edges[b + 1]);
                bands[b].weights.push_back((float)std::max(0.0, w));
            }
        }
        for (int c = 0; c < kCoefficients; ++c)
            for (int b = 0; b < kMelBands; ++b)
                cosines[c][b] = (float)std::cos(kPi * (c + 1) * (b + 0.5) / kMelBands);
    }
};

const CepstrumTables& tables() {
    static const CepstrumTables t;
    return t;
}

void fft(std::complex<float>* x, const CepstrumTables& t) {
    for (int i = 0; i < kFft; ++i)
        if (i < t.bitReverse[i]) std::swap(x[i], x[t.bitReverse[i]]);
    for (int size = 2; size <= kFft; size <<= 1) {
        int half = size / 2, step = kFft / size;
        for (int start = 0; start < kFft; start += size)
            for (int k = 0; k < half; ++k) {
                std::complex<float> a = x[start + k];
                std::complex<float> b = x[start + k + half] * t.twiddle[k * step];
                x[start + k] = a + b;
                x[start + k + half] = a - b;
            }
    }
}

float sampleAt(const float* samples, size_t count, size_t i) {
    return i < count ? samples[i] : 0.0f;
}

}  // namespace

std::vector<float> resample(const std::vector<float>& in, int fromRate, int toRate) {
    if (fromRate <= 0 || toRate <= 0 || in.empty()) return {};
    if (fromRate == toRate) return in;
    std::vector<float> source = in;
    if (toRate < fromRate) {
        // A moving average as wide as the step keeps most of what would fold back.
        int width = (int)std::lround((double)fromRate / toRate);
        if (width > 1) {
            double sum = 0;
            for (size_t i = 0; i < in.size(); ++i) {
                sum += in[i];
                if (i >= (size_t)width) sum -= in[i - width];
                source[i] = (float)(sum / std::min<size_t>(i + 1, width));
            }
        }
    }
    size_t outCount = (size_t)((double)in.size() * toRate / fromRate);
    std::vector<float> out(outCount);
    double step = (double)fromRate / toRate;
    for (size_t i = 0; i < outCount; ++i) {
        double at = i * step;
        size_t j = (size_t)at;
        double f = at - j;
        float a = source[std::min(j, source.size() - 1)];
        float b = source[std::min(j + 1, source.size() - 1)];
        out[i] = (float)(a + (b - a) * f);
    }
    return out;
}

std::vector<float> monoAt16k(const PcmSound& sound) {
    if (sound.channels <= 0 || sound.sampleRate <= 0) return {};
    size_t frames = sound.frames();
    std::vector<float> mono(frames);
    for (size_t i = 0; i < frames; ++i) {
        float sum = 0;
        for (int c = 0; c < sound.channels; ++c) sum += sound.samples[i * sound.channels + c];
        mono[i] = sum / sound.channels;
    }
    return resample(mono, sound.sampleRate, kRate);
}

size_t frameCount(size_t count) { return count == 0 ? 0 : (count + kHop - 1) / kHop; }

std::vector<float> frameLevels(const float* samples, size_t count) {
    size_t frames = frameCount(count);
    std::vector<float> levels(frames);
    for (size_t f = 0; f < frames; ++f) {
        double sum = 0;
        size_t start = f * kHop;
        for (int i = 0; i < kWindow; ++i) {
            float v = sampleAt(samples, count, start + i);
            sum += (double)v * v;
        }
        levels[f] = (float)(10 * std::log10(sum / kWindow + 1e-12));
    }
    return levels;
}

std::vector<float> cepstra(const float* samples, size_t count) {
    const CepstrumTables& t = tables();
    size_t frames = frameCount(count);
    std::vector<float> out(frames * kCoefficients);
    std::complex<float> x[kFft];
    float power[kFft / 2 + 1];
    float logMel[kMelBands];
    for (size_t f = 0; f < frames; ++f) {
        size_t start = f * kHop;
        float previous = start > 0 ? sampleAt(samples, count, start - 1) : 0.0f;
        for (int i = 0; i < kWindow; ++i) {
            float v = sampleAt(samples, count, start + i);
            x[i] = (v - 0.97f * previous) * t.window[i];  // pre-emphasis lifts the consonants
            previous = v;
        }
        for (int i = kWindow; i < kFft; ++i) x[i] = 0;
        fft(x, t);
        for (int k = 0; k <= kFft / 2; ++k) power[k] = std::norm(x[k]);
        for (int b = 0; b < kMelBands; ++b) {
            double e = 0;
            const auto& band = t.bands[b];
            for (size_t k = 0; k < band.weights.size(); ++k)
                e += band.weights[k] * power[band.first + k];
            logMel[b] = (float)std::log(e + kEnergyFloor);
        }
        float* row = &out[f * kCoefficients];
        for (int c = 0; c < kCoefficients; ++c) {
            float s = 0;
            for (int b = 0; b < kMelBands; ++b) s += t.cosines[c][b] * logMel[b];
            row[c] = s;
        }
    }
    if (frames > 0) {
        for (int c = 0; c < kCoefficients; ++c) {
            double mean = 0;
            for (size_t f = 0; f < frames; ++f) mean += out[f * kCoefficients + c];
            mean /= frames;
            for (size_t f = 0; f < frames; ++f) out[f * kCoefficients + c] -= (float)mean;
        }
    }
    return out;
}

Span spokenPart(const std::vector<float>& samples) {
    Span span;
    std::vector<float> levels = frameLevels(samples.data(), samples.size());
    if (levels.empty()) return span;
    float loudest = *std::max_element(levels.begin(), levels.end());
    // The room's noise: the level that a tenth of the frames stay under.
    std::vector<float> sorted = levels;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 10, sorted.end());
    float noise = sorted[sorted.size() / 10];
    // A recording trimmed to its speech has no room noise: its quietest tenth is quiet speech,
    // so the noise's line never rises past 25 dB under the loudest frame.
    float line = std::max({-55.0f, loudest - 40.0f, std::min(noise + 12.0f, loudest - 25.0f)});
    if (loudest < line) return span;
    size_t first = 0, last = levels.size();
    while (first < levels.size() && levels[first] < line) ++first;
    while (last > first && levels[last - 1] < line) --last;
    const size_t margin = kRate / 20;
    size_t from = first * kHop, to = std::min(samples.size(), (last - 1) * kHop + kWindow);
    span.first = from > margin ? from - margin : 0;
    span.last = std::min(samples.size(), to + margin);
    return span;
}

}  // namespace pagly::audio::speech
