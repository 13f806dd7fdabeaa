#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace pagly {

// When each word of a recording is heard: the timing file the book maker writes beside a
// recording (epc/<md5>.words beside epc/<md5>.mp3). Its text:
//
//     pagly-words 1
//     0.005 0.412 Hello
//     0.530 0.871 Amy
//
// a header line, then one line per word of the sentence as its button shows it, in order:
// start and end in seconds of the recording at normal speed, then the word.
struct TimedWord {
    double start = 0;
    double end = 0;
    std::string text;
};

class WordTimings {
  public:
    static constexpr const char* kHeader = "pagly-words 1";
    static constexpr const char* kSuffix = ".words";
    // Limits past which a file is taken as damaged rather than read.
    static constexpr double kLongestSeconds = 600;
    static constexpr size_t kMostWords = 1000;
    static constexpr size_t kLargestFile = 64 * 1024;

    // Reads a timing file's text. On any problem the timings stay empty and every problem
    // found is in `problems`, one line each ("line 3: ...").
    bool parse(const std::string& text, std::vector<std::string>& problems);

    const std::vector<TimedWord>& words() const { return m_words; }
    bool empty() const { return m_words.empty(); }
    // The word whose span holds `seconds` of the recording (start <= t < end), or -1.
    int wordAt(double seconds) const;

    // "epc/<md5>.mp3" -> "epc/<md5>.words".
    static std::string pathForRecording(const std::string& recordingPath);

  private:
    std::vector<TimedWord> m_words;
};

// The words of a sentence as its button shows them: [begin, end) byte ranges of the runs of
// text between spaces (punctuation stays with its word: "Amy!" is one word).
std::vector<std::pair<size_t, size_t>> sentenceWordRanges(const std::string& text);

}  // namespace pagly
