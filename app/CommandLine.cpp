#include "app/CommandLine.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "app/TextTable.h"

#ifndef PAGLY_VERSION
#define PAGLY_VERSION "unknown"
#endif
#ifndef PAGLY_SOURCE_README
#define PAGLY_SOURCE_README "README.md"
#endif

namespace pagly {

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i] ? argv[i] : "";
        if (!optionsEnded && (!strcmp(arg, "-h") || !strcmp(arg, "--help"))) {
            line.action = CommandLine::Help;
            return line;
        }
        if (!optionsEnded && !strcmp(arg, "--version")) {
            line.action = CommandLine::Version;
            return line;
        }
        if (!optionsEnded && !strcmp(arg, "--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
            line.action = CommandLine::Error;
            line.error = std::string("unknown option ") + arg;
            return line;
        }
        if (!*arg || !line.bookDir.empty()) {
            line.action = CommandLine::Error;
            line.error = *arg ? "one book at a time" : "an empty book name";
            return line;
        }
        line.bookDir = arg;
    }
    return line;
}

std::string usageText() {
    return "usage: pagly [BOOK]\n"
           "Opens the talking textbook BOOK, or the bundled sample book. BOOK is a book folder,\n"
           "a Bloom book (.bloompub) or an EPUB 3 book (.epub), packed or unpacked; a book from\n"
           "elsewhere is converted on its first open (with pagly-import) into\n"
           "$XDG_CACHE_HOME/pagly/books, and later opens read it from there.\n"
           "  -h, --help  show this text\n"
           "  --version   show the version\n"
           "  --          take what follows as the book, even if it begins with -\n";
}

std::string versionText() { return std::string("pagly ") + PAGLY_VERSION + "\n"; }

std::string keyTableFile(const std::string& executableFolder) {
    std::vector<std::string> candidates;
    if (!executableFolder.empty()) {
        std::string folder = executableFolder;
        if (folder.back() != '/') folder += '/';
        candidates.push_back(folder + "../share/doc/pagly/README.md");
    }
    candidates.push_back(PAGLY_SOURCE_README);
    for (const std::string& path : candidates) {
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        // /usr/share/doc/pagly/README.md reads better than /usr/bin/../share/doc/...
        char* canonical = realpath(path.c_str(), nullptr);
        std::string shown = canonical ? canonical : path;
        free(canonical);
        return shown;
    }
    return "";
}

std::string bookFolderProblem(const std::string& dir) {
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return dir + " is not a folder";
    std::string table = dir + (dir.back() == '/' ? "" : "/") + kInterfaceTexts;
    if (stat(table.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return dir + " holds no book (" + kInterfaceTexts + " is missing)";
    return "";
}

namespace {
// `inner` is `outer` or lies inside it (both canonical).
bool within(const std::string& inner, const std::string& outer) {
    if (outer.empty() || inner.size() < outer.size()) return false;
    if (inner.compare(0, outer.size(), outer) != 0) return false;
    return inner.size() == outer.size() || outer.back() == '/' || inner[outer.size()] == '/';
}
}  // namespace

bool isInInstalledShareFolder(const std::string& dir, const std::string& readerPath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string book = fs::canonical(dir, ec).string();
    if (ec || book.empty()) return false;
    std::vector<fs::path> shares;
    fs::path reader = fs::canonical(readerPath, ec);
    if (!ec) shares.push_back(reader.parent_path() / ".." / "share");
    const char* dataDirs = getenv("XDG_DATA_DIRS");
    std::istringstream list(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share");
    for (std::string entry; std::getline(list, entry, ':');)
        if (!entry.empty() && entry[0] == '/') shares.push_back(entry);
    for (const fs::path& share : shares) {
        std::string folder = fs::canonical(share, ec).string();
        if (!ec && within(book, folder)) return true;
    }
    return false;
}

}  // namespace pagly
