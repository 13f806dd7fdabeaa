// A plain text file of lines read by byte offset: opened on first use, never loaded whole,
// searched by bisection when its lines are sorted by key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "words/Log.h"

namespace pagly::words {

class LineFile {
  public:
    // Longer lines are taken for damage (WordNet's longest is about 13 KB).
    static constexpr size_t kMaxLine = 64 * 1024;

    explicit LineFile(std::string path);
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    const std::string& path() const { return path_; }
    // Opens the file if it is not open yet; false when it cannot be read.
    bool open();
    uint64_t size() const { return size_; }

    // Up to `length` bytes at `offset` (fewer at the end of the file).
    bool readAt(uint64_t offset, size_t length, std::string& out);
    // The line that starts at `offset`, without its newline.
    bool lineAt(uint64_t offset, std::string& line, Trouble& trouble);
    // Every line (at most `limit`) whose key, the bytes before the first `separator`, equals
    // `key`; with `fold` keys compare without ASCII case. The lines must be sorted by key
    // the same way; an unsorted file finds less, never loops.
    std::vector<std::string> findLines(const std::string& key, char separator, bool fold,
                                       size_t limit, Trouble& trouble);

  private:
    // The offset of the first line that starts at or after `pos`, or size() if none.
    bool lineStartAtOrAfter(uint64_t pos, uint64_t& start, Trouble& trouble);

    // A few recently read pages: a bisection reads the same top pages for every key.
    struct Page {
        uint64_t index = UINT64_MAX;
        uint64_t lastUse = 0;
        std::string bytes;
    };
    const std::string* page(uint64_t index);

    std::string path_;
    std::vector<Page> pages_;
    uint64_t uses_ = 0;
    int fd_ = -1;
    bool tried_ = false;
    uint64_t size_ = 0;
};

// Compares two keys bytewise, optionally without ASCII case.
int compareKeys(const std::string& a, const std::string& b, bool fold);

}  // namespace pagly::words
