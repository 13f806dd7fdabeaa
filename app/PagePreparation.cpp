#include "app/PagePreparation.h"

#include <json/json.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/BookNames.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/CCTextureCache.h"
#include "gui/reader/JsonDictionary.h"

using namespace pagly::engine;

namespace pagly {

namespace {

// Enough for every picture of a real page; a document naming thousands is not decoded ahead.
const int kMostImagesPerPage = 64;

bool namesAnImage(const std::string& text) {
    size_t dot = text.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string ext = text.substr(dot + 1);
    for (char& c : ext) c = (char)std::tolower((unsigned char)c);
    return ext == "png" || ext == "jpg" || ext == "jpeg";
}

}  // namespace

void preparePageImages(int page) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string path = files->fullPathForFilename(pageDocumentPath(page).c_str());
    std::string text;
    if (!files->readFile(path, text)) return;
    Json::Value root;
    // A document the reader will complain about is left to it.
    if (!gui::parseJsonText(text.data(), text.size(), root, nullptr) || !root.isObject()) return;
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);

    const Json::Value& sheets = root["textures"];
    if (sheets.isArray())
        for (const Json::Value& sheet : sheets)
            if (sheet.isString() && !sheet.asString().empty())
                CCSpriteFrameCache::sharedSpriteFrameCache()->prepareSheet(
                    (folder + sheet.asString()).c_str());

    // Local images are named relative to the document, wherever the widget keeps the name;
    // a name that is a sheet's frame instead is no file there and is skipped by the cache.
    int images = 0;
    std::vector<const Json::Value*> pending{&root["widgetTree"]};
    while (!pending.empty() && images < kMostImagesPerPage) {
        const Json::Value* value = pending.back();
        pending.pop_back();
        if (value->isString()) {
            std::string name = value->asString();
            if (namesAnImage(name)) {
                CCTextureCache::sharedTextureCache()->prepareImage((folder + name).c_str());
                ++images;
            }
        } else if (value->isArray() || value->isObject()) {
            for (const Json::Value& child : *value) pending.push_back(&child);
        }
    }
}

}  // namespace pagly
