// Folder chores of the importer (see FileTree.h).
#include "tools/import/FileTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace pagly::import {

std::string makeTemporaryFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

std::string makeSiblingFolder(const std::string& target) {
    std::string clean = target;
    while (clean.size() > 1 && clean.back() == '/') clean.pop_back();
    // A leading dot keeps it out of the way; the name says what it is if a crash leaves it.
    size_t slash = clean.rfind('/');
    std::string parent = slash == std::string::npos ? "." : clean.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? clean : clean.substr(slash + 1);
    std::string pattern =
        parent + (parent.back() == '/' ? "" : "/") + "." + name + ".pagly-import-unfinished-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

void removeTree(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* dir = opendir(path.c_str())) {
            while (dirent* entry = readdir(dir)) {
                if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
                removeTree(path + "/" + entry->d_name);
            }
            closedir(dir);
        }
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool makeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && isFolder(path));
}

bool writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool readFile(const std::string& path, std::string& bytes, size_t largest) {
    bytes.clear();
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (size_t)st.st_size > largest)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream out;
    out << in.rdbuf();
    bytes = out.str();
    return true;
}

bool copyTree(const std::string& from, const std::string& to, const std::vector<std::string>& skip,
              std::string& why) {
    if (!makeFolder(to)) return why = "cannot make " + to, false;
    DIR* dir = opendir(from.c_str());
    if (!dir) return why = "cannot read " + from, false;
    bool ok = true;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool skipped = false;
        for (const std::string& s : skip) skipped = skipped || s == name;
        if (skipped) continue;
        std::string source = from + "/" + name, copy = to + "/" + name;
        struct stat st;
        if (lstat(source.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            ok = copyTree(source, copy, {}, why) && ok;
        } else if (S_ISREG(st.st_mode)) {
            std::string bytes;
            if (!readFile(source, bytes, 256u << 20) || !writeFile(copy, bytes)) {
                why = "cannot copy " + source;
                ok = false;
            }
        }
    }
    closedir(dir);
    return ok;
}

bool putInPlace(const std::string& ready, const std::string& target, std::string& why) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0) {
        if (rename(ready.c_str(), target.c_str()) == 0) return true;
        return why = "cannot rename " + ready + " to " + target + ": " + std::strerror(errno),
               false;
    }
    // Swapped in one step: whoever opens the target sees the old book or the new, never a mix.
    if (renameat2(AT_FDCWD, ready.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0)
        return why = "cannot replace " + target + ": " + std::strerror(errno), false;
    removeTree(ready);  // now the old book
    return true;
}

std::string stemOf(const std::string& path) {
    std::string clean = path;
    while (clean.size() > 1 && clean.back() == '/') clean.pop_back();
    size_t slash = clean.rfind('/');
    std::string name = slash == std::string::npos ? clean : clean.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string absolutePath(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) full = std::string(cwd) + "/" + path;
    }
    std::vector<std::string> parts;
    std::stringstream in(full);
    std::string part;
    while (std::getline(in, part, '/')) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string& p : parts) out += "/" + p;
    return out.empty() ? "/" : out;
}

}  // namespace pagly::import
