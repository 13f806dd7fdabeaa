#include "tools/import/EpubNavigation.h"

#include <cstring>
#include <filesystem>

#include "tools/import/BookHref.h"

namespace pagly::import::epub {

namespace fs = std::filesystem;

namespace {

// epub:type, whatever prefix the book bound the namespace to (but not a plain "type").
bool isToc(const pugi::xml_node& nav) {
    for (pugi::xml_attribute a : nav.attributes()) {
        const char* name = a.name();
        if (std::strchr(name, ':') && std::strcmp(localName(name), "type") == 0 &&
            hasToken(a.value(), "toc"))
            return true;
    }
    return false;
}

void addEntry(const std::string& bookFolder, const std::string& base, const std::string& file,
              const std::string& label, const std::string& href, ProblemList& problems,
              std::vector<NavEntry>& out) {
    std::string why;
    std::string path = resolveHref(bookFolder, base, href, why);
    if (path.empty()) {
        problems.add(file, "the entry \"" + label + "\" " + why + "; it is left out");
        return;
    }
    out.push_back({label, path});
}

bool loadToc(const std::string& path, const std::string& file, pugi::xml_document& doc,
             ProblemList& problems) {
    std::string why;
    if (loadXml(path, doc, why)) return true;
    problems.add(file, why + "; the book's sections are not known from it");
    return false;
}

}  // namespace

std::vector<NavEntry> readNavDocument(const std::string& bookFolder, const std::string& navPath,
                                      ProblemList& problems) {
    std::vector<NavEntry> out;
    const std::string file = bookRelative(bookFolder, navPath);
    pugi::xml_document doc;
    if (!loadToc(navPath, file, doc, problems)) return out;
    pugi::xml_node nav =
        doc.find_node([](const pugi::xml_node& n) { return isNamed(n, "nav") && isToc(n); });
    pugi::xml_node list = nav ? descendantNamed(nav, "ol") : pugi::xml_node();
    if (!list) {
        problems.add(file, "has no table of contents (nav epub:type=\"toc\" with a list)");
        return out;
    }
    const std::string base = fs::path(navPath).parent_path().string();
    for (pugi::xml_node li : list.children()) {
        if (!isNamed(li, "li")) continue;
        // An entry is a link, or a heading (span) over a list whose first link it opens.
        pugi::xml_node head = childNamed(li, "a");
        if (!head) head = childNamed(li, "span");
        std::string label = head ? collapsedText(head) : "";
        std::string href = head ? attributeNamed(head, "href") : "";
        if (href.empty()) {
            pugi::xml_node link = li.find_node([](const pugi::xml_node& n) {
                return isNamed(n, "a") && !attributeNamed(n, "href").empty();
            });
            href = link ? attributeNamed(link, "href") : "";
            if (label.empty() && link) label = collapsedText(link);
        }
        if (href.empty()) continue;
        addEntry(bookFolder, base, file, label, href, problems, out);
    }
    return out;
}

std::vector<NavEntry> readNcx(const std::string& bookFolder, const std::string& ncxPath,
                              ProblemList& problems) {
    std::vector<NavEntry> out;
    const std::string file = bookRelative(bookFolder, ncxPath);
    pugi::xml_document doc;
    if (!loadToc(ncxPath, file, doc, problems)) return out;
    pugi::xml_node map = childNamed(doc.document_element(), "navMap");
    const std::string base = fs::path(ncxPath).parent_path().string();
    for (pugi::xml_node point : map.children()) {
        if (!isNamed(point, "navPoint")) continue;
        std::string label = collapsedText(childNamed(childNamed(point, "navLabel"), "text"));
        std::string href = childNamed(point, "content").attribute("src").value();
        if (href.empty()) continue;
        addEntry(bookFolder, base, file, label, href, problems, out);
    }
    return out;
}

}  // namespace pagly::import::epub
