#include "tools/import/SourceBook.h"

#include <cstdio>

namespace pagly::import {

namespace {

std::string escaped(const char* format, unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The length of the UTF-8 sequence starting at text[at], or 0 when it is not one.
size_t sequenceLength(const std::string& text, size_t at) {
    unsigned char c = (unsigned char)text[at];
    size_t length = c < 0x80                ? 1
                    : c >= 0xC2 && c < 0xE0 ? 2
                    : c >= 0xE0 && c < 0xF0 ? 3
                    : c >= 0xF0 && c < 0xF5 ? 4
                                            : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k)
        if (((unsigned char)text[at + k] & 0xC0) != 0x80) return 0;
    unsigned char next = (unsigned char)text[at + 1];
    // Overlong forms, UTF-16 halves and code points past U+10FFFF are no UTF-8.
    if ((c == 0xE0 && next < 0xA0) || (c == 0xED && next >= 0xA0) || (c == 0xF0 && next < 0x90) ||
        (c == 0xF4 && next >= 0x90))
        return 0;
    return length;
}

}  // namespace

std::string printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        unsigned char c = (unsigned char)text[at];
        size_t length = sequenceLength(text, at);
        if (length == 0) {
            out += escaped("\\x%02x", c);
            ++at;
            continue;
        }
        if (length == 1 && (c < 0x20 || c == 0x7F)) {
            out += c == '\n'   ? "\\n"
                   : c == '\t' ? "\\t"
                   : c == '\r' ? "\\r"
                               : escaped("\\x%02x", c);
        } else if (length == 2 && c == 0xC2 && (unsigned char)text[at + 1] < 0xA0) {
            out += escaped("\\u%04x", (unsigned char)text[at + 1]);  // C1 controls
        } else if (length == 3 && text.compare(at, 2, "\xE2\x80") == 0 &&
                   ((unsigned char)text[at + 2] == 0xA8 || (unsigned char)text[at + 2] == 0xA9)) {
            out += escaped("\\u%04x", 0x2000u + (unsigned char)text[at + 2] - 0x80);
        } else {
            out.append(text, at, length);
        }
        at += length;
    }
    return out;
}

std::string describe(const ImportProblem& problem) {
    return "cannot use " + printable(problem.file) + ": " + printable(problem.reason);
}

}  // namespace pagly::import
