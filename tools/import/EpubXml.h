// The small XML and problem-keeping helpers the EPUB reader's parts share. EPUB files mix
// namespaces freely (dc:title, epub:type, xlink:href) and pugixml does not resolve them, so
// elements and attributes are matched by their local name.
#ifndef PAGLY_TOOLS_IMPORT_EPUBXML_H
#define PAGLY_TOOLS_IMPORT_EPUBXML_H

#include <pugixml.hpp>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tools/import/SourceBook.h"

namespace pagly::import::epub {

// Problems met while reading one book, each told once however often it is met.
class ProblemList {
  public:
    explicit ProblemList(std::vector<ImportProblem>& out) : out_(out) {}
    void add(const std::string& file, const std::string& reason);

  private:
    std::vector<ImportProblem>& out_;
    std::set<std::pair<std::string, std::string>> told_;
};

// Loads an XML file; false with why ("is not XML: ... at line 3") when it is missing, too
// large for a book's file or not well formed.
bool loadXml(const std::string& path, pugi::xml_document& doc, std::string& why);

// "dc:title" -> "title".
const char* localName(const char* name);
bool isNamed(const pugi::xml_node& node, const char* local);
pugi::xml_node childNamed(const pugi::xml_node& node, const char* local);
pugi::xml_node descendantNamed(const pugi::xml_node& node, const char* local);
// The value of the attribute with this local name (any prefix), or "".
std::string attributeNamed(const pugi::xml_node& node, const char* local);
// All the text inside node, runs of white space made one space, trimmed.
std::string collapsedText(const pugi::xml_node& node);
// A white-space separated list ("nav cover-image").
bool hasToken(const std::string& list, const std::string& token);

}  // namespace pagly::import::epub

#endif
