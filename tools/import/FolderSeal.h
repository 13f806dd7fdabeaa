// What makes a folder recognisably the importer's own: its marker file holds a seal of the
// folder's listing (every name under it, with kinds and sizes), keyed with a secret of this
// user that no book can read. A marker a book or an archive carries cannot hold a right seal,
// and a converted folder someone added files to (notes.txt) no longer matches its own: neither
// is ever replaced.
#ifndef PAGLY_TOOLS_IMPORT_FOLDERSEAL_H
#define PAGLY_TOOLS_IMPORT_FOLDERSEAL_H

#include <string>

namespace pagly::import {

// The marker file's name, at the top of a converted folder.
extern const char* const kImportMarker;  // ".pagly-import"

// Every file, folder and link under `folder` (links not followed) with its kind and size, one
// a line in name order; the marker at its top is left out.
std::string folderListing(const std::string& folder);

// The seal of `listing` under this user's key ($XDG_CONFIG_HOME/pagly/import-key, else
// ~/.config/pagly/import-key), made on first use when `makeKey`. Empty without a key.
std::string sealOf(const std::string& listing, bool makeKey);

// Writes the marker of a finished folder: the source it came from and the seal of the
// folder's listing as it is now. False when it cannot be written.
bool sealFolder(const std::string& folder, const std::string& source);

// Whether `folder` holds a marker whose seal matches the folder as it is.
bool hasValidSeal(const std::string& folder);

}  // namespace pagly::import

#endif
