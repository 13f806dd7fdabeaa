#pragma once

#include "gui/reader/JsonDictionary.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// The dictionary getters in a form that takes the dictionary as first argument and accepts
// a null one (every getter then gives its default). Stateless; one per process, created on
// first use, destroyed by the page scene's clean-up and created again by the next use.
class JsonHelper {
  public:
    static JsonHelper* instance();
    static void destroyInstance();
    static bool hasInstance();

    int getInt(const JsonDictionary* dict, const char* key, int def = 0) const;
    double getFloat(const JsonDictionary* dict, const char* key, double def = 0.0) const;
    const char* getString(const JsonDictionary* dict, const char* key) const;
    bool getBool(const JsonDictionary* dict, const char* key, bool def = false) const;
    JsonDictionary* getSubDictionary(const JsonDictionary* dict, const char* key) const;
    int getArrayCount(const JsonDictionary* dict, const char* key) const;
    JsonDictionary* getArrayDictionary(const JsonDictionary* dict, const char* key,
                                       int index) const;
    const char* getArrayString(const JsonDictionary* dict, const char* key, int index) const;
    // False for a null dictionary or a dictionary holding null; else whether the key exists.
    bool hasKey(const JsonDictionary* dict, const char* key) const;

  private:
    JsonHelper() = default;
};

}  // namespace pagly::gui
