#include "app/BookNames.h"

// The one-shot digest is marked deprecated in OpenSSL 3 in favour of the EVP interface, which
// starts OpenSSL's provider machinery (its configuration file and about 2 MB of touched pages)
// for what here is a 16-byte digest of a short name.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>

#include <cstdio>

namespace pagly {

namespace {

const char* prefix(int page, const char* withZero, const char* plain) {
    return page < 10 ? withZero : plain;
}

std::string format(const char* fmt, const char* a, int b, int c) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

std::string format(const char* fmt, const char* a, int b) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

}  // namespace

std::string pageDocumentPath(int page) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s%s%s%s%d%s", "lessonbundle", "/", "lessonbundle", "_", page,
                  ".json");
    return buf;
}

std::string sentenceButtonName(int page, int index) {
    return format("%s%d%d", prefix(page, "bn0", "bn"), page, index);
}

int sentenceNumber(int page, int index) {
    return index < 10 ? page * 10 + index : page * 100 + index;
}

int sentenceIndexFromNumber(int page, int number) {
    int c = number - 10 * page;
    return c <= 30 ? c : number - 100 * page;
}

std::string captionKey(int page, int index) {
    return format("%s%d%d", prefix(page, "str0", "str"), page, index);
}

std::string captionKeyForNumber(int page, int number) {
    return format("%s%d", prefix(page, "str0", "str"), number);
}

std::string recordingName(int page, int index) {
    return format("%s%d%d.mp3", prefix(page, "mc0", "mc"), page, index);
}

std::string recordingNameForNumber(int page, int number) {
    return format("%s%d.mp3", prefix(page, "mc0", "mc"), number);
}

std::string recordingPath(int page, int index) {
    return recordingPathForName(recordingName(page, index));
}

std::string recordingPathForName(const std::string& name) { return "epc/" + md5Hex(name) + ".mp3"; }

std::string md5Hex(const std::string& bytes) {
    unsigned char digest[MD5_DIGEST_LENGTH];
    const unsigned int length = MD5_DIGEST_LENGTH;
    if (!MD5(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest)) return "";
    return hexDigits(digest, length);
}

std::string hexDigits(const unsigned char* bytes, size_t count) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        out.push_back(hex[bytes[i] >> 4]);
        out.push_back(hex[bytes[i] & 0x0f]);
    }
    return out;
}

}  // namespace pagly
