#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include "gui/GuiNamespace.h"

namespace Json {
class Value;
}

namespace pagly::gui {

// One parsed JSON value (object, array or null) with typed getters that never fail: a
// member of the wrong type or a missing member gives the caller's default. UI documents
// and their timelines are read only through these getters, so their rules are the format's
// typing rules. Dictionaries handed out by the getters are owned by the caller.
class JsonDictionary {
  public:
    JsonDictionary();
    ~JsonDictionary();
    JsonDictionary(const JsonDictionary&) = delete;
    JsonDictionary& operator=(const JsonDictionary&) = delete;

    // Replaces the held value by the JSON parsed from the text. A syntax error is not
    // reported: the value is whatever the parser had built (usually null). Text nested
    // deeper than kMaxNesting levels stops the parse there.
    void initWithText(const char* text);
    void initWithText(const char* text, size_t length);
    // The same, saying whether the text was valid JSON and, when not, why (parseJsonText).
    bool initWithText(const char* text, size_t length, std::string* problem);

    // Integer, unsigned, real or boolean members, converted (reals truncated toward zero,
    // clamped to the int range; true is 1); anything else gives def.
    int getInt(const char* key, int def = 0) const;
    // Integer, unsigned, real or boolean members; anything else gives def.
    double getFloat(const char* key, double def = 0.0) const;
    // String members only; the characters live as long as this dictionary.
    const char* getString(const char* key) const;
    // true / false only: a number such as 1 gives def (false in the one-argument form).
    bool getBool(const char* key, bool def) const;
    bool getBool(const char* key) const { return getBool(key, false); }
    // A new dictionary for an object, array or null member; else nullptr.
    JsonDictionary* getSubDictionary(const char* key) const;
    // Element count of an array, object or null member; else 0.
    int getArrayCount(const char* key) const;
    // A new dictionary for element index of an array (or null) member when that element
    // is an object, array or null; else nullptr.
    JsonDictionary* getArrayDictionary(const char* key, int index) const;
    // Element index of an array member when it is a string; else nullptr.
    const char* getArrayString(const char* key, int index) const;
    // Whether the held value is an object with that member, of any type.
    bool hasKey(const char* key) const;
    // Whether the held value is null (a new dictionary, or a failed parse).
    bool isNull() const;
    // Whether the held value is an object.
    bool isObject() const;

    // Deepest nesting of arrays and objects accepted from a text; deeper input is cut off
    // there so that neither the parser nor the copies of a value run out of stack.
    static constexpr int kMaxNesting = 256;

  private:
    JsonDictionary(std::shared_ptr<const Json::Value> root, const Json::Value* value);
    // The member of the held object, or nullptr (also when the held value is no object).
    const Json::Value* member(const char* key) const;
    const Json::Value* arrayElement(const char* key, int index) const;

    // Sub-dictionaries share the parsed document instead of copying their subtree; the
    // document lives while any dictionary refers into it.
    std::shared_ptr<const Json::Value> m_root;
    const Json::Value* m_value;
};

// Parses a document's text as the reader does (comments dropped, at most
// JsonDictionary::kMaxNesting levels). False when the text is empty, is not valid JSON or
// nests deeper; `problem` (when given) then says why in words for an author, with jsoncpp's
// line and column. `root` holds whatever the parser built.
bool parseJsonText(const char* text, size_t length, Json::Value& root, std::string* problem);

// Owning handle for the dictionaries the getters return.
using JsonDictionaryPtr = std::unique_ptr<JsonDictionary>;

}  // namespace pagly::gui
