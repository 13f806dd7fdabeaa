// libFuzzer target: arbitrary bytes as a book's zip (.epub, .bloompub), unpacked by the
// importer's zip guard into a fresh folder. A crash, a hang, a leak or anything written
// outside that folder (or any link or special file inside it) is a finding; keep each
// finding's input under fuzz/regressions/zip/.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/ScratchFolder.h"
#include "tools/import/SafeZip.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string root = pagly::fuzz::scratchFolder();
    std::error_code ignored;
    fs::remove_all(root + "/zip", ignored);
    fs::create_directories(root + "/zip", ignored);
    std::string packed = pagly::fuzz::writeScratchFile("zip/book.zip", data, size);
    std::vector<pagly::import::ImportProblem> problems;
    // Small limits, so that a flood is found in a moment.
    pagly::import::ZipLimits limits;
    limits.maxEntries = 200;
    limits.maxTotalBytes = 8u << 20;
    limits.maxEntryBytes = 4u << 20;
    pagly::import::extractZip(packed, root + "/zip/out", problems, limits);
    // Only the archive and what it unpacked, and that only as plain files and folders.
    for (const fs::directory_entry& entry : fs::directory_iterator(root + "/zip", ignored))
        if (entry.path().filename() != "book.zip" && entry.path().filename() != "out")
            __builtin_trap();
    fs::recursive_directory_iterator it(root + "/zip/out", ignored), end;
    for (; it != end; it.increment(ignored)) {
        fs::file_status status = it->symlink_status(ignored);
        if (!fs::is_regular_file(status) && !fs::is_directory(status)) __builtin_trap();
    }
    return 0;
}
