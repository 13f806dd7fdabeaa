// Reading word timing files (see WordTimings.h).
#include "app/WordTimings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pagly {

namespace {
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A plain decimal number that fills the whole field; false for "1x", "nan", "inf", "".
bool readSeconds(const std::string& field, double& out) {
    if (field.empty() || field.size() > 32) return false;
    for (char c : field)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtod(field.c_str(), &end);
    return errno == 0 && end == field.c_str() + field.size() && std::isfinite(out);
}

// Splits off the next space-separated field of `line` from `pos`.
std::string nextField(const std::string& line, size_t& pos) {
    while (pos < line.size() && isSpace(line[pos])) ++pos;
    size_t start = pos;
    while (pos < line.size() && !isSpace(line[pos])) ++pos;
    return line.substr(start, pos - start);
}
}  // namespace

bool WordTimings::parse(const std::string& text, std::vector<std::string>& problems) {
    m_words.clear();
    size_t before = problems.size();
    if (text.size() > kLargestFile) {
        problems.push_back("the file is " + std::to_string(text.size()) +
                           " bytes, more than a timing file can be");
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        problems.push_back("the file is not text");
        return false;
    }
    std::vector<TimedWord> words;
    bool boxes = false;
    size_t lineStart = 0;
    int lineNumber = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string at = "line " + std::to_string(lineNumber) + ": ";
        if (lineNumber == 1) {
            boxes = line == kBoxHeader;
            if (line != kHeader && !boxes) {
                problems.push_back(at + "the first line is not \"" + std::string(kHeader) +
                                   "\" (or \"" + std::string(kBoxHeader) + "\")");
                return false;
            }
            continue;
        }
        size_t pos = 0;
        std::string startField = nextField(line, pos);
        if (startField.empty()) continue;  // a blank line
        std::string endField = nextField(line, pos);
        std::string boxFields[4];
        if (boxes)
            for (std::string& field : boxFields) field = nextField(line, pos);
        while (pos < line.size() && isSpace(line[pos])) ++pos;
        std::string word = line.substr(pos);
        TimedWord w;
        if (endField.empty() || word.empty()) {
            problems.push_back(at + (boxes ? "expected \"start end x y width height word\""
                                           : "expected \"start end word\""));
            continue;
        }
        if (!readSeconds(startField, w.start) || !readSeconds(endField, w.end)) {
            problems.push_back(at + "\"" + startField + " " + endField + "\" are not two numbers");
            continue;
        }
        if (boxes) {
            w.hasBox = readSeconds(boxFields[0], w.x) && readSeconds(boxFields[1], w.y) &&
                       readSeconds(boxFields[2], w.width) && readSeconds(boxFields[3], w.height);
            if (!w.hasBox || w.width <= 0 || w.height <= 0 || std::fabs(w.x) > kFarthestBox ||
                std::fabs(w.y) > kFarthestBox || w.width > kFarthestBox ||
                w.height > kFarthestBox) {
                problems.push_back(at + "\"" + word + "\" has no usable rectangle (x y width " +
                                   "height, in points on its button)");
                continue;
            }
        }
        w.text = word;
        if (w.start < 0 || w.end > kLongestSeconds) {
            problems.push_back(at + "\"" + word + "\" lies outside 0.." +
                               std::to_string((int)kLongestSeconds) + " s");
            continue;
        }
        if (w.end < w.start) {
            problems.push_back(at + "\"" + word + "\" ends before it starts");
            continue;
        }
        if (!words.empty() && w.start < words.back().end - 1e-6) {
            problems.push_back(at + "\"" + word + "\" starts before \"" + words.back().text +
                               "\" ends (words out of order)");
            continue;
        }
        words.push_back(w);
        if (words.size() > kMostWords) {
            problems.push_back(at + "more than " + std::to_string(kMostWords) + " words");
            return false;
        }
    }
    if (lineNumber == 0)
        problems.push_back("the file is empty");
    else if (words.empty() && problems.size() == before)
        problems.push_back("no words");
    if (problems.size() != before) return false;
    m_words = std::move(words);
    return true;
}

int WordTimings::wordAt(double seconds) const {
    // Few words a sentence: a straight walk is as fast as anything and obviously right.
    for (size_t i = 0; i < m_words.size(); ++i)
        if (seconds >= m_words[i].start && seconds < m_words[i].end) return (int)i;
    return -1;
}

std::string WordTimings::format(const std::vector<TimedWord>& words) {
    bool boxes = !words.empty() && words.front().hasBox;
    std::string out = std::string(boxes ? kBoxHeader : kHeader) + "\n";
    char line[160];
    for (const TimedWord& w : words) {
        if (boxes)
            std::snprintf(line, sizeof line, "%.3f %.3f %.2f %.2f %.2f %.2f ", w.start, w.end, w.x,
                          w.y, w.width, w.height);
        else
            std::snprintf(line, sizeof line, "%.3f %.3f ", w.start, w.end);
        out += line + w.text + "\n";
    }
    return out;
}

std::string WordTimings::pathForRecording(const std::string& recordingPath) {
    size_t dot = recordingPath.rfind('.');
    size_t slash = recordingPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return recordingPath + kSuffix;
    return recordingPath.substr(0, dot) + kSuffix;
}

std::vector<std::pair<size_t, size_t>> sentenceWordRanges(const std::string& text) {
    std::vector<std::pair<size_t, size_t>> ranges;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i])) ++i;
        size_t start = i;
        while (i < text.size() && !isSpace(text[i])) ++i;
        if (i > start) ranges.emplace_back(start, i);
    }
    return ranges;
}

}  // namespace pagly
