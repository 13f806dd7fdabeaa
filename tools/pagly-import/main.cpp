// pagly-import: converts a book from elsewhere (a Bloom .bloompub, an EPUB 3 with read-aloud
// recordings, or the unpacked folder of either) into a pagly book folder.
//
// What the reader and scripts rely on: stdout has one line "page N of M" per finished page;
// stderr has one line "cannot use <file>: <reason>" per part of the book left out, and when
// the book is refused, a last line "cannot convert <file>: <reason>". Exit status 0 when the
// folder is written, 1 when the book is refused, 2 on bad usage.
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/import/FileTree.h"
#include "tools/import/HeadlessBrowser.h"
#include "tools/import/Importer.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: pagly-import [--chrome BOOK_FOLDER] FILE [FOLDER]\n"
                 "Converts FILE (a .bloompub or .epub, or the unpacked folder of one) into the\n"
                 "pagly book folder FOLDER (default: FILE's name without extension, here).\n"
                 "An existing FOLDER is replaced only when pagly-import wrote it and nothing\n"
                 "in it changed since. A conversion keeps to a budget of time, pages and\n"
                 "disk that grows with the book, and the browser never reaches the network.\n"
                 "--chrome: the book whose controls, texts and fonts the new book takes\n"
                 "(default: the reader's own book).\n");
    return 2;
}

void onSignal(int) { pagly::import::requestCancel(); }

}  // namespace

int main(int argc, char** argv) {
    using namespace pagly::import;
    WriteOptions options;
    std::string source, folder;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--chrome" && i + 1 < argc) {
            options.chromeFolder = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else if (source.empty()) {
            source = arg;
        } else if (folder.empty()) {
            folder = arg;
        } else {
            return usage();
        }
    }
    if (source.empty()) return usage();
    if (folder.empty()) folder = defaultFolderFor(source);

    // A stopped conversion cleans up after itself: the browser goes, the unfinished folder too.
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    options.progress = [](int done, int total) {
        std::printf("page %d of %d\n", done, total);
        std::fflush(stdout);
    };
    options.problem = [](const ImportProblem& problem) {
        std::fprintf(stderr, "%s\n", describe(problem).c_str());
        std::fflush(stderr);
    };
    std::string why;
    if (importBook(source, folder, options, why) != ImportResult::Written) {
        std::fprintf(stderr, "cannot convert %s: %s\n", printable(source).c_str(),
                     printable(why).c_str());
        return 1;
    }
    return 0;
}
