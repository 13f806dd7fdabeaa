#pragma once

#include <string>

#include "engine/base/CCObject.h"

namespace pagly::engine {

// An engine string object: the values of property-list dictionaries.
class CCString : public CCObject {
  public:
    CCString() = default;
    explicit CCString(const std::string& s) : m_sString(s) {}

    static CCString* create(const std::string& s);
    static CCString* createWithFormat(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 1, 2)))
#endif
        ;

    const char* getCString() const { return m_sString.c_str(); }
    unsigned int length() const { return (unsigned int)m_sString.size(); }
    int intValue() const;
    float floatValue() const;
    double doubleValue() const;
    // "true", "yes" and any non-zero number are true.
    bool boolValue() const;
    int compare(const char* s) const { return m_sString.compare(s); }
    bool isEqual(const CCString* other) const { return other && m_sString == other->m_sString; }

    std::string m_sString;
};

// Boxed numbers for engine containers.
class CCInteger : public CCObject {
  public:
    explicit CCInteger(int v) : m_nValue(v) {}
    static CCInteger* create(int v);
    int getValue() const { return m_nValue; }

  private:
    int m_nValue;
};

class CCFloat : public CCObject {
  public:
    explicit CCFloat(float v) : m_fValue(v) {}
    static CCFloat* create(float v);
    float getValue() const { return m_fValue; }

  private:
    float m_fValue;
};

}  // namespace pagly::engine
