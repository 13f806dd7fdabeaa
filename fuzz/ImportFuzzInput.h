#pragma once

// Inputs of the importer's fuzz targets: one fuzz input holds several files of a book, each
// after a line "@@" (the first file needs none), written under a fresh book folder in the
// scratch folder. The names come from the target, never from the input, so a finding can
// only ever write where the target says.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/ScratchFolder.h"

namespace pagly::fuzz {

inline std::vector<std::string> splitParts(const uint8_t* data, size_t size, size_t most) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    const std::string separator = "\n@@\n";
    size_t from = 0;
    while (parts.size() + 1 < most) {
        size_t at = text.find(separator, from);
        if (at == std::string::npos) break;
        parts.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    parts.push_back(text.substr(from));
    return parts;
}

// A new, empty book folder `name` in the scratch folder (what the last input left is gone)
// holding the parts under `names`, in order; a name without a part is not written.
inline std::string writeBookParts(const std::string& name, const uint8_t* data, size_t size,
                                  const std::vector<std::string>& names) {
    std::string folder = scratchFolder() + "/" + name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::vector<std::string> parts = splitParts(data, size, names.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        std::filesystem::path path = std::filesystem::path(folder) / names[i];
        std::filesystem::create_directories(path.parent_path(), ignored);
        writeScratchFile(name + "/" + names[i], reinterpret_cast<const uint8_t*>(parts[i].data()),
                         parts[i].size());
    }
    return folder;
}

}  // namespace pagly::fuzz
