// The one way a book's JSON is read: a bounded parse that never throws. A book comes from
// anywhere, so its JSON may be huge, nested thousands deep or broken; each of those is a
// plain "no" with a reason, never a crash or an exception through the caller.
#pragma once

#include <cstddef>
#include <string>

namespace Json {
class Value;
}

namespace pagly::format {

// Deepest nesting of arrays and objects read: deeper input would run the parser (and every
// later copy or destruction of the value) out of stack.
constexpr int kDeepestJson = 256;
// Largest text read: far beyond any document of a book.
constexpr std::size_t kLargestJsonText = std::size_t(64) << 20;

struct JsonLimits {
    int deepest = kDeepestJson;
    std::size_t largest = kLargestJsonText;
};

// Parses `length` bytes of `text` (comments allowed and dropped). False when the text is
// empty, larger than the limit, not valid JSON or nested deeper; `problem` (when given) then
// says why in words for an author ("it is not valid JSON (Line 3, Column 7: Missing '}')").
// `root` holds whatever the parser had built (null for an empty or oversized text).
bool parseJson(const char* text, std::size_t length, Json::Value& root, std::string* problem,
               const JsonLimits& limits = JsonLimits());
inline bool parseJson(const std::string& text, Json::Value& root, std::string* problem = nullptr,
                      const JsonLimits& limits = JsonLimits()) {
    return parseJson(text.data(), text.size(), root, problem, limits);
}

}  // namespace pagly::format
