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
//
// A converted book's button has no label: its words are in the page picture. Its timing file
// says where each word lies on the button, and says so in its header:
//
//     pagly-words 1 boxes
//     0.000 0.295 4.5 3.0 38.2 30.1 The
//
// start, end, then the word's rectangle in design points from the button's top left (x, y,
// width, height), then the word. Every line of such a file has a rectangle.
struct TimedWord {
    double start = 0;
    double end = 0;
    std::string text;
    bool hasBox = false;  // a "pagly-words 1 boxes" line: the rectangle below is the word's
    double x = 0, y = 0, width = 0, height = 0;
};

class WordTimings {
  public:
    static constexpr const char* kHeader = "pagly-words 1";
    static constexpr const char* kBoxHeader = "pagly-words 1 boxes";
    // A word's rectangle lies within this many points of its button.
    static constexpr double kFarthestBox = 4096;
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

    // Whether the words carry rectangles (a "pagly-words 1 boxes" file).
    bool hasBoxes() const { return !m_words.empty() && m_words.front().hasBox; }

    // The text of a timing file for `words`: "pagly-words 1 boxes" when they carry rectangles (all
    // must), else "pagly-words 1". Times to the millisecond, rectangles to the hundredth.
    static std::string format(const std::vector<TimedWord>& words);

    // "epc/<md5>.mp3" -> "epc/<md5>.words".
    static std::string pathForRecording(const std::string& recordingPath);

  private:
    std::vector<TimedWord> m_words;
};

// The words of a sentence as its button shows them: [begin, end) byte ranges of the runs of
// text between spaces (punctuation stays with its word: "Amy!" is one word).
std::vector<std::pair<size_t, size_t>> sentenceWordRanges(const std::string& text);

}  // namespace pagly
