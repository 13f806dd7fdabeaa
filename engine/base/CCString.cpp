#include "engine/base/CCString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace pagly::engine {

CCString* CCString::create(const std::string& s) {
    CCString* str = new CCString(s);
    str->autorelease();
    return str;
}

CCString* CCString::createWithFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (n > 0) {
        std::vector<char> buffer((size_t)n + 1);
        vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), (size_t)n);
    }
    va_end(args);
    return create(text);
}

int CCString::intValue() const { return (int)std::strtol(m_sString.c_str(), nullptr, 10); }
float CCString::floatValue() const { return std::strtof(m_sString.c_str(), nullptr); }
double CCString::doubleValue() const { return std::strtod(m_sString.c_str(), nullptr); }

bool CCString::boolValue() const {
    if (m_sString.empty()) return false;
    if (strcasecmp(m_sString.c_str(), "true") == 0 || strcasecmp(m_sString.c_str(), "yes") == 0)
        return true;
    return std::strtod(m_sString.c_str(), nullptr) != 0.0;
}

CCInteger* CCInteger::create(int v) {
    CCInteger* o = new CCInteger(v);
    o->autorelease();
    return o;
}

CCFloat* CCFloat::create(float v) {
    CCFloat* o = new CCFloat(v);
    o->autorelease();
    return o;
}

}  // namespace pagly::engine
