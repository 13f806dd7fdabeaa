#pragma once

#include <string>

namespace cocos2d {
class CCDictionary;
}

// The book's two text tables, loaded anew at each use as the reader expects.
namespace pagly {

extern const char* const kInterfaceTexts;  // "String.xml"
extern const char* const kCaptionTexts;    // "Stringstr.xml"

// The text under `key` in the property list `file`; "" when the file or the key is missing
// (a label with no text is better than a screen that cannot be built).
std::string loadText(const char* file, const char* key);

// The same, from a table already loaded (null allowed).
std::string textFrom(cocos2d::CCDictionary* table, const char* key);

}  // namespace pagly
