// Unpacks a book's zip (.epub, .bloompub) into a folder of our own, and nowhere else. A book
// comes from anyone: its entry names may climb out of the folder ("../", "/etc/..."), name
// links, or unpack to far more than the archive holds. Every entry that cannot be written
// safely is left out and told as a problem; an archive that tries to flood the disk is
// refused as a whole.
#ifndef PAGLY_TOOLS_IMPORT_SAFEZIP_H
#define PAGLY_TOOLS_IMPORT_SAFEZIP_H

#include <cstdint>
#include <string>
#include <vector>

#include "tools/import/SourceBook.h"

namespace pagly::import {

// What an archive may unpack to. The sizes are the bytes really written, whatever the
// archive's headers declare.
struct ZipLimits {
    std::uint64_t maxEntries = 20000;
    std::uint64_t maxTotalBytes = std::uint64_t(1) << 30;  // all entries together
    std::uint64_t maxEntryBytes = std::uint64_t(512) << 20;
    // Unpacked bytes per packed byte of one entry, checked once the entry has written
    // ratioFloorBytes (small, very regular files such as a page of spaces may pack far better),
    // and of the whole archive so far, once all it unpacked passes ratioFloorBytes: a thousand
    // entries each just under the floor add up.
    double maxRatio = 200.0;
    std::uint64_t ratioFloorBytes = std::uint64_t(1) << 20;
    // Folders an entry may lie in, one inside the other; a book needs a few.
    std::uint64_t maxDepth = 32;
};

// Unpacks zipPath into intoFolder (created if missing; meant to be new and empty: an entry
// never replaces a file already there). Entries with unsafe names, links, special files or
// damaged data are skipped, one problem each. Returns false when the archive cannot be read
// at all, breaks a limit or the conversion is cancelled (checked between entries and while one
// unpacks); what was written then stays in intoFolder for the caller to remove with it (the
// entry being written when a limit broke is removed).
bool extractZip(const std::string& zipPath, const std::string& intoFolder,
                std::vector<ImportProblem>& problems, const ZipLimits& limits = {});

// The entry name as a relative path of plain components joined by '/', or empty with
// why set when the name is absolute, climbs out ("..") or is otherwise unusable.
// A trailing '/' (a folder entry) is dropped.
std::string safeEntryPath(const std::string& entryName, std::string& why);

}  // namespace pagly::import

#endif
