// Converting a book from elsewhere into a pagly book folder, whatever its format: a .bloompub
// or an .epub file, or the unpacked folder of either. What pagly-import runs, and what tests
// and benches call directly.
#ifndef PAGLY_TOOLS_IMPORT_IMPORTER_H
#define PAGLY_TOOLS_IMPORT_IMPORTER_H

#include <string>

#include "tools/import/BookWriter.h"

namespace pagly::import {

enum class ImportResult {
    Written,  // the folder is there
    Refused,  // the book cannot be converted; `why` says why
};

// The folder a book is converted into when none is given: its file name without extension, in
// the current folder.
std::string defaultFolderFor(const std::string& source);

// Reads `source` and writes it to `folder`. Problems with parts of the book go to
// options.problem as they are met (those the format's reader found first).
ImportResult importBook(const std::string& source, const std::string& folder,
                        const WriteOptions& options, std::string& why);

}  // namespace pagly::import

#endif
