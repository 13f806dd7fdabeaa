#include "words/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace pagly::words {
namespace {
constexpr size_t kBlock = 4096;
// Lines are short: scans read this much at a time.
constexpr size_t kScan = 512;

char foldByte(char c, bool fold) { return fold && c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
}  // namespace

int compareKeys(const std::string& a, const std::string& b, bool fold) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = foldByte(a[i], fold), y = foldByte(b[i], fold);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

LineFile::LineFile(std::string path) : path_(std::move(path)) {}

LineFile::~LineFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool LineFile::open() {
    if (tried_) return fd_ >= 0;
    tried_ = true;
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    size_ = uint64_t(st.st_size);
    return true;
}

const std::string* LineFile::page(uint64_t index) {
    constexpr size_t kPages = 32;
    Page* slot = nullptr;
    for (Page& p : pages_) {
        if (p.index == index) {
            p.lastUse = ++uses_;
            return &p.bytes;
        }
        if (!slot || p.lastUse < slot->lastUse) slot = &p;
    }
    if (pages_.size() < kPages) {
        pages_.emplace_back();
        slot = &pages_.back();
    }
    uint64_t offset = index * kBlock;
    size_t length = size_t(std::min<uint64_t>(kBlock, size_ - offset));
    slot->index = UINT64_MAX;
    slot->bytes.resize(length);
    size_t done = 0;
    while (done < length) {
        ssize_t got = ::pread(fd_, &slot->bytes[done], length - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return nullptr;
        done += size_t(got);
    }
    slot->index = index;
    slot->lastUse = ++uses_;
    return &slot->bytes;
}

bool LineFile::readAt(uint64_t offset, size_t length, std::string& out) {
    out.clear();
    if (!open()) return false;
    if (offset >= size_) return true;
    if (length > size_ - offset) length = size_t(size_ - offset);
    out.reserve(length);
    while (out.size() < length) {
        uint64_t at = offset + out.size();
        const std::string* bytes = page(at / kBlock);
        if (!bytes) return false;
        size_t from = size_t(at % kBlock);
        if (from >= bytes->size()) return false;  // the file shrank
        out.append(*bytes, from, std::min(length - out.size(), bytes->size() - from));
    }
    return true;
}

bool LineFile::lineAt(uint64_t offset, std::string& line, Trouble& trouble) {
    line.clear();
    if (!open()) {
        trouble.note("cannot read " + path_);
        return false;
    }
    if (offset >= size_) {
        trouble.note(path_ + ": offset " + std::to_string(offset) + " is past the end");
        return false;
    }
    std::string block;
    for (uint64_t at = offset; at < size_; at += kScan) {
        if (!readAt(at, kScan, block)) {
            trouble.note("cannot read " + path_);
            return false;
        }
        size_t nl = block.find('\n');
        line.append(block, 0, nl);
        if (line.size() > kMaxLine) {
            trouble.note(path_ + ": a line at offset " + std::to_string(offset) + " is too long");
            line.clear();
            return false;
        }
        if (nl != std::string::npos) break;
    }
    return true;
}

bool LineFile::lineStartAtOrAfter(uint64_t pos, uint64_t& start, Trouble& trouble) {
    if (pos == 0) {
        start = 0;
        return true;
    }
    std::string block;
    uint64_t at = pos - 1;
    while (at < size_) {
        if (at - (pos - 1) > kMaxLine) {
            trouble.note(path_ + ": no line break near offset " + std::to_string(pos));
            return false;
        }
        if (!readAt(at, kScan, block)) {
            trouble.note("cannot read " + path_);
            return false;
        }
        size_t nl = block.find('\n');
        if (nl != std::string::npos) {
            start = at + nl + 1;
            return true;
        }
        at += block.size();
    }
    start = size_;
    return true;
}

std::vector<std::string> LineFile::findLines(const std::string& key, char separator, bool fold,
                                             size_t limit, Trouble& trouble) {
    std::vector<std::string> found;
    if (!open()) {
        trouble.note("cannot read " + path_);
        return found;
    }
    auto keyOf = [separator](const std::string& line) {
        return line.substr(0, line.find(separator));
    };
    // Lines starting before lo have smaller keys; lines starting at or after hi do not.
    uint64_t lo = 0, hi = size_;
    std::string line;
    while (lo < hi) {
        uint64_t mid = lo + (hi - lo) / 2, start = 0;
        if (!lineStartAtOrAfter(mid, start, trouble)) return found;
        if (start >= hi) {
            hi = mid;
            continue;
        }
        if (!lineAt(start, line, trouble)) return found;
        if (compareKeys(keyOf(line), key, fold) < 0)
            lo = start + line.size() + 1;
        else
            hi = mid;
    }
    uint64_t at = 0;
    if (!lineStartAtOrAfter(lo, at, trouble)) return found;
    while (at < size_ && found.size() < limit) {
        if (!lineAt(at, line, trouble)) break;
        if (compareKeys(keyOf(line), key, fold) != 0) break;
        at += line.size() + 1;
        found.push_back(std::move(line));
    }
    return found;
}

}  // namespace pagly::words
