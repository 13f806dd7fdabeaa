// What the contents and the main page show of a page: its title, its picture.
#include "app/PageFacts.h"

#include <json/json.h>

#include "app/BookNames.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/reader/JsonDictionary.h"

using namespace pagly::engine;

namespace pagly {

namespace {
// A title is one line; a longer text is no title but a page's whole text.
const size_t kLongestTitle = 200;
const int kDeepestWidget = 64;

std::string oneLine(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (space) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    if (out.size() > kLongestTitle) {
        size_t cut = kLongestTitle;
        while (cut > 0 && ((unsigned char)out[cut] & 0xC0) == 0x80) --cut;  // whole characters
        out = out.substr(0, cut) + "\xE2\x80\xA6";
    }
    return out;
}

// The options of the first widget called `name`, depth first in document order; null if none.
const Json::Value* findNamed(const Json::Value& widget, const char* name, int depth) {
    if (!widget.isObject() || depth > kDeepestWidget) return nullptr;
    const Json::Value& options = widget["options"];
    if (widget["name"].isString() && widget["name"].asString() == name && options.isObject())
        return &options;
    const Json::Value& children = widget["children"];
    if (!children.isArray()) return nullptr;
    for (const Json::Value& child : children)
        if (const Json::Value* found = findNamed(child, name, depth + 1)) return found;
    return nullptr;
}

bool readPageDocument(int page, Json::Value& root) {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string text;
    std::string path = files->fullPathForFilename(pageDocumentPath(page).c_str());
    if (!files->isFileExist(path) || !files->readFile(path, text)) return false;
    return gui::parseJsonText(text.data(), text.size(), root, nullptr) && root.isObject();
}
}  // namespace

std::string pictureOfPage(int page) {
    Json::Value root;
    if (!readPageDocument(page, root)) return "";
    const Json::Value* picture = findNamed(root["widgetTree"], "picture", 0);
    if (!picture || !(*picture)["fileNameData"].isObject()) return "";
    const Json::Value& file = (*picture)["fileNameData"];
    // A picture of its own (not a frame of a sprite sheet), beside the page's document.
    if (!file["path"].isString() || file["path"].asString().empty() ||
        (file["resourceType"].isInt() && file["resourceType"].asInt() != 0))
        return "";
    std::string document = pageDocumentPath(page);
    return document.substr(0, document.find_last_of('/') + 1) + file["path"].asString();
}

std::string pageTitleOf(const BookUnit& unit, size_t k) {
    if (k < unit.titles.size() && !unit.titles[k].empty()) return oneLine(unit.titles[k]);
    if (k >= unit.lines.size()) return "";
    Json::Value root;
    if (!readPageDocument(unit.lines[k], root)) return "";
    const Json::Value* title = findNamed(root["widgetTree"], "title", 0);
    return title && (*title)["text"].isString() ? oneLine((*title)["text"].asString()) : "";
}

}  // namespace pagly
