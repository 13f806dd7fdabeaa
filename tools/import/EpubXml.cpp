#include "tools/import/EpubXml.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pagly::import::epub {

namespace {

const std::size_t kMaxXmlBytes = 64u << 20;  // far beyond any page, package or overlay

// Walks the tree without recursion: a hostile page may nest elements a million deep.
void appendText(const pugi::xml_node& root, std::string& out) {
    pugi::xml_node node = root.first_child();
    while (node && node != root) {
        bool skip = isNamed(node, "script") || isNamed(node, "style");
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            out += node.value();
        if (!skip && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != root && !node.next_sibling()) node = node.parent();
        if (node && node != root) node = node.next_sibling();
    }
}

}  // namespace

void ProblemList::add(const std::string& file, const std::string& reason) {
    if (told_.insert({file, reason}).second) out_.push_back({file, reason});
}

bool loadXml(const std::string& path, pugi::xml_document& doc, std::string& why) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        why = "is missing";
        return false;
    }
    // A pipe or device in an unpacked folder would hang the reading.
    if (!std::filesystem::is_regular_file(path, ec)) {
        why = "is not a plain file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = "cannot be read";
        return false;
    }
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || std::size_t(size) > kMaxXmlBytes) {
        why = "is too large for a file of a book (" + std::to_string(size) + " bytes)";
        return false;
    }
    in.seekg(0);
    std::string data(static_cast<std::size_t>(size), '\0');
    in.read(&data[0], size);
    pugi::xml_parse_result result =
        doc.load_buffer(data.data(), data.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!result) {
        std::size_t offset = std::min<std::size_t>(std::size_t(result.offset), data.size());
        long line = 1 + std::count(data.begin(), data.begin() + long(offset), '\n');
        why =
            std::string("is not XML: ") + result.description() + " at line " + std::to_string(line);
        return false;
    }
    if (!doc.document_element()) {
        why = "is not XML: it holds no element";
        return false;
    }
    return true;
}

const char* localName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node& node, const char* local) {
    return node.type() == pugi::node_element && std::strcmp(localName(node.name()), local) == 0;
}

pugi::xml_node childNamed(const pugi::xml_node& node, const char* local) {
    for (pugi::xml_node child : node.children())
        if (isNamed(child, local)) return child;
    return {};
}

pugi::xml_node descendantNamed(const pugi::xml_node& node, const char* local) {
    return node.find_node([local](const pugi::xml_node& n) { return isNamed(n, local); });
}

std::string attributeNamed(const pugi::xml_node& node, const char* local) {
    for (pugi::xml_attribute a : node.attributes())
        if (std::strcmp(localName(a.name()), local) == 0) return a.value();
    return "";
}

std::string collapsedText(const pugi::xml_node& node) {
    std::string raw;
    appendText(node, raw);
    std::string out;
    bool space = false;
    for (char c : raw) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            space = !out.empty();
        } else {
            if (space) out += ' ';
            space = false;
            out += c;
        }
    }
    return out;
}

bool hasToken(const std::string& list, const std::string& token) {
    std::istringstream in(list);
    std::string word;
    while (in >> word)
        if (word == token) return true;
    return false;
}

}  // namespace pagly::import::epub
