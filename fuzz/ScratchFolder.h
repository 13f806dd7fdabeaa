#pragma once

// A private folder under $TMPDIR for fuzz targets that must hand their input to a reader as a
// file. Made once per process; removed at exit (libFuzzer ends the process without a tear-down).

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace pagly::fuzz {

inline std::string& scratchFolderPath() {
    static std::string path;
    return path;
}

inline void removeScratchFolder() {
    std::error_code ignored;
    if (!scratchFolderPath().empty()) std::filesystem::remove_all(scratchFolderPath(), ignored);
    scratchFolderPath().clear();
}

inline const std::string& scratchFolder() {
    std::string& path = scratchFolderPath();
    if (path.empty()) {
        std::string base = (getenv("TMPDIR") && *getenv("TMPDIR")) ? getenv("TMPDIR") : "/tmp";
        std::string pattern = base + "/pagly-fuzz-XXXXXX";
        char* dir = mkdtemp(&pattern[0]);
        path = dir ? dir : base;
        atexit(removeScratchFolder);
    }
    return path;
}

// Writes the input to `name` inside the scratch folder and returns its full path.
inline std::string writeScratchFile(const std::string& name, const uint8_t* data, size_t size) {
    std::string path = scratchFolder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    return path;
}

}  // namespace pagly::fuzz
