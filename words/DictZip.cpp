#include "words/DictZip.h"

#include <zlib.h>

namespace pagly::words {
namespace {

constexpr unsigned char kFlagHeaderCrc = 2, kFlagExtra = 4, kFlagName = 8, kFlagComment = 16;

unsigned little16(const std::string& s, size_t at) {
    return unsigned(static_cast<unsigned char>(s[at])) |
           unsigned(static_cast<unsigned char>(s[at + 1])) << 8;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

DictZip::DictZip(std::string path) : file_(std::move(path)) {}

bool DictZip::readHeader(std::string& why) {
    // The header with the largest possible table and names fits in this.
    std::string h;
    if (!file_.readAt(0, 10 + 2 + 65535 + 2 * 4096, h) || h.size() < 18) {
        why = "too short for a dictzip file";
        return false;
    }
    if (static_cast<unsigned char>(h[0]) != 0x1f || static_cast<unsigned char>(h[1]) != 0x8b ||
        h[2] != 8) {
        why = "not a gzip file";
        return false;
    }
    unsigned char flags = static_cast<unsigned char>(h[3]);
    size_t at = 10;
    std::vector<unsigned> sizes;
    if (flags & kFlagExtra) {
        size_t extraLength = little16(h, at);
        at += 2;
        size_t end = at + extraLength;
        if (end > h.size()) {
            why = "a cut header";
            return false;
        }
        while (at + 4 <= end) {
            size_t fieldLength = little16(h, at + 2);
            size_t body = at + 4;
            if (body + fieldLength > end) break;
            if (h[at] == 'R' && h[at + 1] == 'A' && fieldLength >= 6) {
                unsigned version = little16(h, body), length = little16(h, body + 2),
                         count = little16(h, body + 4);
                if (version == 1 && length > 0 && fieldLength >= 6 + 2 * size_t(count)) {
                    chunkLength_ = length;
                    for (unsigned i = 0; i < count; ++i)
                        sizes.push_back(little16(h, body + 6 + 2 * i));
                }
            }
            at = body + fieldLength;
        }
        at = end;
    }
    for (unsigned char flag : {kFlagName, kFlagComment}) {
        if (!(flags & flag)) continue;
        size_t zero = h.find('\0', at);
        if (zero == std::string::npos) {
            why = "a cut header";
            return false;
        }
        at = zero + 1;
    }
    if (flags & kFlagHeaderCrc) at += 2;
    if (chunkLength_ == 0 || sizes.empty()) {
        chunkLength_ = 0;
        return true;  // plain gzip: inflated whole
    }
    chunkStarts_.assign(1, at);
    for (unsigned size : sizes) chunkStarts_.push_back(chunkStarts_.back() + size);
    if (chunkStarts_.back() > file_.size()) {
        why = "cut short (its chunks end past the end of the file)";
        chunkLength_ = 0;
        chunkStarts_.clear();
        return false;
    }
    return true;
}

bool DictZip::prepare(Trouble& trouble) {
    if (kind_ == Kind::Unknown) {
        if (!file_.open()) {
            kind_ = Kind::Broken;
            broken_ = "cannot read " + file_.path();
        } else if (!endsWith(file_.path(), ".dz")) {
            kind_ = Kind::Plain;
        } else if (std::string why; !readHeader(why)) {
            kind_ = Kind::Broken;
            broken_ = file_.path() + ": " + why;
        } else if (chunkLength_ > 0) {
            kind_ = Kind::Chunked;
        } else if (!inflateWhole(why)) {
            kind_ = Kind::Broken;
            broken_ = file_.path() + ": " + why;
        } else {
            kind_ = Kind::Whole;
        }
    }
    if (kind_ == Kind::Broken) trouble.note(broken_);
    return kind_ != Kind::Broken;
}

bool DictZip::inflateWhole(std::string& why) {
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) {
        why = "cannot inflate";
        return false;
    }
    std::string in, out(64 * 1024, '\0');
    uint64_t at = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (!file_.readAt(at, 64 * 1024, in) || in.empty()) break;
            at += in.size();
            z.next_in = reinterpret_cast<Bytef*>(&in[0]);
            z.avail_in = uInt(in.size());
        }
        z.next_out = reinterpret_cast<Bytef*>(&out[0]);
        z.avail_out = uInt(out.size());
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) break;
        whole_.append(out, 0, out.size() - z.avail_out);
        if (whole_.size() > kMaxWhole) {
            rc = Z_MEM_ERROR;
            break;
        }
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END) {
        why = whole_.size() > kMaxWhole ? "too large to inflate whole" : "corrupt compressed data";
        whole_.clear();
        whole_.shrink_to_fit();
        return false;
    }
    return true;
}

bool DictZip::inflateChunk(size_t index, std::string& out, Trouble& trouble) {
    if (index == cachedChunk_) {
        out = cachedText_;
        return true;
    }
    std::string in;
    uint64_t start = chunkStarts_[index], size = chunkStarts_[index + 1] - start;
    if (!file_.readAt(start, size_t(size), in) || in.size() != size) {
        trouble.note(file_.path() + ": cut short");
        return false;
    }
    out.assign(chunkLength_ + 1, '\0');  // one byte spare tells an overlong chunk
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        trouble.note(file_.path() + ": cannot inflate");
        return false;
    }
    z.next_in = reinterpret_cast<Bytef*>(in.data());
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = uInt(out.size());
    int rc = inflate(&z, Z_SYNC_FLUSH);
    size_t produced = out.size() - z.avail_out;
    inflateEnd(&z);
    bool last = index + 2 == chunkStarts_.size();
    if ((rc != Z_OK && rc != Z_STREAM_END) || produced > chunkLength_ ||
        (!last && produced != chunkLength_)) {
        trouble.note(file_.path() + ": corrupt chunk " + std::to_string(index));
        cachedChunk_ = SIZE_MAX;
        return false;
    }
    out.resize(produced);
    cachedChunk_ = index;
    cachedText_ = out;
    return true;
}

bool DictZip::read(uint64_t offset, size_t length, std::string& out, Trouble& trouble) {
    out.clear();
    if (!prepare(trouble)) return false;
    if (length > kMaxEntry) {
        trouble.note(file_.path() + ": an entry of " + std::to_string(length) + " bytes");
        return false;
    }
    if (length == 0) return true;
    auto pastEnd = [&] {
        trouble.note(file_.path() + ": offset " + std::to_string(offset) + " is past the end");
        return false;
    };
    if (kind_ == Kind::Plain) {
        if (offset >= file_.size() || length > file_.size() - offset) return pastEnd();
        return file_.readAt(offset, length, out) && out.size() == length;
    }
    if (kind_ == Kind::Whole) {
        if (offset >= whole_.size() || length > whole_.size() - offset) return pastEnd();
        out = whole_.substr(size_t(offset), length);
        return true;
    }
    size_t chunks = chunkStarts_.size() - 1;
    uint64_t first = offset / chunkLength_, last = (offset + length - 1) / chunkLength_;
    if (first >= chunks || last >= chunks) return pastEnd();
    std::string text;
    for (uint64_t i = first; i <= last; ++i) {
        if (!inflateChunk(size_t(i), text, trouble)) return false;
        size_t from = i == first ? size_t(offset % chunkLength_) : 0;
        if (from > text.size()) return pastEnd();
        out.append(text, from, length - out.size());
    }
    if (out.size() != length) return pastEnd();
    return true;
}

}  // namespace pagly::words
