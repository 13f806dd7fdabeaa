// Checking word timing files against their recording and sentence (see TimingCheck.h).
#include "tools/pagly-check/TimingCheck.h"

#include <cstdio>

#include "app/WordTimings.h"

namespace pagly {

namespace {
// A decoder may count a frame more or less than the encoder wrote: half a frame at 16 kHz.
const double kLengthTolerance = 0.02;

std::string secondsText(double s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f s", s);
    return buf;
}
}  // namespace

std::vector<std::string> wordTimingProblems(const std::string& fileText, double recordingSeconds,
                                            const std::string& buttonName,
                                            const std::string& buttonText) {
    std::vector<std::string> problems;
    WordTimings timings;
    if (!timings.parse(fileText, problems)) return problems;
    const std::vector<TimedWord>& words = timings.words();
    if (recordingSeconds >= 0) {
        for (size_t i = 0; i < words.size(); ++i) {
            if (words[i].end > recordingSeconds + kLengthTolerance)
                problems.push_back("word " + std::to_string(i + 1) + " \"" + words[i].text +
                                   "\" ends at " + secondsText(words[i].end) +
                                   ", after the recording's end at " +
                                   secondsText(recordingSeconds));
        }
    }
    if (buttonText.empty()) {
        // A picture-only button (a converted book's): its words are in the page picture, so
        // there is nothing to count; the reader needs each word's rectangle instead.
        if (!timings.hasBoxes())
            problems.push_back(buttonName +
                               " has no label, and the file gives no word rectangles "
                               "to light (\"" +
                               std::string(WordTimings::kBoxHeader) + "\")");
        return problems;
    }
    size_t shown = sentenceWordRanges(buttonText).size();
    if (shown != words.size())
        problems.push_back("times " + std::to_string(words.size()) + " words, but " + buttonName +
                           " shows " + std::to_string(shown) + " (\"" + buttonText + "\")");
    return problems;
}

}  // namespace pagly
