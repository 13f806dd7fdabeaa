// The book's units, pages, limits and caption table, in one place (see Book.h).
#include "app/Book.h"

#include <json/json.h>
#include <sys/stat.h>

#include <algorithm>

#include "app/TextTable.h"
#include "engine/base/CCDictionary.h"
#include "engine/base/CCString.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "gui/reader/JsonDictionary.h"

using namespace pagly::engine;

namespace pagly {

const char* const Book::kDescriptionFile = "book.json";

namespace {
// Bounds of a description: enough for any real book, small enough that a damaged or hostile
// file cannot make the lists absurd.
const int kMostUnits = 200;
const int kMostLinesPerUnit = 1000;

BookUnit rangeUnit(const char* name, int first, int last) {
    BookUnit unit;
    unit.name = name;
    unit.first = first;
    unit.last = last;
    for (int page = first; page <= last; ++page) unit.lines.push_back(page);
    return unit;
}
}  // namespace

Book Book::standard() {
    Book book;
    // The blanks after the two recycle units are part of their labels.
    book.m_units = {rangeUnit("Unit 1", 2, 11),  rangeUnit("Unit 2", 12, 21),
                    rangeUnit("Unit 3", 22, 31), rangeUnit("Recycle 1 ", 32, 35),
                    rangeUnit("Unit 4", 36, 45), rangeUnit("Unit 5", 46, 55),
                    rangeUnit("Unit 6", 56, 65), rangeUnit("Recycle 2 ", 66, 69)};
    BookUnit words;
    words.first = 70;
    words.last = 76;
    words.lines = {70, 71, 72, 74, 75, 76};  // page 73 has no line of its own
    words.wordList = true;
    book.m_units.push_back(words);
    // Stepping reaches one page past the word list.
    book.m_firstPage = 2;
    book.m_lastPage = 77;
    return book;
}

bool Book::fromDescription(const std::string& text, Book& book, std::string& why) {
    Json::Value root;
    if (!gui::parseJsonText(text.data(), text.size(), root, &why)) return false;
    if (!root.isObject()) return why = "it is not a JSON object", false;
    const Json::Value& units = root["units"];
    if (!units.isArray() || units.empty()) return why = "it lists no \"units\"", false;
    if ((int)units.size() > kMostUnits) return why = "it lists more than 200 units", false;
    Book made;
    if (root["title"].isString()) made.m_title = root["title"].asString();
    made.m_allKeepButtonLook = root["keepButtonLook"].isBool() && root["keepButtonLook"].asBool();
    made.m_firstPage = kHighestPage + 1;
    for (Json::ArrayIndex u = 0; u < units.size(); ++u) {
        const Json::Value& entry = units[u];
        std::string which = "unit " + std::to_string(u + 1);
        if (!entry.isObject()) return why = which + " is not an object", false;
        const Json::Value& pages = entry["pages"];
        if (!pages.isArray() || pages.empty()) return why = which + " lists no pages", false;
        if ((int)pages.size() > kMostLinesPerUnit)
            return why = which + " lists more than 1000 pages", false;
        BookUnit unit;
        if (entry["name"].isString()) unit.name = entry["name"].asString();
        unit.wordList = entry["wordList"].isBool() && entry["wordList"].asBool();
        for (const Json::Value& page : pages) {
            if (!page.isInt() || page.asInt() < 1 || page.asInt() > kHighestPage)
                return why = which + " names a page that is not a number from 1 to 9999", false;
            unit.lines.push_back(page.asInt());
        }
        // Titles are optional, line by line; anything but a string is no title.
        const Json::Value& titles = entry["titles"];
        if (titles.isArray())
            for (Json::ArrayIndex k = 0; k < titles.size() && k < pages.size(); ++k)
                unit.titles.push_back(titles[k].isString() ? titles[k].asString() : "");
        unit.first = *std::min_element(unit.lines.begin(), unit.lines.end());
        unit.last = *std::max_element(unit.lines.begin(), unit.lines.end());
        if (unit.name.empty() && !unit.wordList) unit.name = which;
        made.m_firstPage = std::min(made.m_firstPage, unit.first);
        made.m_lastPage = std::max(made.m_lastPage, unit.last);
        made.m_units.push_back(unit);
    }
    book = std::move(made);
    return true;
}

Book Book::forFolder(const std::string& folder, std::string* problem) {
    std::string path =
        folder + (folder.empty() || folder.back() == '/' ? "" : "/") + kDescriptionFile;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return standard();  // the course book's own layout
    std::string text, why;
    Book book;
    if (!S_ISREG(st.st_mode)) {
        why = "it is not a file";
    } else if (st.st_size > kLargestDescription) {
        why = "it is larger than 1 MB";
    } else if (!CCFileUtils::sharedFileUtils()->readFile(path, text)) {
        why = whyUnreadable(path);
    } else if (fromDescription(text, book, why)) {
        return book;
    }
    if (problem) {
        *problem = why;
    } else {
        reportUnusableFile(path, why + "; reading the book as the course book");
    }
    return standard();
}

const BookUnit& Book::unit(int index) const {
    return m_units[index >= 0 && index < unitCount() ? index : 0];
}

int Book::startPage() const { return m_units.front().lines.front(); }

bool Book::keepsButtonLook(int page) const {
    if (m_allKeepButtonLook) return true;
    for (const BookUnit& unit : m_units)
        if (unit.wordList && page >= unit.first && page <= unit.last) return true;
    return false;
}

void Book::loadCaptions() const {
    m_captionsLoaded = true;
    CCDictionary* table = CCDictionary::createWithContentsOfFile(kCaptionTexts);
    if (!table) return;
    // Plain strings: the table outlives every scene and is read at each sentence.
    for (const auto& entry : table->stringEntries())
        if (const CCString* value = dynamic_cast<const CCString*>(entry.second))
            m_captions.emplace(entry.first, value->getCString());
}

const std::string* Book::caption(const std::string& key) const {
    if (!m_captionsLoaded) loadCaptions();
    auto found = m_captions.find(key);
    return found == m_captions.end() ? nullptr : &found->second;
}

}  // namespace pagly
