#include "gui/reader/JsonHelper.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
JsonHelper* g_instance = nullptr;
}

JsonHelper* JsonHelper::instance() {
    if (!g_instance) g_instance = new JsonHelper();
    return g_instance;
}

void JsonHelper::destroyInstance() {
    delete g_instance;
    g_instance = nullptr;
}

bool JsonHelper::hasInstance() { return g_instance != nullptr; }

int JsonHelper::getInt(const JsonDictionary* dict, const char* key, int def) const {
    return dict ? dict->getInt(key, def) : def;
}

double JsonHelper::getFloat(const JsonDictionary* dict, const char* key, double def) const {
    return dict ? dict->getFloat(key, def) : def;
}

const char* JsonHelper::getString(const JsonDictionary* dict, const char* key) const {
    return dict ? dict->getString(key) : nullptr;
}

bool JsonHelper::getBool(const JsonDictionary* dict, const char* key, bool def) const {
    return dict ? dict->getBool(key, def) : def;
}

JsonDictionary* JsonHelper::getSubDictionary(const JsonDictionary* dict, const char* key) const {
    return dict ? dict->getSubDictionary(key) : nullptr;
}

int JsonHelper::getArrayCount(const JsonDictionary* dict, const char* key) const {
    return dict ? dict->getArrayCount(key) : 0;
}

JsonDictionary* JsonHelper::getArrayDictionary(const JsonDictionary* dict, const char* key,
                                               int index) const {
    return dict ? dict->getArrayDictionary(key, index) : nullptr;
}

const char* JsonHelper::getArrayString(const JsonDictionary* dict, const char* key,
                                       int index) const {
    return dict ? dict->getArrayString(key, index) : nullptr;
}

bool JsonHelper::hasKey(const JsonDictionary* dict, const char* key) const {
    return dict && !dict->isNull() && dict->hasKey(key);
}

}  // namespace pagly::gui
