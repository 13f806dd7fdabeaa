#pragma once

#include <string>

namespace pagly::engine {
class CCDictionary;
class CCLabelTTF;
}  // namespace pagly::engine

// The book's two text tables, loaded anew at each use as the reader expects.
namespace pagly {

extern const char* const kInterfaceTexts;  // "String.xml"
extern const char* const kCaptionTexts;    // "Stringstr.xml"

// The text under `key` in the property list `file`; "" when the file or the key is missing
// (a label with no text is better than a screen that cannot be built).
std::string loadText(const char* file, const char* key);

// The same, from a table already loaded (null allowed).
std::string textFrom(engine::CCDictionary* table, const char* key);

// A label for a menu entry showing `text`, or `fallback` when `text` comes out with nothing
// to see (missing, empty or too long to draw): an entry without a visible label cannot be
// tapped, and for the word list or the way home that would shut the learner out.
engine::CCLabelTTF* createMenuLabel(const std::string& text, float fontSize, const char* fallback);

}  // namespace pagly
