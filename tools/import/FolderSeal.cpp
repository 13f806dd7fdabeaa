// The importer's seal on the folders it writes (see FolderSeal.h).
#include "tools/import/FolderSeal.h"

#include <dirent.h>
#include <fcntl.h>
#include <openssl/hmac.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/import/FileTree.h"

namespace pagly::import {

const char* const kImportMarker = ".pagly-import";

namespace {

const char* const kMarkerHeading = "pagly-import 2\n";

void listInto(const std::string& folder, const std::string& relative,
              std::vector<std::string>& lines) {
    std::string path = relative.empty() ? folder : folder + "/" + relative;
    DIR* dir = opendir(path.c_str());
    if (!dir) return;
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (relative.empty() && name == kImportMarker) continue;
        names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string child = relative.empty() ? name : relative + "/" + name;
        struct stat st;
        if (lstat((folder + "/" + child).c_str(), &st) != 0) continue;
        char kind = S_ISDIR(st.st_mode) ? 'd' : S_ISREG(st.st_mode) ? 'f' : 'o';
        lines.push_back(std::string(1, kind) + " " + std::to_string(st.st_size) + " " + child);
        if (S_ISDIR(st.st_mode)) listInto(folder, child, lines);
    }
}

std::string keyFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/pagly/import-key";
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return std::string(home) + "/.config/pagly/import-key";
    return "";
}

bool makeParents(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1))
        if (!makeFolder(file.substr(0, slash))) return false;
    return true;
}

// This user's key: 32 random bytes, made once, readable by the user only.
std::string userKey(bool make) {
    std::string path = keyFile(), key;
    if (path.empty()) return "";
    if (readFile(path, key, 4096) && key.size() >= 32) return key;
    if (!make || !makeParents(path)) return "";
    unsigned char bytes[32];
    if (getrandom(bytes, sizeof bytes, 0) != (ssize_t)sizeof bytes) return "";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        bool written = write(fd, bytes, sizeof bytes) == (ssize_t)sizeof bytes;
        if (close(fd) != 0 || !written) unlink(path.c_str());
    }
    // Made here, or by a conversion running beside this one a moment earlier.
    return readFile(path, key, 4096) && key.size() >= 32 ? key : std::string();
}

}  // namespace

std::string folderListing(const std::string& folder) {
    std::vector<std::string> lines;
    listInto(folder, "", lines);
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

std::string sealOf(const std::string& listing, bool makeKey) {
    std::string key = userKey(makeKey);
    if (key.empty()) return "";
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!HMAC(EVP_sha256(), key.data(), (int)key.size(), (const unsigned char*)listing.data(),
              listing.size(), digest, &length))
        return "";
    std::string hex;
    char two[3];
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        hex += two;
    }
    return hex;
}

bool sealFolder(const std::string& folder, const std::string& source) {
    std::string seal = sealOf(folderListing(folder), true);
    // Without a key the folder is still written; it is only never replaced later.
    std::string clean = source;
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    return writeFile(folder + "/" + kImportMarker, kMarkerHeading + clean + "\n" + seal + "\n");
}

bool hasValidSeal(const std::string& folder) {
    std::string text;
    if (!isFolder(folder) || !readFile(folder + "/" + kImportMarker, text, 65536)) return false;
    std::string heading = kMarkerHeading;
    if (text.compare(0, heading.size(), heading) != 0) return false;
    size_t sourceEnd = text.find('\n', heading.size());
    if (sourceEnd == std::string::npos) return false;
    size_t sealEnd = text.find('\n', sourceEnd + 1);
    std::string seal = text.substr(
        sourceEnd + 1, sealEnd == std::string::npos ? std::string::npos : sealEnd - sourceEnd - 1);
    if (seal.size() != 64) return false;
    return seal == sealOf(folderListing(folder), false);
}

}  // namespace pagly::import
