#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/base/CCObject.h"

namespace pagly::engine {

class CCArray;
class CCString;

// A dictionary of engine objects under string keys or integer keys; it retains its values.
// Also the reader of XML property lists (string, integer, real, true/false become CCString;
// nested dict and array become CCDictionary and CCArray).
class CCDictionary : public CCObject {
  public:
    CCDictionary() = default;
    ~CCDictionary() override;

    static CCDictionary* create();
    // Null (and a log line) when the file is missing or is not a property list with a dict root.
    static CCDictionary* createWithContentsOfFile(const char* path);
    // Same, from property-list text already in memory.
    static CCDictionary* createWithPlistText(const std::string& text, const char* nameForLog);
    // As createWithContentsOfFile, without the log line: on null, `whyNot` holds the reason the
    // line would give ("it is missing", "it is not a valid property list: ...").
    static CCDictionary* readContentsOfFile(const char* path, std::string& whyNot);

    unsigned int count() const { return (unsigned int)(m_strMap.size() + m_intMap.size()); }

    void setObject(CCObject* object, const std::string& key);
    void setObject(CCObject* object, intptr_t key);
    CCObject* objectForKey(const std::string& key) const;
    CCObject* objectForKey(intptr_t key) const;
    // The value as a CCString, or null when absent or of another type.
    const CCString* valueForKey(const std::string& key) const;
    void removeObjectForKey(const std::string& key);
    void removeObjectForKey(intptr_t key);
    void removeAllObjects();
    // Keys in sorted order: CCString for string keys, then CCInteger for integer keys.
    CCArray* allKeys() const;

    const std::map<std::string, CCObject*>& stringEntries() const { return m_strMap; }
    const std::map<intptr_t, CCObject*>& intEntries() const { return m_intMap; }

  private:
    std::map<std::string, CCObject*> m_strMap;
    std::map<intptr_t, CCObject*> m_intMap;
};

}  // namespace pagly::engine
