#include "gui/reader/JsonDictionary.h"

#include <json/json.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include "format/JsonText.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {

const Json::Value& nullValue() {
    static const Json::Value value;
    return value;
}

bool isContainerOrNull(const Json::Value& v) { return v.isObject() || v.isArray() || v.isNull(); }

// The numeric typing rule shared by getInt and getFloat.
bool isNumberOrBool(const Json::Value& v) {
    switch (v.type()) {
        case Json::intValue:
        case Json::uintValue:
        case Json::realValue:
        case Json::booleanValue:
            return true;
        default:
            return false;
    }
}

}  // namespace

JsonDictionary::JsonDictionary() : m_value(&nullValue()) {}

JsonDictionary::JsonDictionary(std::shared_ptr<const Json::Value> root, const Json::Value* value)
    : m_root(std::move(root)), m_value(value) {}

JsonDictionary::~JsonDictionary() = default;

void JsonDictionary::initWithText(const char* text) {
    initWithText(text, text ? std::strlen(text) : 0);
}

void JsonDictionary::initWithText(const char* text, size_t length) {
    initWithText(text, length, nullptr);
}

bool JsonDictionary::initWithText(const char* text, size_t length, std::string* problem) {
    auto root = std::make_shared<Json::Value>();
    bool valid = parseJsonText(text, length, *root, problem);
    m_root = std::move(root);
    m_value = m_root.get();
    return valid;
}

bool parseJsonText(const char* text, size_t length, Json::Value& root, std::string* problem) {
    format::JsonLimits limits;
    limits.deepest = JsonDictionary::kMaxNesting;
    return format::parseJson(text, length, root, problem, limits);
}

const Json::Value* JsonDictionary::member(const char* key) const {
    if (!key || !m_value->isObject()) return nullptr;
    return m_value->find(key, key + std::strlen(key));
}

const Json::Value* JsonDictionary::arrayElement(const char* key, int index) const {
    const Json::Value* array = member(key);
    if (!array || !(array->isArray() || array->isNull())) return nullptr;
    if (index < 0 || (Json::ArrayIndex)index >= array->size()) return nullptr;
    return &(*array)[(Json::ArrayIndex)index];
}

int JsonDictionary::getInt(const char* key, int def) const {
    const Json::Value* v = member(key);
    if (!v) return def;
    switch (v->type()) {
        case Json::intValue: {
            Json::LargestInt x = v->asLargestInt();
            if (x > INT_MAX) return INT_MAX;
            if (x < INT_MIN) return INT_MIN;
            return (int)x;
        }
        case Json::uintValue: {
            Json::LargestUInt x = v->asLargestUInt();
            return x > (Json::LargestUInt)INT_MAX ? INT_MAX : (int)x;
        }
        case Json::realValue: {
            // Out-of-range reals saturate instead of being undefined behaviour.
            double d = v->asDouble();
            if (std::isnan(d)) return def;
            if (d >= 2147483647.0) return INT_MAX;
            if (d <= -2147483648.0) return INT_MIN;
            return (int)d;
        }
        case Json::booleanValue:
            return v->asBool() ? 1 : 0;
        default:
            return def;
    }
}

double JsonDictionary::getFloat(const char* key, double def) const {
    const Json::Value* v = member(key);
    if (!v || !isNumberOrBool(*v)) return def;
    return v->asDouble();
}

const char* JsonDictionary::getString(const char* key) const {
    const Json::Value* v = member(key);
    if (!v || !v->isString()) return nullptr;
    return v->asCString();
}

bool JsonDictionary::getBool(const char* key, bool def) const {
    const Json::Value* v = member(key);
    if (!v || !v->isBool()) return def;
    return v->asBool();
}

JsonDictionary* JsonDictionary::getSubDictionary(const char* key) const {
    const Json::Value* v = member(key);
    if (!v || !isContainerOrNull(*v)) return nullptr;
    return new JsonDictionary(m_root, v);
}

int JsonDictionary::getArrayCount(const char* key) const {
    const Json::Value* v = member(key);
    if (!v || !isContainerOrNull(*v)) return 0;
    Json::ArrayIndex n = v->size();
    return n > (Json::ArrayIndex)INT_MAX ? INT_MAX : (int)n;
}

JsonDictionary* JsonDictionary::getArrayDictionary(const char* key, int index) const {
    const Json::Value* element = arrayElement(key, index);
    if (!element || !isContainerOrNull(*element)) return nullptr;
    return new JsonDictionary(m_root, element);
}

const char* JsonDictionary::getArrayString(const char* key, int index) const {
    const Json::Value* element = arrayElement(key, index);
    if (!element || !element->isString()) return nullptr;
    return element->asCString();
}

bool JsonDictionary::hasKey(const char* key) const { return member(key) != nullptr; }

bool JsonDictionary::isNull() const { return m_value->isNull(); }

bool JsonDictionary::isObject() const { return m_value->isObject(); }

}  // namespace pagly::gui
