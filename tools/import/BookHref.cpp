#include "tools/import/BookHref.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cctype>
#include <filesystem>

namespace pagly::import {

namespace fs = std::filesystem;

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool inside(const fs::path& folder, const fs::path& path) {
    auto f = folder.begin();
    auto p = path.begin();
    for (; f != folder.end(); ++f, ++p) {
        if (f->empty()) continue;  // a trailing separator
        if (p == path.end() || *f != *p) return false;
    }
    return p != path.end();
}

}  // namespace

std::string percentDecoded(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int hi = hexValue(text[i + 1]);
            int lo = hexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0 && (hi || lo)) {
                out += char(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void splitFragment(const std::string& href, std::string& file, std::string& fragment) {
    std::size_t hash = href.find('#');
    file = href.substr(0, hash);
    fragment = hash == std::string::npos ? "" : href.substr(hash + 1);
}

std::string resolveHref(const std::string& bookFolder, const std::string& baseFolder,
                        const std::string& href, std::string& why) {
    why.clear();
    std::string file = href.substr(0, href.find_first_of("#?"));
    // A scheme ("http:", "file:", "data:") before any '/': not a file of the book.
    std::size_t colon = file.find(':');
    if (colon != std::string::npos && file.find('/') > colon) {
        why = "links to \"" + href + "\", which is not a file of the book";
        return "";
    }
    file = percentDecoded(file);
    if (file.empty()) {
        why = "has an empty link";
        return "";
    }
    if (file[0] == '/') {
        why = "links to the absolute path \"" + file + "\", outside the book";
        return "";
    }
    fs::path book = fs::path(bookFolder).lexically_normal();
    fs::path path = (fs::path(baseFolder) / file).lexically_normal();
    if (!inside(book, path)) {
        why = "links to \"" + href + "\", outside the book's folder";
        return "";
    }
    // The book's own folders may hold links (an unpacked folder the user gave): follow
    // them and look again.
    std::error_code ec;
    fs::path real = fs::weakly_canonical(path, ec);
    fs::path realBook = fs::weakly_canonical(book, ec);
    if (!ec && !inside(realBook, real)) {
        why = "links to \"" + href + "\", which leads outside the book's folder";
        return "";
    }
    return path.string();
}

const char* const kLeadsOutside = "it is a link to a file outside the book; it is not read";

bool staysInBook(const std::string& bookFolder, const std::string& path) {
    char root[PATH_MAX], file[PATH_MAX];
    if (!realpath(bookFolder.c_str(), root)) return false;
    if (!realpath(path.c_str(), file)) {
        struct stat st;
        return lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode);  // a dangling link is not
    }
    return inside(fs::path(root), fs::path(file));
}

std::string bookRelative(const std::string& bookFolder, const std::string& path) {
    fs::path relative = fs::path(path).lexically_relative(bookFolder);
    if (relative.empty() || *relative.begin() == "..") return path;
    return relative.generic_string();
}

}  // namespace pagly::import
