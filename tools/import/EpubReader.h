// Reads an EPUB 3 book with media overlays (read-aloud EPUB), packed (.epub) or unpacked,
// into the description the book writer converts: its documents in spine order, fixed pages
// at their viewport size or flowing chapters, each document's sentences from its overlay,
// and its sections from the table of contents.
#ifndef PAGLY_TOOLS_IMPORT_EPUBREADER_H
#define PAGLY_TOOLS_IMPORT_EPUBREADER_H

#include <string>

#include "tools/import/SourceBook.h"

namespace pagly::import {

// pathToEpubOrFolder: a .epub file (unpacked safely into workFolder/"unpacked", which must
// not exist yet or be empty) or the folder of an unpacked book (only read). Whatever cannot
// be used is left out and told in problems; when nothing can be used, documents is empty
// and the last problem says why.
SourceBook readEpub(const std::string& pathToEpubOrFolder, const std::string& workFolder);

}  // namespace pagly::import

#endif
