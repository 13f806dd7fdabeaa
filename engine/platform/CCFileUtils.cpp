#include "engine/platform/CCFileUtils.h"

#include <SDL.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#ifndef PAGLY_SOURCE_BOOK_DIR
#define PAGLY_SOURCE_BOOK_DIR "book"
#endif

namespace pagly::engine {

namespace {
bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

CCFileUtils* CCFileUtils::sharedFileUtils() {
    static CCFileUtils instance;
    return &instance;
}

CCFileUtils::CCFileUtils() {
    // An installed reader finds its book from the executable; a build tree uses the source's.
    std::string root = PAGLY_SOURCE_BOOK_DIR;
    bool shared = false;
    if (char* base = SDL_GetBasePath()) {
        std::string folder = base;
        SDL_free(base);
        std::vector<std::string> installed = installedBookFolders(folder);
        for (size_t i = 0; i < installed.size(); ++i) {
            if (isDirectory(installed[i])) {
                root = installed[i];
                shared = i == installed.size() - 1;  // ../share/pagly/book: a package's data
                break;
            }
        }
    }
    setResourceRoot(root, shared);
}

std::vector<std::string> CCFileUtils::installedBookFolders(const std::string& executableFolder) {
    std::string folder = executableFolder;
    if (folder.empty()) return {};
    if (folder.back() != '/') folder += '/';
    return {folder + "book", folder + "../share/pagly/book"};
}

void CCFileUtils::setResourceRoot(const std::string& root, bool shared) {
    m_root = root;
    m_rootShared = shared;
    if (!m_root.empty() && m_root.back() != '/') m_root += '/';
}

bool CCFileUtils::isFileExist(const std::string& path) const {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string CCFileUtils::fullPathForFilename(const char* filename) const {
    if (!filename || !*filename) return std::string();
    std::string name(filename);
    if (isAbsolutePath(name)) return name;
    std::string inRoot = m_root + name;
    if (isFileExist(inRoot)) return inRoot;
    return name;
}

bool CCFileUtils::readFile(const std::string& fullPath, std::string& out) const {
    out.clear();
    if (!isFileExist(fullPath)) return false;
    FILE* f = fopen(fullPath.c_str(), "rb");
    if (!f) return false;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) out.append(buffer, n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

std::string CCFileUtils::getFileData(const char* filename, bool* ok) const {
    std::string out;
    bool read = filename && readFile(fullPathForFilename(filename), out);
    if (ok) *ok = read;
    return out;
}

std::string CCFileUtils::getWritablePath() const {
    std::string base;
    if (const char* xdg = getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else {
        base = "/tmp";
    }
    std::string path = base + "/pagly/";
    // Create each level; failures show up when the caller tries to write.
    for (size_t i = 1; i < path.size(); ++i)
        if (path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
    return path;
}

}  // namespace pagly::engine
