#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"
#include "gui/UIWidget.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/JsonHelper.h"
#include "gui/reader/ReaderValues.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// Typed reads of one "options" object (which may be null: every read then gives its
// default), with the format's typing rules plus the reader's guards against absurd numbers.
class ReaderOptions {
  public:
    explicit ReaderOptions(JsonDictionary* options)
        : m_options(options), m_json(JsonHelper::instance()) {}

    JsonDictionary* dictionary() const { return m_options; }
    bool has(const char* key) const { return m_json->hasKey(m_options, key); }
    int integer(const char* key, int def = 0) const { return m_json->getInt(m_options, key, def); }
    bool boolean(const char* key, bool def = false) const {
        return m_json->getBool(m_options, key, def);
    }
    const char* string(const char* key) const { return m_json->getString(m_options, key); }
    // A number as a float; one that fits no float gives def.
    float number(const char* key, float def = 0.0f) const {
        return finiteFloat(m_json->getFloat(m_options, key, def), def);
    }
    // A width or height: never negative, and never so large that drawing it would need an
    // impossible buffer.
    float size(const char* key, float def = 0.0f) const {
        return std::min(std::max(number(key, def), 0.0f), kMaxSize);
    }
    unsigned char byte(const char* key, int def) const { return lowByte(integer(key, def)); }
    ccColor3B color(const char* r, const char* g, const char* b, int def) const {
        return ccColor3B(byte(r, def), byte(g, def), byte(b, def));
    }
    CCRect capInsets() const {
        // Negative insets cut nothing sensible; they count as 0.
        return CCRect(size("capInsetsX"), size("capInsetsY"), size("capInsetsWidth"),
                      size("capInsetsHeight"));
    }
    // A font size the font engine can render: at least 1, at most kMaxFontSize.
    int fontSize() const { return std::min(std::max(integer("fontSize"), 1), kMaxFontSize); }
    JsonDictionary* sub(const char* key) const { return m_json->getSubDictionary(m_options, key); }
    // "hitAreas": the parts of a button that take touches, [{"x", "y", "width", "height"}, ...]
    // in its picture's points from the top left. A part that is not an object, or is empty,
    // is left out; more than kMaxHitAreas are not read.
    std::vector<CCRect> hitAreas() const;

    static constexpr float kMaxSize = 65536.0f;
    static constexpr int kMaxFontSize = 512;
    static constexpr int kMaxHitAreas = 64;

  private:
    JsonDictionary* m_options;
    JsonHelper* m_json;
};

// The one rule by which every image key is loaded. Current layout: a resource object under
// the "...Data" key ("resourceType" 0 = file relative to the document, 1 = sprite-frame
// name, anything else = nothing). Legacy layout: a plain string under the legacy key, a file
// name or, when the widget's "useMergedTexture" is true, a sprite-frame name.
class ImageRule {
  public:
    ImageRule(const ReaderOptions& options, const std::string& directory, bool legacy)
        : m_options(options),
          m_directory(directory),
          m_legacy(legacy),
          m_merged(legacy && options.boolean("useMergedTexture")) {}

    // load is called as load(const char* name, TextureResType type), at most once.
    template <class Load>
    void apply(const char* legacyKey, const char* currentKey, Load load) const {
        if (m_legacy) {
            const char* name = m_options.string(legacyKey);
            if (m_merged) {
                load(name, TexturePlist);
            } else if (name && *name) {
                load((m_directory + name).c_str(), TextureLocal);
            } else {
                load(nullptr, TextureLocal);
            }
            return;
        }
        JsonDictionaryPtr res(m_options.sub(currentKey));
        JsonHelper* json = JsonHelper::instance();
        int type = json->getInt(res.get(), "resourceType", 0);
        const char* path = json->getString(res.get(), "path");
        if (type == 0) {
            if (path && *path) {
                load((m_directory + path).c_str(), TextureLocal);
            } else {
                load(nullptr, TextureLocal);
            }
        } else if (type == 1) {
            load(path, TexturePlist);
        }
    }

    // The file of a font or character map: only files relative to the document count (legacy:
    // the string under legacyKey; current: a resource object of type 0). Empty when none.
    std::string fileOnly(const char* legacyKey, const char* currentKey) const {
        if (m_legacy) {
            const char* name = m_options.string(legacyKey);
            return name && *name ? m_directory + name : std::string();
        }
        JsonDictionaryPtr res(m_options.sub(currentKey));
        JsonHelper* json = JsonHelper::instance();
        const char* path = json->getString(res.get(), "path");
        if (json->getInt(res.get(), "resourceType", 0) != 0 || !path || !*path) return "";
        return m_directory + path;
    }

  private:
    const ReaderOptions& m_options;
    const std::string& m_directory;
    bool m_legacy;
    bool m_merged;
};

}  // namespace pagly::gui
