// Reading an unpacked Bloom book (see BloomReader.h).
#include "tools/import/BloomReader.h"
#include "tools/import/BookHref.h"

#include <dirent.h>
#include <json/json.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <vector>

#include "format/JsonText.h"
#include "tools/import/FileTree.h"

namespace pagly::import {

namespace {

// A Bloom page's size by its page-size class, in millimetres (CSS pixels are 96 an inch).
struct PageSize {
    const char* name;
    double width, height;
};
const PageSize kPageSizes[] = {
    {"A5Portrait", 148, 210},
    {"A5Landscape", 210, 148},
    {"A4Portrait", 210, 297},
    {"A4Landscape", 297, 210},
    {"A6Portrait", 105, 148},
    {"A6Landscape", 148, 105},
    {"A3Portrait", 297, 420},
    {"A3Landscape", 420, 297},
    {"B5Portrait", 176, 250},
    {"LetterPortrait", 215.9, 279.4},
    {"LetterLandscape", 279.4, 215.9},
    {"HalfLetterPortrait", 139.7, 215.9},
    {"HalfLetterLandscape", 215.9, 139.7},
    {"QuarterLetterPortrait", 107.95, 139.7},
    {"QuarterLetterLandscape", 139.7, 107.95},
    {"LegalPortrait", 215.9, 355.6},
    {"LegalLandscape", 355.6, 215.9},
    {"Device16x9Portrait", 100, 177.78},
    {"Device16x9Landscape", 177.78, 100},
    {"Cm13Landscape", 130, 130},
    {"Size6x9Portrait", 152.4, 228.6},
    {"Size6x9Landscape", 228.6, 152.4},
    {"USComicPortrait", 168.275, 260.35},
};

const size_t kLargestDocument = 32u << 20;

bool hasClass(const pugi::xml_node& node, const char* name) {
    std::istringstream classes(node.attribute("class").value());
    std::string one;
    while (classes >> one)
        if (one == name) return true;
    return false;
}

std::string trimmed(const std::string& text) {
    std::string out;
    bool space = false;
    for (unsigned char c : text) {
        if (std::isspace(c)) {
            space = !out.empty();
            continue;
        }
        if (space) out.push_back(' ');
        space = false;
        out.push_back((char)c);
    }
    // pugixml leaves HTML's named entities as they stand.
    for (size_t at = out.find("&nbsp;"); at != std::string::npos; at = out.find("&nbsp;"))
        out.replace(at, 6, " ");
    return out;
}

// The walks below do not recurse: a hostile page may nest elements tens of thousands deep,
// far past what the stack survives.

// Visits the nodes under root in document order; `visit` says whether to go into a node's
// children.
void forNodes(const pugi::xml_node& root, const std::function<bool(pugi::xml_node)>& visit) {
    pugi::xml_node node = root.first_child();
    while (node) {
        if (visit(node) && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) node = node.parent();
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
}

void forElements(const pugi::xml_node& root, const std::function<bool(pugi::xml_node)>& visit) {
    forNodes(root, [&](pugi::xml_node n) { return n.type() == pugi::node_element && visit(n); });
}

bool isNamed(const pugi::xml_node& node, const char* name) {
    return !std::strcmp(node.name(), name);
}

// The text under root; a line break is a space, and so is the end of a paragraph or a div.
void collectText(const pugi::xml_node& root, std::string& out) {
    pugi::xml_node node = root.first_child();
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            out += node.value();
        } else if (node.type() == pugi::node_element) {
            if (isNamed(node, "br")) out += ' ';
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
        }
        // Leave the node, and each enclosing one it was the last child of.
        for (;;) {
            if (node.type() == pugi::node_element && (isNamed(node, "p") || isNamed(node, "div")))
                out += ' ';
            if (node.next_sibling()) {
                node = node.next_sibling();
                break;
            }
            node = node.parent();
            if (node == root) {
                node = pugi::xml_node();
                break;
            }
        }
    }
}

std::string textOf(const pugi::xml_node& node) {
    std::string out;
    collectText(node, out);
    return trimmed(out);
}

pugi::xml_node enclosing(pugi::xml_node node, const char* cls) {
    for (pugi::xml_node n = node.parent(); n; n = n.parent())
        if (n.type() == pugi::node_element && hasClass(n, cls)) return n;
    return pugi::xml_node();
}

// A file the page names (an img's src, a video's source), or "" for what is not a local file.
std::string localName(const std::string& reference) {
    std::string name = reference.substr(0, reference.find_first_of("?#"));
    if (name.empty() || name.find(':') != std::string::npos) return "";
    return percentDecoded(name);
}

// A recording's id must be a plain file name: no folders, nothing hidden.
bool plainName(const std::string& id) {
    return !id.empty() && id[0] != '.' && id.find('/') == std::string::npos &&
           id.find('\\') == std::string::npos && id.size() < 200;
}

std::string findDocument(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return "";
    std::vector<std::string> found;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 4 &&
            (name.compare(name.size() - 4, 4, ".htm") == 0 ||
             (name.size() > 5 && name.compare(name.size() - 5, 5, ".html") == 0)))
            found.push_back(name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());
    // Bloom names the book's document after its folder; otherwise the one with Bloom pages.
    std::string stem = stemOf(folder);
    // One that is a link to elsewhere is no document of this book.
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&](const std::string& name) {
                                   return !staysInBook(folder, folder + "/" + name);
                               }),
                found.end());
    for (const std::string& name : found)
        if (stemOf(name) == stem && isFile(folder + "/" + name)) return folder + "/" + name;
    for (const std::string& name : found) {
        std::string text;
        if (readFile(folder + "/" + name, text, kLargestDocument) &&
            text.find("bloom-page") != std::string::npos)
            return folder + "/" + name;
    }
    return "";
}

std::string dataDivValue(const pugi::xml_node& dataDiv, const char* key, const std::string& lang) {
    for (pugi::xml_node div : dataDiv.children("div")) {
        if (std::strcmp(div.attribute("data-book").value(), key) != 0) continue;
        std::string l = div.attribute("lang").value();
        if (lang.empty() || l == lang || l == "*") return textOf(div);
    }
    return "";
}

// Splits a text into sentences at their closing marks (for a second language recorded nowhere).
std::vector<std::string> sentencesOf(const std::string& text) {
    std::vector<std::string> out;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        current.push_back(text[i]);
        bool end = text[i] == '.' || text[i] == '!' || text[i] == '?';
        // The full-width and Devanagari marks are three bytes in UTF-8.
        for (const char* mark : {"\xE3\x80\x82", "\xEF\xBC\x81", "\xEF\xBC\x9F", "\xE0\xA5\xA4"}) {
            if (text.compare(i, 3, mark) == 0) {
                current.append(text, i + 1, 2);
                i += 2;
                end = true;
            }
        }
        if (end && (i + 1 >= text.size() || text[i + 1] == ' ')) {
            std::string s = trimmed(current);
            if (!s.empty()) out.push_back(s);
            current.clear();
        }
    }
    std::string rest = trimmed(current);
    if (!rest.empty()) out.push_back(rest);
    return out;
}

struct Languages {
    std::string first, second;
    bool shown(const std::string& lang) const {
        return lang.empty() || lang == "*" || lang == first || (!second.empty() && lang == second);
    }
};

// The recorded sentences of one editable text box, as elements in reading order.
std::vector<pugi::xml_node> recordedIn(const pugi::xml_node& editable) {
    std::vector<pugi::xml_node> out;
    forElements(editable, [&](pugi::xml_node n) {
        if (hasClass(n, "audio-sentence") || hasClass(n, "bloom-highlightSegment")) {
            out.push_back(n);
            return false;
        }
        return true;
    });
    return out;
}

// The sentence matching sentence `index` of `own` in the other language's box of the same
// translation group, or "".
std::string matchingCaption(const pugi::xml_node& sentence, const pugi::xml_node& own,
                            const std::string& otherLang) {
    pugi::xml_node group = enclosing(own, "bloom-translationGroup");
    if (!group || otherLang.empty()) return "";
    pugi::xml_node other;
    forElements(group, [&](pugi::xml_node n) {
        if (!other && hasClass(n, "bloom-editable") && otherLang == n.attribute("lang").value())
            other = n;
        return !other;
    });
    if (!other) return "";
    std::vector<pugi::xml_node> mine = recordedIn(own);
    size_t index = 0;
    while (index < mine.size() && mine[index] != sentence) ++index;
    if (index == mine.size()) return "";
    std::vector<pugi::xml_node> theirs = recordedIn(other);
    if (theirs.size() == mine.size()) return textOf(theirs[index]);
    std::string whole = textOf(other);
    if (whole.empty()) return "";
    if (mine.size() == 1) return whole;
    std::vector<std::string> split = sentencesOf(whole);
    return split.size() == mine.size() ? split[index] : "";
}

std::vector<double> endTimes(const char* text) {
    std::vector<double> times;
    std::istringstream in(text);
    double t;
    while (in >> t) times.push_back(t);
    return times;
}

// Whether the page shows anything: text outside the editor's own labels, or a picture.
bool showsSomething(const pugi::xml_node& page, const Languages& languages) {
    bool found = false;
    forNodes(page, [&](pugi::xml_node child) {
        if (found) return false;
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            found = !trimmed(child.value()).empty();
            return false;
        }
        if (child.type() != pugi::node_element) return false;
        std::string tag = child.name();
        if (tag == "label" || hasClass(child, "pageLabel") || hasClass(child, "pageDescription") ||
            hasClass(child, "bubble") || tag == "style" || tag == "script")
            return false;
        if (hasClass(child, "bloom-editable") && !languages.shown(child.attribute("lang").value()))
            return false;
        found = tag == "img" || tag == "video" || tag == "svg" || tag == "canvas";
        return !found;
    });
    return found;
}

class BloomBook {
  public:
    BloomBook(SourceBook& book, const std::string& document) : m_book(book), m_document(document) {}

    void problem(const std::string& file, const std::string& reason) {
        if (m_told.insert(file + "\n" + reason).second) m_book.problems.push_back({file, reason});
    }

    void checkMedia(const pugi::xml_node& page) {
        forElements(page, [&](pugi::xml_node n) {
            std::string tag = n.name();
            std::string src;
            if (tag == "img" || tag == "source" || tag == "video") src = n.attribute("src").value();
            std::string style = n.attribute("style").value();
            size_t url = style.find("background-image");
            if (src.empty() && url != std::string::npos) {
                size_t open = style.find("url(", url);
                size_t close = style.find(')', open);
                if (open != std::string::npos && close != std::string::npos) {
                    src = style.substr(open + 4, close - open - 4);
                    src.erase(std::remove_if(src.begin(), src.end(),
                                             [](char c) { return c == '\'' || c == '"'; }),
                              src.end());
                }
            }
            std::string name = localName(src);
            if (name.empty()) return true;
            std::string path = m_book.folder + "/" + name;
            if (!staysInBook(m_book.folder, path))
                problem(name, kLeadsOutside);
            else if (!isFile(path))
                problem(name, tag == "source" || tag == "video" ? "the video is missing"
                                                                : "the picture is missing");
            return true;
        });
    }

    void addSentence(SourceDocument& page, const pugi::xml_node& element,
                     const std::string& audioId, double begin, double end,
                     const pugi::xml_node& editable, const Languages& languages) {
        std::string id = element.attribute("id").value();
        if (!plainName(audioId)) {
            problem("audio/" + audioId + ".mp3", "its name is not a plain file name");
            return;
        }
        SourceSentence s;
        s.elementId = id;
        s.text = textOf(element);
        std::string audio = m_book.folder + "/audio/" + audioId;
        // Books from older Bloom versions kept their recordings as WAV files.
        s.audioFile =
            isFile(audio + ".mp3") || !isFile(audio + ".wav") ? audio + ".mp3" : audio + ".wav";
        s.clipBegin = begin;
        s.clipEnd = end;
        std::string lang = editable ? editable.attribute("lang").value() : "";
        if (editable && !languages.second.empty()) {
            std::string other = lang == languages.second ? languages.first : languages.second;
            s.caption = matchingCaption(element, editable, other);
        }
        page.sentences.push_back(s);
    }

    void readSentences(SourceDocument& page, const pugi::xml_node& node,
                       const Languages& languages) {
        forElements(node, [&](pugi::xml_node n) {
            if (hasClass(n, "bloom-editable") && !languages.shown(n.attribute("lang").value()))
                return false;  // a language the book does not show
            if (!hasClass(n, "audio-sentence")) return true;
            std::string id = n.attribute("id").value();
            pugi::xml_node editable =
                hasClass(n, "bloom-editable") ? n : enclosing(n, "bloom-editable");
            if (id.empty()) {
                problem(m_document, "a recorded sentence has no id, so no recording");
                return false;
            }
            const char* mode = n.attribute("data-audiorecordingmode").value();
            std::vector<double> ends = endTimes(n.attribute("data-audiorecordingendtimes").value());
            std::vector<pugi::xml_node> segments;
            forElements(n, [&](pugi::xml_node s) {
                if (hasClass(s, "bloom-highlightSegment")) {
                    segments.push_back(s);
                    return false;
                }
                return true;
            });
            if ((!std::strcmp(mode, "TextBox") || !ends.empty()) && !segments.empty() &&
                !ends.empty()) {
                // One recording for the whole box, cut where each sentence ends.
                if (ends.size() != segments.size())
                    problem("audio/" + id + ".mp3",
                            "its text box has " + std::to_string(segments.size()) +
                                " sentences but " + std::to_string(ends.size()) +
                                " end times; the sentences without one are left out");
                double begin = 0;
                for (size_t k = 0; k < std::min(ends.size(), segments.size()); ++k) {
                    if (!segments[k].attribute("id").value()[0]) {
                        problem(m_document, "a sentence of text box " + id + " has no id");
                    } else {
                        addSentence(page, segments[k], id, begin, ends[k], editable, languages);
                    }
                    begin = ends[k];
                }
            } else {
                addSentence(page, n, id, 0.0, -1.0, editable, languages);
            }
            return false;
        });
    }

  private:
    SourceBook& m_book;
    std::string m_document;
    std::set<std::string> m_told;
};

}  // namespace

bool isBloomFolder(const std::string& folder) {
    return isFolder(folder) && !findDocument(folder).empty();
}

bool readBloom(const std::string& givenFolder, SourceBook& book, std::string& why) {
    std::string folder = absolutePath(givenFolder);
    std::string path = findDocument(folder);
    if (path.empty()) return why = "it has no .htm document with Bloom pages", false;
    std::string documentName = path.substr(folder.size() + 1);
    std::string text;
    if (!readFile(path, text, kLargestDocument))
        return why = documentName + " cannot be read (or is larger than 32 MB)", false;
    pugi::xml_document html;
    pugi::xml_parse_result parsed =
        html.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!parsed)
        return why = documentName + " is not well-formed (" + parsed.description() + " at byte " +
                     std::to_string(parsed.offset) + ")",
               false;

    book = SourceBook();
    book.folder = folder;
    book.pagesPerSection = kBloomPagesPerUnit;
    pugi::xml_node root = html.child("html");
    pugi::xml_node body = root.child("body");
    pugi::xml_node dataDiv;
    forElements(root, [&](pugi::xml_node n) {
        if (!std::strcmp(n.attribute("id").value(), "bloomDataDiv")) dataDiv = n;
        return !dataDiv;
    });
    Languages languages;
    languages.first = dataDiv ? dataDivValue(dataDiv, "contentLanguage1", "") : "";
    languages.second = dataDiv ? dataDivValue(dataDiv, "contentLanguage2", "") : "";
    if (languages.first.empty()) languages.first = body.attribute("data-l1").value();
    if (languages.second.empty()) languages.second = body.attribute("data-l2").value();
    if (languages.second == languages.first) languages.second.clear();

    book.title = dataDiv ? dataDivValue(dataDiv, "bookTitle", languages.first) : "";
    if (book.title.empty()) {
        std::string meta, metaPath = folder + "/meta.json";
        Json::Value info;
        if (!staysInBook(folder, metaPath))
            book.problems.push_back({"meta.json", kLeadsOutside});
        else if (readFile(metaPath, meta, 1u << 20) && format::parseJson(meta, info) &&
                 info["title"].isString())
            book.title = trimmed(info["title"].asString());
    }
    if (book.title.empty()) book.title = textOf(root.child("head").child("title"));
    if (book.title.empty()) book.title = stemOf(folder);

    BloomBook reading(book, documentName);
    std::vector<pugi::xml_node> pages;
    forElements(root, [&](pugi::xml_node n) {
        if (n == dataDiv) return false;
        if (!std::strcmp(n.name(), "div") && hasClass(n, "bloom-page")) {
            pages.push_back(n);
            return false;
        }
        return true;
    });
    for (const pugi::xml_node& page : pages) {
        if (hasClass(page, "bloom-noreader")) continue;  // Bloom leaves these out of its reader
        if (!showsSomething(page, languages)) continue;
        SourceDocument document;
        document.path = path;
        document.layout = SourceLayout::Fixed;
        std::string id = page.attribute("id").value();
        if (!id.empty() && id.find_first_of("\"\\") == std::string::npos) {
            document.pageSelector = "div.bloom-page[id=\"" + id + "\"]";
        } else {
            int position = 1;
            for (pugi::xml_node s = page.previous_sibling(); s; s = s.previous_sibling())
                if (s.type() == pugi::node_element) ++position;
            document.pageSelector = std::string(page.parent() == body ? "body > " : "") +
                                    ":nth-child(" + std::to_string(position) + ")";
        }
        for (const PageSize& size : kPageSizes) {
            if (hasClass(page, size.name)) {
                document.width = (int)std::lround(size.width * 96 / 25.4);
                document.height = (int)std::lround(size.height * 96 / 25.4);
            }
        }
        reading.checkMedia(page);
        reading.readSentences(document, page, languages);
        book.documents.push_back(std::move(document));
    }
    if (book.documents.empty())
        return why = documentName + " has no page that shows anything", false;
    return true;
}

}  // namespace pagly::import
