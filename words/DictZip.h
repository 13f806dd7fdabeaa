// The text of a dictd dictionary, read by its uncompressed offsets. A dictzip file is gzip
// with a random-access table in its header: the text is cut into chunks of equal length, each
// compressed on its own, so a look-up inflates only the chunks it needs. A gzip file without
// that table is inflated whole once (up to a limit); a plain ".dict" file is read directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "words/LineFile.h"
#include "words/Log.h"

namespace pagly::words {

class DictZip {
  public:
    // An entry longer than this is taken for a bad offset.
    static constexpr size_t kMaxEntry = 1 << 20;
    // A file without the random-access table is inflated whole only up to this size (the
    // largest FreeDict text, English-German, is 80 MB).
    static constexpr uint64_t kMaxWhole = 128ull << 20;

    explicit DictZip(std::string path);

    const std::string& path() const { return file_.path(); }
    // The `length` bytes of text at `offset`; false (with the reason noted) when the file is
    // missing or damaged or the range lies outside the text.
    bool read(uint64_t offset, size_t length, std::string& out, Trouble& trouble);
    // Whether the file has a usable random-access table (after the first read).
    bool randomAccess() const { return chunkLength_ > 0; }

  private:
    enum class Kind { Unknown, Plain, Chunked, Whole, Broken };
    bool prepare(Trouble& trouble);
    bool readHeader(std::string& why);
    bool inflateChunk(size_t index, std::string& out, Trouble& trouble);
    bool inflateWhole(std::string& why);

    LineFile file_;
    Kind kind_ = Kind::Unknown;
    std::string broken_;  // why the file cannot be read
    size_t chunkLength_ = 0;
    std::vector<uint64_t> chunkStarts_;  // compressed offsets; one more than the chunks
    std::string whole_;
    // The last chunk inflated: look-ups of one word read neighbouring entries.
    size_t cachedChunk_ = SIZE_MAX;
    std::string cachedText_;
};

}  // namespace pagly::words
