// libFuzzer target: arbitrary bytes as a page document of the sample book, checked by
// pagly-check's checker together with the rest of that book (the other files are links to
// the sample book's). A crash, a hang, a leak or an engine object left alive is a finding;
// keep each finding's input under fuzz/regressions/bookcheck/.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/base/CCObject.h"
#include "fuzz/ScratchFolder.h"
#include "tools/pagly-check/BookChecker.h"

namespace fs = std::filesystem;

namespace {
void quiet(const char*) {}
std::string g_book;
const char* const kPage = "lessonbundle/lessonbundle_2.json";
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pagly::engine::CCSetLogSink(quiet);
    g_book = pagly::fuzz::scratchFolder() + "/book";
    std::error_code ignored;
    fs::create_directories(g_book + "/lessonbundle", ignored);
    for (const fs::directory_entry& entry : fs::directory_iterator(PAGLY_FUZZ_BOOK)) {
        std::string name = entry.path().filename();
        if (name != "lessonbundle") fs::create_symlink(entry.path(), g_book + "/" + name, ignored);
    }
    for (const fs::directory_entry& entry :
         fs::directory_iterator(std::string(PAGLY_FUZZ_BOOK) + "/lessonbundle")) {
        fs::create_symlink(entry.path(),
                           g_book + "/lessonbundle/" + entry.path().filename().string(), ignored);
    }
    fs::remove(g_book + "/" + kPage, ignored);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    long baseline = pagly::engine::CCObject::liveObjectCount();
    pagly::fuzz::writeScratchFile(std::string("book/") + kPage, data, size);
    pagly::CheckOptions options;
    options.firstPage = 2;
    options.lastPage = 2;
    pagly::CheckReport report = pagly::BookChecker(g_book, options).run();
    for (const pagly::Problem& problem : report.problems) {
        if (problem.file.empty() || problem.message.empty()) {
            fprintf(stderr, "a finding without a file or a message: \"%s\"\n",
                    problem.line().c_str());
            abort();
        }
    }
    if (pagly::engine::CCObject::liveObjectCount() != baseline) {
        fprintf(stderr, "engine objects leaked while checking this page\n");
        abort();
    }
    return 0;
}
