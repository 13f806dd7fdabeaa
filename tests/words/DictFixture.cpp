#include "DictFixture.h"

#include <stdlib.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace pagly::words::testing {

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/pagly-words-XXXXXX";
    if (!mkdtemp(&pattern[0])) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::string path = path_ + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string dictdNumber(uint64_t value) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s;
    do {
        s.insert(s.begin(), kDigits[value % 64]);
        value /= 64;
    } while (value);
    return s;
}

namespace {
void put16(std::string& s, unsigned v) {
    s += char(v & 0xff);
    s += char((v >> 8) & 0xff);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}
}  // namespace

std::string dictzip(const std::string& text, size_t chunkLength, bool withTable) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string body;
    std::vector<unsigned> sizes;
    for (size_t at = 0; at < text.size(); at += chunkLength) {
        std::string in = text.substr(at, chunkLength);
        bool last = at + chunkLength >= text.size();
        z.next_in = reinterpret_cast<Bytef*>(&in[0]);
        z.avail_in = uInt(in.size());
        std::string out(deflateBound(&z, uLong(in.size())) + 64, '\0');
        z.next_out = reinterpret_cast<Bytef*>(&out[0]);
        z.avail_out = uInt(out.size());
        deflate(&z, last ? Z_FINISH : Z_FULL_FLUSH);
        out.resize(out.size() - z.avail_out);
        sizes.push_back(unsigned(out.size()));
        body += out;
    }
    deflateEnd(&z);
    std::string header = "\x1f\x8b\x08";
    header += char(withTable ? 4 : 0);  // FEXTRA
    put32(header, 0);
    header += '\x02';
    header += '\x03';
    if (withTable) {
        std::string field = "RA";
        put16(field, unsigned(6 + 2 * sizes.size()));
        put16(field, 1);
        put16(field, unsigned(chunkLength));
        put16(field, unsigned(sizes.size()));
        for (unsigned s : sizes) put16(field, s);
        put16(header, unsigned(field.size()));
        header += field;
    }
    std::string trailer;
    put32(trailer,
          uint32_t(crc32(0, reinterpret_cast<const Bytef*>(text.data()), uInt(text.size()))));
    put32(trailer, uint32_t(text.size()));
    return header + body + trailer;
}

std::string gunzip(const std::string& bytes) {
    z_stream z{};
    inflateInit2(&z, 16 + MAX_WBITS);
    std::string in = bytes, out, buffer(1 << 16, '\0');
    z.next_in = reinterpret_cast<Bytef*>(&in[0]);
    z.avail_in = uInt(in.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(&buffer[0]);
        z.avail_out = uInt(buffer.size());
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, 0, buffer.size() - z.avail_out);
    }
    inflateEnd(&z);
    return out;
}

std::pair<std::string, std::string> dictdFiles(std::vector<FixtureEntry> entries) {
    std::sort(entries.begin(), entries.end(),
              [](const FixtureEntry& a, const FixtureEntry& b) { return a.headword < b.headword; });
    std::string text, index;
    for (const FixtureEntry& e : entries) {
        std::string entry = e.headword + " /pron/\n" + e.body + "\n";
        index +=
            e.headword + "\t" + dictdNumber(text.size()) + "\t" + dictdNumber(entry.size()) + "\n";
        text += entry;
    }
    return {text, index};
}

}  // namespace pagly::words::testing
