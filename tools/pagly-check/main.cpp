// pagly-check: checks a book folder before it ships. One line per problem; exit status 1 when
// there is an error, 0 when there are only warnings (gaps the reader copes with).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/base/CCObject.h"
#include "tools/pagly-check/BookChecker.h"

namespace {

// The engine's own log lines would repeat what the checker reports in its words.
void quiet(const char*) {}

int usage() {
    std::fprintf(stderr,
                 "usage: pagly-check [--pages FIRST-LAST] <book folder>\n"
                 "Checks the book's page documents (2..77 for the course book, the pages its\n"
                 "book.json lists for a book that describes itself, or FIRST..LAST within\n"
                 "1..9999), the settings document, the images, sheets, fonts, captions and\n"
                 "recordings they use, and the text tables.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    pagly::CheckOptions options;
    const char* dir = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pages") == 0 && i + 1 < argc) {
            int first = 0, last = 0;
            if (std::sscanf(argv[++i], "%d-%d", &first, &last) != 2 || first > last) return usage();
            options.firstPage = first;
            options.lastPage = last;
        } else if (argv[i][0] == '-' || dir) {
            return usage();
        } else {
            dir = argv[i];
        }
    }
    if (!dir) return usage();
    pagly::engine::CCSetLogSink(quiet);
    pagly::CheckReport report = pagly::BookChecker(dir, options).run();
    for (const pagly::Problem& p : report.problems) std::printf("%s\n", p.line().c_str());
    std::printf("pagly-check: %s: %d error%s, %d warning%s\n", dir, report.errors(),
                report.errors() == 1 ? "" : "s", report.warnings(),
                report.warnings() == 1 ? "" : "s");
    return report.errors() ? 1 : 0;
}
