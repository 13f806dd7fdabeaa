// The top entries of an EPUB book's table of contents: the EPUB 3 navigation document's
// <nav epub:type="toc">, or the EPUB 2 NCX's navMap. They become the reader's units.
#ifndef PAGLY_TOOLS_IMPORT_EPUBNAVIGATION_H
#define PAGLY_TOOLS_IMPORT_EPUBNAVIGATION_H

#include <string>
#include <vector>

#include "tools/import/EpubXml.h"

namespace pagly::import::epub {

struct NavEntry {
    std::string label;
    std::string path;  // absolute path of the document it opens (fragment dropped)
};

// Empty (with a problem) when the file cannot be read or has no table of contents.
std::vector<NavEntry> readNavDocument(const std::string& bookFolder, const std::string& navPath,
                                      ProblemList& problems);
std::vector<NavEntry> readNcx(const std::string& bookFolder, const std::string& ncxPath,
                              ProblemList& problems);

}  // namespace pagly::import::epub

#endif
