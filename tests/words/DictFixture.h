// Small dictionaries made in a temporary folder, the way dictfmt and dictzip make them: a
// sorted dictd index over a dictzip text cut into chunks that each inflate on their own.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pagly::words::testing {

// A folder removed with everything in it when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string write(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

// dictd's base-64 numbers.
std::string dictdNumber(uint64_t value);
// A dictzip file of `text`: chunks of `chunkLength` bytes, each ending in a full flush, with
// the random-access table in the gzip header (or a plain gzip file without it).
std::string dictzip(const std::string& text, size_t chunkLength, bool withTable = true);
// Inflates a whole gzip file.
std::string gunzip(const std::string& bytes);

struct FixtureEntry {
    std::string headword;
    std::string body;  // the lines after the headword line
};

// The text and the sorted index of a dictionary of these entries.
std::pair<std::string, std::string> dictdFiles(std::vector<FixtureEntry> entries);

std::string readFile(const std::string& path);

}  // namespace pagly::words::testing
