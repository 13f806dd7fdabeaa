// Comparing the learner's sentence with the book's (see SpeechComparison.h).
#include "engine/audio/analysis/SpeechComparison.h"

#include <cmath>
#include <limits>

#include "engine/audio/analysis/PitchTracker.h"
#include "engine/audio/analysis/SpeechFeatures.h"
#include "engine/audio/analysis/TimeWarp.h"

namespace pagly::audio::speech {

double SpeechProfile::seconds() const { return (double)samples.size() / kRate; }

SpeechProfile profileOf(const std::vector<float>& mono16k) {
    SpeechProfile profile;
    Span span = spokenPart(mono16k);
    if (span.size() == 0) return profile;
    profile.samples.assign(mono16k.begin() + span.first, mono16k.begin() + span.last);
    profile.cepstra = cepstra(profile.samples.data(), profile.samples.size());
    profile.pitchHz = pitchContour(profile.samples.data(), profile.samples.size());
    return profile;
}

SpeechComparison compareSpeech(const SpeechProfile& book, const SpeechProfile& learner) {
    const float none = std::numeric_limits<float>::quiet_NaN();
    SpeechComparison result;
    result.bookSeconds = book.seconds();
    result.learnerSeconds = learner.seconds();
    result.bookMelody = semitonesFromMedian(book.pitchHz);
    result.learnerMelody.assign(book.frames(), none);
    Warp warp = timeWarp(book.cepstra, learner.cepstra, kCoefficients);
    result.cost = warp.cost;
    if (warp.path.empty()) {
        result.melodyDistance = std::numeric_limits<double>::quiet_NaN();
        return result;
    }
    std::vector<float> own = semitonesFromMedian(learner.pitchHz);
    // Each book frame takes the mean of the learner's voiced frames paired with it.
    std::vector<double> sum(book.frames(), 0.0);
    std::vector<int> count(book.frames(), 0);
    for (const auto& pair : warp.path) {
        if (pair.first >= (int)book.frames() || pair.second >= (int)own.size()) continue;
        float v = own[pair.second];
        if (std::isnan(v)) continue;
        sum[pair.first] += v;
        count[pair.first] += 1;
    }
    double distance = 0;
    int both = 0, bookVoiced = 0;
    for (size_t i = 0; i < book.frames(); ++i) {
        if (count[i] > 0) result.learnerMelody[i] = (float)(sum[i] / count[i]);
        if (std::isnan(result.bookMelody[i])) continue;
        ++bookVoiced;
        if (std::isnan(result.learnerMelody[i])) continue;
        ++both;
        distance += std::fabs(result.bookMelody[i] - result.learnerMelody[i]);
    }
    result.melodyDistance = both > 0 ? distance / both : std::numeric_limits<double>::quiet_NaN();
    result.sharedVoicing = bookVoiced > 0 ? (double)both / bookVoiced : 0.0;
    return result;
}

}  // namespace pagly::audio::speech
