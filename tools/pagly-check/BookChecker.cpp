#include "tools/pagly-check/BookChecker.h"

#include <json/json.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL.h>
#include <SDL_ttf.h>
#include <pugixml.hpp>

#include "app/BookNames.h"
#include "engine/audio/Mp3Duration.h"
#include "engine/base/CCDictionary.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCLabelBMFont.h"
#include "engine/nodes/SheetFrames.h"
#include "engine/platform/UnusableFiles.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "app/Book.h"
#include "app/WordTimings.h"
#include "tools/pagly-check/TimingCheck.h"
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/JsonDictionary.h"
#include "gui/reader/WidgetClasses.h"

namespace pagly {

using engine::CCDictionary;
using engine::CCString;

namespace {

// Page 0 is out: its sentence numbers lose the page's digit, so the reader's caption keys and
// recording names for it differ from the ones written from page and index.
const int kFirstPossiblePage = 1;
const int kLastPossiblePage = Book::kHighestPage;
const double kShortestRecording = 1.0;
const double kLongestRecording = 4.0;

const char* const kInterfaceKeys[] = {"main_page", "setmenu_set", "bntext",
                                      "wordname",  "page_front",  "page_after"};

const char* const kFixedImages[] = {
    "Images/up1.png",       "Images/up2.png",       "Images/next1.png",  "Images/next2.png",
    "Images/play_btn.png",  "Images/pause_btn.png", "Images/bnren1.png", "Images/bnren2.png",
    "Images/bnchback1.png", "Images/walker.png",    "Images/drag.jpg"};

const char* const kSettingsButtons[] = {"bnmain", "bnpres", "bnaotopage",
                                        "bnaoto", "bnok",   "bncancel"};

// Image members of the old layout; "useMergedTexture" says whether they name sprite frames.
const char* const kLegacyImageKeys[] = {"normal",
                                        "pressed",
                                        "disabled",
                                        "fileName",
                                        "backGroundImage",
                                        "texture",
                                        "barFileName",
                                        "ballNormal",
                                        "ballPressed",
                                        "ballDisabled",
                                        "progressBarFileName",
                                        "backGroundBox",
                                        "backGroundBoxSelected",
                                        "frontCross",
                                        "backGroundBoxDisabled",
                                        "frontCrossDisabled"};

bool readFile(const std::string& path, std::string& out) {
    // A folder opens as a stream on some systems; the reader reads regular files only.
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Why the reader cannot open a TTF font file, or empty when it can.
std::string fontProblem(const std::string& path) {
    if (!TTF_WasInit() && TTF_Init() != 0) return std::string();  // cannot tell here
    TTF_Font* font = TTF_OpenFont(path.c_str(), 12);
    if (!font) return TTF_GetError();
    TTF_CloseFont(font);
    return std::string();
}

// What the reader's property-list parser finds wrong with a file that exists, in the words
// of its log line.
std::string plistProblem(const std::string& path) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_file(path.c_str());
    if (!result)
        return std::string(result.description()) + " at byte " + std::to_string(result.offset);
    return "no <dict> at its root";
}

bool endsWith(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        char a = s[s.size() - tail.size() + i];
        if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
        if (a != tail[i]) return false;
    }
    return true;
}

std::string directoryOf(const std::string& rel) {
    size_t slash = rel.rfind('/');
    return slash == std::string::npos ? "" : rel.substr(0, slash + 1);
}

std::string str(const Json::Value& options, const char* key) {
    const Json::Value& v = options[key];
    return v.isString() ? v.asString() : "";
}

bool boolTrue(const Json::Value& options, const char* key) {
    const Json::Value& v = options[key];
    return v.isBool() && v.asBool();
}

std::string seconds(double s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f s", s);
    return buf;
}

// A reason in the reader's log words ("it is ...") as a checker message about the same file.
std::string readerReason(const std::string& reason) {
    return reason.compare(0, 3, "it ") == 0 ? reason.substr(3) : reason;
}

}  // namespace

std::string Problem::line() const {
    return std::string(severity == Severity::Error ? "error: " : "warning: ") + file + ": " +
           message;
}

int CheckReport::count(Severity severity) const {
    int n = 0;
    for (const Problem& p : problems) n += p.severity == severity;
    return n;
}

bool isLegacyLayout(const Json::Value& root) {
    const Json::Value& v = root["version"];
    if (!v.isString()) return true;
    std::string s = v.asString();
    if (s.size() < 7) return true;
    long parts[4] = {0, 0, 0, 0};
    size_t start = 0;
    for (int i = 0; i < 4 && start <= s.size(); ++i) {
        size_t dot = s.find('.', start);
        parts[i] = std::strtol(s.substr(start, dot - start).c_str(), nullptr, 10);
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    long value = parts[0] * 1000 + parts[1] * 100 + parts[2] * 10 + parts[3];
    return value < 250;
}

BookChecker::BookChecker(std::string bookDir, CheckOptions options)
    : dir_(std::move(bookDir)), options_(options) {
    // Property lists are read through the engine, which looks a relative name up under its
    // resource root first: an absolute folder makes it read this book's tables.
    char cwd[4096];
    if (!dir_.empty() && dir_[0] != '/' && getcwd(cwd, sizeof cwd))
        dir_ = std::string(cwd) + "/" + dir_;
    if (!dir_.empty() && dir_.back() != '/') dir_ += '/';
}

void BookChecker::error(const std::string& file, const std::string& message) {
    report_.problems.push_back({Severity::Error, file, message});
}

void BookChecker::warning(const std::string& file, const std::string& message) {
    report_.problems.push_back({Severity::Warning, file, message});
}

std::string BookChecker::full(const std::string& relative) const { return dir_ + relative; }

bool BookChecker::exists(const std::string& relative) const {
    struct stat st;
    return stat(full(relative).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

CheckReport BookChecker::run() {
    report_ = CheckReport();
    sheets_.clear();
    captions_.clear();
    captionsLoaded_ = false;
    struct stat st;
    if (stat(dir_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error(dir_, "is not a book folder");
        return report_;
    }
    // The pages the reader will show: the book's own, unless asked for others.
    std::string why;
    Book book = Book::forFolder(dir_, &why);
    if (!why.empty()) error(Book::kDescriptionFile, why);
    if (options_.firstPage == CheckOptions::kBooksOwn) options_.firstPage = book.firstPage();
    if (options_.lastPage == CheckOptions::kBooksOwn) options_.lastPage = book.lastPage();
    if (options_.firstPage < kFirstPossiblePage || options_.lastPage > kLastPossiblePage ||
        options_.firstPage > options_.lastPage) {
        error(dir_, "page range " + std::to_string(options_.firstPage) + "-" +
                        std::to_string(options_.lastPage) + " is not within pages " +
                        std::to_string(kFirstPossiblePage) + "-" +
                        std::to_string(kLastPossiblePage));
        return report_;
    }
    checkTextTables();
    checkFixedImages();
    checkFonts();
    for (int page = options_.firstPage; page <= options_.lastPage; ++page) checkPage(page);
    checkSettings();
    engine::CCAutoreleasePool::sharedPool()->drain();
    engine::CCTextureCache::purgeSharedTextureCache();
    return report_;
}

void BookChecker::reportUnreadableTable(const std::string& table, const std::string& what) {
    if (exists(table)) {
        error(table, "is not a property list of " + what + " (" + plistProblem(full(table)) + ")");
    } else {
        error(table, isFolder(full(table)) ? "is a folder, not a file" : "is missing");
    }
}

void BookChecker::checkTextTables() {
    CCDictionary* texts = CCDictionary::createWithContentsOfFile(full("String.xml").c_str());
    if (!texts) {
        reportUnreadableTable("String.xml", "texts");
    } else {
        for (const char* key : kInterfaceKeys) {
            if (!texts->valueForKey(key))
                error("String.xml", std::string("has no text for \"") + key + "\"");
        }
    }
    CCDictionary* captions = CCDictionary::createWithContentsOfFile(full("Stringstr.xml").c_str());
    if (!captions) {
        reportUnreadableTable("Stringstr.xml", "captions");
        return;
    }
    captionsLoaded_ = true;
    for (const auto& entry : captions->stringEntries()) {
        const CCString* text = dynamic_cast<const CCString*>(entry.second);
        if (text) {
            captions_[entry.first] = text->getCString();
        } else {
            error("Stringstr.xml", "caption \"" + entry.first + "\" is not a text");
        }
    }
}

bool BookChecker::checkImageFile(const std::string& rel, const std::string& image,
                                 const std::string& who, int* wide, int* high) {
    std::string data;
    if (!readFile(full(image), data)) {
        error(rel, who + "names image \"" + image + "\", which is missing");
        return false;
    }
    // Decoded as the reader decodes it: a damaged picture fails here as it fails there.
    engine::CCTexture2D* texture = new engine::CCTexture2D();
    bool decoded = texture->initWithImageData((const unsigned char*)data.data(), data.size());
    if (!decoded) {
        error(image, "cannot be decoded as a PNG or JPEG picture (" + std::string(SDL_GetError()) +
                         ")" + (rel == image ? std::string() : "; " + rel + " " + who + "uses it"));
    } else if (wide && high) {
        *wide = texture->getPixelsWide();
        *high = texture->getPixelsHigh();
    }
    texture->release();
    return decoded;
}

void BookChecker::checkFixedImages() {
    for (const char* image : kFixedImages) {
        if (!exists(image)) {
            error(image, "is missing (the reader's controls use it)");
        } else {
            checkImageFile(image, image, "");
        }
    }
}

void BookChecker::checkFonts() {
    // Best effort: the reader falls back to the book's own font when "Arial" is not on the system.
    const std::string font = "fonts/LiberationSans-Regular.ttf";
    if (!exists(font)) {
        if (isFolder(full(font))) {
            error(font, "is a folder, not a font file");
        } else {
            warning("fonts/",
                    "has no LiberationSans-Regular.ttf for text when the system lacks Arial");
        }
        return;
    }
    std::string problem = fontProblem(full(font));
    if (!problem.empty()) error(font, "cannot be opened as a font (" + problem + ")");
}

void BookChecker::checkFontFile(const std::string& rel, const std::string& font,
                                const std::string& who) {
    if (!exists(font)) {
        error(rel, who + "names font \"" + font + "\", which is missing");
        return;
    }
    if (endsWith(font, ".fnt")) {
        // Read as the reader reads it: the text form, with its page image.
        engine::CCLabelBMFont* label = engine::CCLabelBMFont::create("", full(font).c_str());
        if (!label) error(font, "cannot be used as a bitmap font; " + rel + " " + who + "uses it");
        engine::CCLabelBMFont::purgeCachedData();
        return;
    }
    std::string problem = fontProblem(full(font));
    if (!problem.empty())
        error(font, "cannot be opened as a font (" + problem + "); " + rel + " " + who + "uses it");
}

bool BookChecker::loadDocument(const std::string& rel, Json::Value& root) {
    std::string text;
    if (!readFile(full(rel), text)) {
        error(rel, isFolder(full(rel)) ? "is a folder, not a file" : "is missing");
        return false;
    }
    // Parsed as the reader parses it, with the same nesting limit.
    std::string problem;
    if (!text.empty() && text[0] == '\0') {
        error(rel, "starts with a zero byte, so the reader reads nothing");
        return false;
    }
    if (!gui::parseJsonText(text.data(), text.size(), root, &problem)) {
        error(rel, problem.compare(0, 3, "it ") == 0 ? problem.substr(3) : problem);
        return false;
    }
    if (!root.isObject()) {
        error(rel, "is not a JSON object");
        return false;
    }
    if (!root["widgetTree"].isObject()) {
        error(rel, "has no \"widgetTree\" object, so the reader shows nothing");
        return false;
    }
    return true;
}

namespace {

// A widget's z-order as the reader takes it: whole numbers saturate, reals are truncated,
// booleans count 0 or 1, anything else is 0.
// The classes whose widgets are layouts (panels and the scroll containers).
bool isPanelClass(const std::string& classname) {
    return classname == "Panel" || classname == "ScrollView" || classname == "PageView" ||
           classname == "DragPanel";
}

int zOrderOf(const Json::Value& options) {
    if (!options.isObject()) return 0;
    const Json::Value& v = options["ZOrder"];
    switch (v.type()) {
        case Json::intValue: {
            Json::LargestInt x = v.asLargestInt();
            return x > INT_MAX ? INT_MAX : x < INT_MIN ? INT_MIN : (int)x;
        }
        case Json::uintValue:
            return v.asLargestUInt() > (Json::LargestUInt)INT_MAX ? INT_MAX
                                                                  : (int)v.asLargestUInt();
        case Json::realValue: {
            double d = v.asDouble();
            if (std::isnan(d)) return 0;
            if (d >= 2147483647.0) return INT_MAX;
            if (d <= -2147483648.0) return INT_MIN;
            return (int)d;
        }
        case Json::booleanValue:
            return v.asBool() ? 1 : 0;
        default:
            return 0;
    }
}

}  // namespace

// Follows the reader's tree: a widget of a class it does not build is left out with all it
// holds, and siblings are searched in ascending z-order (stable), so the first widget of a
// name here is the one the reader's lookup finds.
void BookChecker::indexWidgets(const std::string& rel, const Json::Value& node, WidgetIndex& index,
                               int depth) {
    if (!node.isObject()) return;
    const Json::Value& options = node["options"];
    std::string name = options.isObject() ? str(options, "name") : "";
    if (name.empty()) name = "default";
    if (depth >= gui::CCSGUIReader::kMaxWidgetDepth) {
        error(rel, "widget \"" + name + "\" lies deeper than the reader builds (" +
                       std::to_string(gui::CCSGUIReader::kMaxWidgetDepth) +
                       " levels); it is left out");
        return;
    }
    std::string classname = str(node, "classname");
    const gui::WidgetClass* type = gui::findWidgetClass(classname.c_str());
    if (!type) {
        error(rel, "widget \"" + name + "\" has class \"" + classname +
                       "\", which the reader does not know; it and the widgets inside it are "
                       "left out");
        return;
    }
    if (!type->create) {
        warning(rel, "widget \"" + name + "\" is a \"" + classname +
                         "\", which the reader does not build; it and the widgets inside it "
                         "are left out");
        return;
    }
    if (name != "default") {
        auto found = index.find(name);
        if (found == index.end()) {
            index[name] = Widget{&node, str(node, "classname")};
        } else if (name.compare(0, 2, "bn") == 0) {
            warning(rel, "two widgets are named \"" + name + "\"; the reader uses the first");
        }
    }
    const Json::Value& children = node["children"];
    if (children.isArray()) {
        std::vector<const Json::Value*> ordered;
        for (const Json::Value& child : children) ordered.push_back(&child);
        std::stable_sort(ordered.begin(), ordered.end(),
                         [](const Json::Value* a, const Json::Value* b) {
                             return zOrderOf((*a)["options"]) < zOrderOf((*b)["options"]);
                         });
        for (const Json::Value* child : ordered) indexWidgets(rel, *child, index, depth + 1);
    }
}

// Read as the reader's frame cache reads it (engine/nodes/SheetFrames.h): the frames the
// reader keeps are the frames widgets may name, and a sheet or frame it refuses is an error
// giving the reason the reader logs.
void BookChecker::loadSheet(const std::string& rel, const std::string& sheet,
                            std::set<std::string>& frames) {
    if (sheet.empty()) return;  // the reader skips an empty name
    std::string sheetRel = directoryOf(rel) + sheet;
    if (isFolder(full(sheetRel))) {
        error(sheetRel, "is a folder, not a sprite sheet; " + rel + " lists it");
        return;
    }
    if (!exists(sheetRel)) {
        error(rel, "lists sprite sheet \"" + sheet + "\", which is missing");
        return;
    }
    // Many pages share a sheet: read and report it once.
    auto known = sheets_.find(sheetRel);
    if (known != sheets_.end()) {
        frames.insert(known->second.begin(), known->second.end());
        return;
    }
    std::set<std::string>& own = sheets_[sheetRel];
    std::string why;
    CCDictionary* plist = CCDictionary::readContentsOfFile(full(sheetRel).c_str(), why);
    if (!plist) {
        error(sheetRel, readerReason(why));
        return;
    }
    engine::SheetFrames contents = engine::readSheetFrames(plist);
    // The reader needs the image before it looks at the frames.
    int wide = 0, high = 0;
    bool imageUsable =
        checkSheetImage(sheetRel, engine::sheetImagePath(plist, full(sheetRel)), wide, high);
    if (!contents.problem.empty()) {
        error(sheetRel, readerReason(contents.problem));
        return;
    }
    if (!imageUsable) return;  // the reader takes no frame of a sheet without its image
    std::string skipped;
    for (const engine::SheetFrame& frame : contents.frames) {
        if (!frame.fitsImage((float)wide, (float)high)) {
            skipped += (skipped.empty() ? "" : ", ") + frame.name;
            continue;
        }
        own.insert(frame.name);
        frames.insert(frame.name);
    }
    if (!skipped.empty()) error(sheetRel, readerReason(engine::unfitFramesReason(skipped)));
}

bool BookChecker::checkSheetImage(const std::string& sheetRel, const std::string& imagePath,
                                  int& wide, int& high) {
    // A book carries its own images: a name that leaves the book folder ("../..", or a path
    // from the root) is an error even when this machine has the file.
    std::string image = std::filesystem::path(imagePath).lexically_normal().string();
    std::string book = std::filesystem::path(dir_).lexically_normal().string();
    if (image.size() <= book.size() || image.compare(0, book.size(), book) != 0) {
        error(sheetRel, "names texture \"" + imagePath + "\", which lies outside the book folder");
        return false;
    }
    std::string imageRel = image.substr(book.size());
    if (!exists(imageRel)) {
        error(sheetRel, "names texture \"" + imageRel + "\", which " +
                            readerReason(engine::whyUnreadable(full(imageRel))));
        return false;
    }
    return checkImageFile(sheetRel, imageRel, "", &wide, &high);
}

void BookChecker::checkImageRef(const std::string& rel, const std::string& docDir,
                                const std::set<std::string>& frames, const std::string& widget,
                                const std::string& key, const std::string& path, bool isFrame) {
    if (path.empty()) return;
    std::string who = "widget \"" + widget + "\" (" + key + ") ";
    if (isFrame) {
        if (!frames.count(path))
            error(rel, who + "names sprite frame \"" + path + "\", which no listed sheet has");
    } else {
        checkImageFile(rel, docDir + path, who);
    }
}

void BookChecker::checkWidgetImages(const std::string& rel, const std::string& docDir, bool legacy,
                                    const std::set<std::string>& frames, const Json::Value& node) {
    if (!node.isObject()) return;
    const Json::Value& options = node["options"];
    if (options.isObject()) {
        std::string name = str(options, "name");
        if (legacy) {
            bool merged = boolTrue(options, "useMergedTexture");
            for (const char* key : kLegacyImageKeys) {
                bool fontFile =
                    std::string(key) == "fileName" && str(node, "classname") == "LabelBMFont";
                if (fontFile) {
                    std::string file = str(options, key);
                    if (!file.empty())
                        checkFontFile(rel, docDir + file, "widget \"" + name + "\" ");
                    continue;
                }
                checkImageRef(rel, docDir, frames, name, key, str(options, key), merged);
            }
        } else {
            for (const std::string& key : options.getMemberNames()) {
                const Json::Value& ref = options[key];
                if (!endsWith(key, "data") || !ref.isObject()) continue;
                const Json::Value& type = ref["resourceType"];
                int kind = type.isNumeric() || type.isBool() ? type.asInt() : 0;
                if (kind != 0 && kind != 1) continue;  // loads nothing, by the format's rule
                if (key == "fileNameData" && str(node, "classname") == "LabelBMFont") {
                    // A bitmap font's file, read only from a file (type 0).
                    std::string file = str(ref, "path");
                    if (kind == 0 && !file.empty())
                        checkFontFile(rel, docDir + file, "widget \"" + name + "\" ");
                    continue;
                }
                checkImageRef(rel, docDir, frames, name, key, str(ref, "path"), kind == 1);
            }
        }
        std::string font = str(options, "fontName");
        // The reader looks a label's font file up from the book folder, not the document's.
        if (endsWith(font, ".ttf") || endsWith(font, ".otf") || endsWith(font, ".fnt"))
            checkFontFile(rel, font, "widget \"" + name + "\" ");
    }
    const Json::Value& children = node["children"];
    if (children.isArray()) {
        for (const Json::Value& child : children)
            checkWidgetImages(rel, docDir, legacy, frames, child);
    }
}

void BookChecker::checkResources(const std::string& rel, const Json::Value& root) {
    std::set<std::string> frames;
    const Json::Value& textures = root["textures"];
    if (textures.isArray()) {
        for (const Json::Value& sheet : textures) {
            if (!sheet.isString()) {
                error(rel, "has a \"textures\" entry that is not a file name");
                continue;
            }
            loadSheet(rel, sheet.asString(), frames);
        }
    }
    checkWidgetImages(rel, directoryOf(rel), isLegacyLayout(root), frames, root["widgetTree"]);
}

void BookChecker::checkSentence(int page, int index, const std::string& rel, const Widget& widget) {
    std::string name = sentenceButtonName(page, index);
    if (widget.classname != "Button" && widget.classname != "TextButton") {
        error(rel, name + " is a \"" + widget.classname + "\", not a button");
    }
    if (!boolTrue((*widget.node)["options"], "touchAble")) {
        error(rel, name + " is not touch-enabled (\"touchAble\": true), so it cannot be tapped");
    }
    std::string key = captionKey(page, index);
    if (captionsLoaded_) {
        auto caption = captions_.find(key);
        if (caption == captions_.end()) {
            warning(rel, name + " has no caption (no \"" + key + "\" in Stringstr.xml)");
        } else if (caption->second.size() >= Book::kLongestCaption) {
            warning(rel, name + " has a caption of " + std::to_string(caption->second.size()) +
                             " bytes; captions of 1600 bytes or more are not shown");
        }
    }
    std::string recording = recordingPath(page, index);
    if (isFolder(full(recording))) {
        error(recording, "recording of " + name + " is a folder, not a file");
        return;
    }
    if (!exists(recording)) {
        error(rel,
              name + " has no recording (" + recordingName(page, index) + " -> " + recording + ")");
        return;
    }
    double length = audio::mp3DurationOfFile(full(recording));
    if (length < 0) {
        error(recording, "recording of " + name + " is not an MP3 file");
    } else if (length < kShortestRecording || length > kLongestRecording) {
        warning(recording, "recording of " + name + " plays " + seconds(length) +
                               "; recordings should last 1 to 4 s");
    }
    // Word timings are optional; a file that is there must fit its recording and sentence.
    std::string timing = WordTimings::pathForRecording(recording);
    std::string timingText;
    if (!readFile(full(timing), timingText)) return;
    for (const std::string& problem :
         wordTimingProblems(timingText, length, name, str((*widget.node)["options"], "text")))
        error(timing, "word timings of " + name + ": " + problem);
}

void BookChecker::checkPage(int page) {
    std::string rel = pageDocumentPath(page);
    Json::Value root;
    if (!loadDocument(rel, root)) return;
    checkResources(rel, root);
    // The page layer keeps the document's tree only when its root is a panel (a layout).
    std::string rootClass = str(root["widgetTree"], "classname");
    const gui::WidgetClass* rootType = gui::findWidgetClass(rootClass.c_str());
    if (rootType && rootType->create && !isPanelClass(rootClass)) {
        error(rel, "its root widget is a \"" + rootClass +
                       "\", not a panel, so the reader shows none of the page");
        return;
    }
    WidgetIndex widgets;
    indexWidgets(rel, root["widgetTree"], widgets);
    int last = 0;
    std::vector<int> missing;
    for (int i = 1; i <= Book::kMostSentences; ++i) {
        auto found = widgets.find(sentenceButtonName(page, i));
        if (found == widgets.end()) {
            missing.push_back(i);
            continue;
        }
        last = i;
        checkSentence(page, i, rel, found->second);
    }
    if (last == 0) {
        warning(rel, "has no sentence buttons");
        return;
    }
    for (int i : missing) {
        if (i > last) break;
        warning(rel, "sentence " + std::to_string(i) + " has no button (" +
                         sentenceButtonName(page, i) + ") although later sentences do");
    }
}

void BookChecker::checkSettings() {
    const std::string rel = "3age/pageset.json";
    Json::Value root;
    if (!loadDocument(rel, root)) return;
    checkResources(rel, root);
    WidgetIndex widgets;
    indexWidgets(rel, root["widgetTree"], widgets);
    for (const char* name : kSettingsButtons) {
        auto found = widgets.find(name);
        if (found == widgets.end()) {
            error(rel, std::string("has no \"") + name + "\" button");
            continue;
        }
        const Widget& w = found->second;
        if (w.classname != "Button" && w.classname != "TextButton")
            error(rel, std::string(name) + " is a \"" + w.classname + "\", not a button");
        if (!boolTrue((*w.node)["options"], "touchAble"))
            error(rel, std::string(name) + " is not touch-enabled (\"touchAble\": true)");
    }
}

}  // namespace pagly
