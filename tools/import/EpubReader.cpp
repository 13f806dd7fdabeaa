#include "tools/import/EpubReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <unordered_map>

#include "tools/import/BookHref.h"
#include "tools/import/EpubNavigation.h"
#include "tools/import/EpubOverlays.h"
#include "tools/import/EpubXml.h"
#include "tools/import/SafeZip.h"
#include "tools/import/SmilClock.h"

namespace pagly::import {

namespace fs = std::filesystem;
using namespace epub;

namespace {

// A fixed page that names no size of its own is laid out at this size.
const int kFallbackWidth = 768;
const int kFallbackHeight = 1024;
// Beyond this a side is a mistake, not a page (it is also past what a browser will draw).
const int kMaxSide = 16384;
// Units of this many pages when the book has no table of contents.
const int kPagesPerSectionWithoutToc = 10;

struct ManifestItem {
    std::string id;
    std::string path;  // absolute; empty when its href was refused
    std::string mediaType;
    std::string properties;
    std::string overlayId;  // media-overlay: the SMIL item read with this document
};

// "600", "600px", "600.5" -> 600 (rounded); false for anything else or out of range.
bool parseSide(std::string text, int& side) {
    text.erase(
        std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }),
        text.end());
    if (text.size() > 2 && text.compare(text.size() - 2, 2, "px") == 0)
        text.resize(text.size() - 2);
    double value = 0.0;
    if (!parseUnsignedDecimal(text, value) || value < 0.5 || value > kMaxSide) return false;
    side = int(std::lround(value));
    return true;
}

// "width=600, height=800" (commas or semicolons between the pairs).
bool parseViewport(const std::string& content, int& width, int& height) {
    int w = 0, h = 0;
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = content.find_first_of(",;", start);
        if (end == std::string::npos) end = content.size();
        std::string pair = content.substr(start, end - start);
        start = end + 1;
        std::size_t eq = pair.find('=');
        if (eq == std::string::npos) continue;
        std::string key = pair.substr(0, eq);
        key.erase(
            std::remove_if(key.begin(), key.end(), [](unsigned char c) { return std::isspace(c); }),
            key.end());
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (key == "width" && !parseSide(pair.substr(eq + 1), w)) return false;
        if (key == "height" && !parseSide(pair.substr(eq + 1), h)) return false;
    }
    if (w == 0 || h == 0) return false;
    width = w;
    height = h;
    return true;
}

// The size a fixed page gives itself: its viewport, or an SVG page's own size.
bool pageSize(const pugi::xml_document& doc, int& width, int& height) {
    pugi::xml_node root = doc.document_element();
    if (isNamed(root, "svg")) {
        if (parseSide(root.attribute("width").value(), width) &&
            parseSide(root.attribute("height").value(), height))
            return true;
        std::string box = root.attribute("viewBox").value();
        for (char& c : box)
            if (c == ',') c = ' ';
        double x, y, w, h;
        if (std::sscanf(box.c_str(), "%lf %lf %lf %lf", &x, &y, &w, &h) == 4 && w >= 1 && h >= 1 &&
            w <= kMaxSide && h <= kMaxSide) {
            width = int(std::lround(w));
            height = int(std::lround(h));
            return true;
        }
        return false;
    }
    pugi::xml_node head = childNamed(root, "head");
    for (pugi::xml_node meta : head.children()) {
        if (isNamed(meta, "meta") && std::string(meta.attribute("name").value()) == "viewport")
            return parseViewport(meta.attribute("content").value(), width, height);
    }
    return false;
}

class EpubBookReader {
  public:
    explicit EpubBookReader(SourceBook& book) : book_(book), problems_(book.problems) {}

    void read(const std::string& input, const std::string& workFolder) {
        inputName_ = fs::path(input).filename().string();
        if (inputName_.empty()) inputName_ = input;
        if (!openFolder(input, workFolder)) return;
        checkMimetype();
        std::string opf = findPackage();
        if (opf.empty()) return refuse("has no package document (.opf) to read");
        if (!readPackage(opf)) return;
        readSections();
        if (book_.documents.empty())
            refuse("has no page that can be shown: every document of its spine was left out");
    }

  private:
    void refuse(const std::string& reason) {
        book_.documents.clear();
        problems_.add(inputName_, "the book cannot be converted: it " + reason);
    }

    bool openFolder(const std::string& input, const std::string& workFolder) {
        std::error_code ec;
        if (fs::is_directory(input, ec)) {
            folder_ = fs::weakly_canonical(fs::absolute(input), ec).string();
            book_.folder = folder_;
            return true;
        }
        if (!fs::is_regular_file(input, ec)) {
            refuse("is missing");
            return false;
        }
        fs::path unpacked = fs::absolute(fs::path(workFolder) / "unpacked");
        if (fs::exists(unpacked, ec) && !fs::is_empty(unpacked, ec)) {
            refuse("would be unpacked into " + unpacked.string() + ", which is not empty");
            return false;
        }
        if (!extractZip(input, unpacked.string(), book_.problems)) {
            refuse("cannot be unpacked safely (see above)");
            return false;
        }
        folder_ = fs::weakly_canonical(unpacked, ec).string();
        book_.folder = folder_;
        return true;
    }

    void checkMimetype() {
        std::error_code ec;
        if (!fs::is_regular_file(folder_ + "/mimetype", ec)) return;  // optional once unpacked
        if (!staysInBook(folder_, folder_ + "/mimetype"))
            return problems_.add("mimetype", kLeadsOutside);
        std::ifstream in(folder_ + "/mimetype", std::ios::binary);
        std::string type(64, '\0');
        in.read(&type[0], 64);
        type.resize(std::size_t(in.gcount()));
        while (!type.empty() && std::isspace(static_cast<unsigned char>(type.back())))
            type.pop_back();
        if (type != "application/epub+zip")
            problems_.add("mimetype", "says \"" + type +
                                          "\", not application/epub+zip; read as an EPUB anyway");
    }

    // META-INF/container.xml names the package; without it, the one .opf of the book.
    std::string findPackage() {
        const std::string containerName = "META-INF/container.xml";
        pugi::xml_document doc;
        std::string why;
        if (!staysInBook(folder_, folder_ + "/" + containerName)) {
            problems_.add(containerName,
                          std::string(kLeadsOutside) + "; looking for the package document");
        } else if (loadXml(folder_ + "/" + containerName, doc, why)) {
            pugi::xml_node rootfiles = childNamed(doc.document_element(), "rootfiles");
            for (pugi::xml_node rootfile : rootfiles.children()) {
                if (!isNamed(rootfile, "rootfile")) continue;
                std::string type = rootfile.attribute("media-type").value();
                if (!type.empty() && type != "application/oebps-package+xml") continue;
                std::string path =
                    resolveHref(folder_, folder_, rootfile.attribute("full-path").value(), why);
                if (!path.empty()) return path;
                problems_.add(containerName, "its rootfile " + why);
            }
            problems_.add(containerName, "names no package document; looking for one");
        } else {
            problems_.add(containerName, why + "; looking for the package document");
        }
        std::vector<std::string> found;
        std::error_code ec;
        fs::recursive_directory_iterator it(folder_, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            if (it.depth() > 3) it.disable_recursion_pending();
            if (it->is_regular_file(ec) && it->path().extension() == ".opf" && !it->is_symlink(ec))
                found.push_back(it->path().string());
        }
        std::sort(found.begin(), found.end());
        return found.empty() ? "" : found.front();
    }

    bool readPackage(const std::string& opfPath) {
        opfName_ = bookRelative(folder_, opfPath);
        pugi::xml_document doc;
        std::string why;
        if (!loadXml(opfPath, doc, why)) {
            problems_.add(opfName_, why);
            refuse("has a package document (" + opfName_ + ") that cannot be read");
            return false;
        }
        pugi::xml_node package = doc.document_element();
        pugi::xml_node metadata = childNamed(package, "metadata");
        bool fixedBook = false;
        for (pugi::xml_node node : metadata.children()) {
            if (isNamed(node, "title") && book_.title.empty()) book_.title = collapsedText(node);
            if (!isNamed(node, "meta")) continue;
            std::string property = node.attribute("property").value();
            std::string value = collapsedText(node);
            if (property == "rendition:layout") fixedBook = value == "pre-paginated";
            if (property == "rendition:viewport" && !parseViewport(value, bookWidth_, bookHeight_))
                bookWidth_ = bookHeight_ = 0;
        }
        if (book_.title.empty()) book_.title = fs::path(inputName_).stem().string();
        readManifest(childNamed(package, "manifest"));
        pugi::xml_node spine = childNamed(package, "spine");
        tocId_ = spine.attribute("toc").value();
        readSpine(spine, fixedBook);
        return true;
    }

    void readManifest(const pugi::xml_node& manifest) {
        const std::string base = fs::path(folder_ + "/" + opfName_).parent_path().string();
        for (pugi::xml_node node : manifest.children()) {
            if (!isNamed(node, "item")) continue;
            ManifestItem item;
            item.id = node.attribute("id").value();
            item.mediaType = node.attribute("media-type").value();
            item.properties = node.attribute("properties").value();
            item.overlayId = node.attribute("media-overlay").value();
            std::string href = node.attribute("href").value();
            std::string why;
            item.path = resolveHref(folder_, base, href, why);
            if (item.path.empty())
                problems_.add(opfName_, "the item \"" + item.id + "\" " + why + "; it is left out");
            if (item.id.empty() || items_.count(item.id)) continue;
            if (hasToken(item.properties, "nav") && !item.path.empty()) navPath_ = item.path;
            if (item.mediaType == "application/x-dtbncx+xml" && ncxFallback_.empty())
                ncxFallback_ = item.id;
            items_[item.id] = item;
        }
    }

    void readSpine(const pugi::xml_node& spine, bool fixedBook) {
        std::vector<const ManifestItem*> pages;
        std::vector<bool> fixed;
        std::set<std::string> listed;
        for (pugi::xml_node ref : spine.children()) {
            if (!isNamed(ref, "itemref")) continue;
            // Pages out of the reading order (answers, pop-ups) open only from links.
            if (std::string(ref.attribute("linear").value()) == "no") continue;
            std::string idref = ref.attribute("idref").value();
            auto item = items_.find(idref);
            if (item == items_.end()) {
                problems_.add(opfName_, "the spine names \"" + idref +
                                            "\", which the manifest does not list");
                continue;
            }
            if (!listed.insert(idref).second) {
                problems_.add(opfName_,
                              "the spine names \"" + idref + "\" more than once; it is read once");
                continue;
            }
            if (item->second.path.empty()) continue;  // told while reading the manifest
            std::string properties = ref.attribute("properties").value();
            bool pageFixed = fixedBook;
            if (hasToken(properties, "rendition:layout-pre-paginated")) pageFixed = true;
            if (hasToken(properties, "rendition:layout-reflowable")) pageFixed = false;
            pages.push_back(&item->second);
            fixed.push_back(pageFixed);
        }
        // Documents naming one overlay between them share its pars.
        std::map<std::string, std::vector<std::string>> byOverlay;
        for (const ManifestItem* page : pages)
            if (!page->overlayId.empty()) byOverlay[page->overlayId].push_back(page->path);
        EpubOverlays overlays(folder_, problems_);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            SourceDocument document;
            if (readDocument(*pages[i], fixed[i], overlays, byOverlay[pages[i]->overlayId],
                             document))
                book_.documents.push_back(std::move(document));
        }
        giveFixedPagesASize();
    }

    bool readDocument(const ManifestItem& item, bool fixed, EpubOverlays& overlays,
                      const std::vector<std::string>& sharingOverlay, SourceDocument& document) {
        const std::string name = bookRelative(folder_, item.path);
        const std::string& type = item.mediaType;
        if (type != "application/xhtml+xml" && type != "image/svg+xml" && type != "text/html") {
            problems_.add(name,
                          "is in the spine but is a \"" + type + "\", not a page; it is left out");
            return false;
        }
        pugi::xml_document doc;
        std::string why;
        if (!loadXml(item.path, doc, why)) {
            problems_.add(name, why + "; the page is left out");
            return false;
        }
        document.path = item.path;
        document.layout = fixed ? SourceLayout::Fixed : SourceLayout::Reflow;
        if (fixed && !pageSize(doc, document.width, document.height))
            document.width = document.height = 0;
        checkResources(doc, item.path, name);
        if (item.overlayId.empty()) return true;
        auto overlay = items_.find(item.overlayId);
        if (overlay == items_.end() || overlay->second.path.empty()) {
            problems_.add(name,
                          "names the overlay \"" + item.overlayId +
                              "\", which the manifest does not list; the page has no recordings");
            return true;
        }
        std::unordered_map<std::string, pugi::xml_node> ids;
        for (pugi::xpath_node found : doc.select_nodes("//*[@id]"))
            ids.emplace(found.node().attribute("id").value(), found.node());
        document.sentences =
            overlays.sentencesOf(overlay->second.path, item.path, ids, sharingOverlay);
        return true;
    }

    // The pictures, videos and style sheets a page names: a missing one is told (the page is
    // drawn without it); one outside the book is told too, as the browser must not load it.
    void checkResources(const pugi::xml_document& doc, const std::string& path,
                        const std::string& name) {
        static const struct {
            const char* element;
            const char* attribute;
        } kLinks[] = {{"img", "src"},    {"image", "href"}, {"video", "src"},   {"video", "poster"},
                      {"audio", "src"},  {"source", "src"}, {"object", "data"}, {"link", "href"},
                      {"iframe", "src"}, {"embed", "src"},  {"script", "src"},  {"use", "href"}};
        const std::string base = fs::path(path).parent_path().string();
        for (pugi::xpath_node found : doc.select_nodes("//*")) {
            pugi::xml_node node = found.node();
            for (const auto& link : kLinks) {
                if (!isNamed(node, link.element)) continue;
                std::string href = attributeNamed(node, link.attribute);
                if (href.empty() || href[0] == '#' || href.compare(0, 5, "data:") == 0) continue;
                if (isNamed(node, "link") && !hasToken(node.attribute("rel").value(), "stylesheet"))
                    continue;
                std::string why;
                std::string target = resolveHref(folder_, base, href, why);
                std::error_code ec;
                if (target.empty()) {
                    problems_.add(name, "its " + std::string(link.element) + " " + why +
                                            "; the page is shown without it");
                } else if (!fs::is_regular_file(target, ec)) {
                    problems_.add(name, "names " + bookRelative(folder_, target) +
                                            ", which is missing; the page is shown without it");
                }
            }
        }
    }

    void giveFixedPagesASize() {
        int width = bookWidth_, height = bookHeight_;
        for (const SourceDocument& d : book_.documents) {
            if (width == 0 && d.layout == SourceLayout::Fixed && d.width > 0) {
                width = d.width;
                height = d.height;
            }
        }
        if (width == 0) {
            width = kFallbackWidth;
            height = kFallbackHeight;
        }
        for (SourceDocument& d : book_.documents) {
            if (d.layout != SourceLayout::Fixed || d.width > 0) continue;
            d.width = width;
            d.height = height;
            problems_.add(bookRelative(folder_, d.path),
                          "gives no usable page size (meta viewport width and height up to " +
                              std::to_string(kMaxSide) + "); laid out at " + std::to_string(width) +
                              " x " + std::to_string(height));
        }
    }

    void readSections() {
        std::vector<NavEntry> entries;
        if (!navPath_.empty()) entries = readNavDocument(folder_, navPath_, problems_);
        std::string tocFile = navPath_;
        if (entries.empty()) {
            auto ncx = items_.find(tocId_.empty() ? ncxFallback_ : tocId_);
            if (ncx != items_.end() && !ncx->second.path.empty()) {
                entries = readNcx(folder_, ncx->second.path, problems_);
                tocFile = ncx->second.path;
            }
        }
        bool any = false;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            auto doc =
                std::find_if(book_.documents.begin(), book_.documents.end(),
                             [&](const SourceDocument& d) { return d.path == entries[i].path; });
            if (doc == book_.documents.end()) {
                problems_.add(bookRelative(folder_, tocFile),
                              "the entry \"" + entries[i].label + "\" opens " +
                                  bookRelative(folder_, entries[i].path) +
                                  ", which is not a page of the book; it is left out");
                continue;
            }
            if (!doc->sectionTitle.empty()) continue;  // a second entry into the same document
            doc->sectionTitle =
                entries[i].label.empty() ? "Part " + std::to_string(i + 1) : entries[i].label;
            any = true;
        }
        if (!any) book_.pagesPerSection = kPagesPerSectionWithoutToc;
    }

    SourceBook& book_;
    ProblemList problems_;
    std::string inputName_;
    std::string folder_;
    std::string opfName_;
    std::map<std::string, ManifestItem> items_;
    std::string tocId_;
    std::string ncxFallback_;
    std::string navPath_;
    int bookWidth_ = 0;
    int bookHeight_ = 0;
};

}  // namespace

SourceBook readEpub(const std::string& pathToEpubOrFolder, const std::string& workFolder) {
    SourceBook book;
    EpubBookReader(book).read(pathToEpubOrFolder, workFolder);
    return book;
}

}  // namespace pagly::import
