#pragma once

#include <string>
#include <vector>

namespace pagly {

// What is wrong with a recording's word timing file (its text), one line per problem: the
// file's own faults (as the reader would refuse it: words out of order, numbers that are
// not times), words heard after the recording's end (`recordingSeconds`; below 0 when
// unknown, which skips that check) and a word count unlike the sentence's on its button
// (`buttonName`, `buttonText`). A button without a label (empty `buttonText`: a converted
// book's, whose words are in its page picture) is not counted against; its file must give
// each word's rectangle instead. Empty when the reader can light every word.
std::vector<std::string> wordTimingProblems(const std::string& fileText, double recordingSeconds,
                                            const std::string& buttonName,
                                            const std::string& buttonText);

}  // namespace pagly
