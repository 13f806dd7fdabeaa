// libFuzzer target: arbitrary bytes as a UI document file. A crash, a hang (libFuzzer's
// -timeout), a leak of engine objects or a node posed at NaN or infinity is a finding; keep each
// finding's input under fuzz/regressions/reader/ so the reader tests replay it.
#include <cstdio>
#include <cstdlib>

#include "engine/base/CCObject.h"
#include "fuzz/ReaderFuzzInput.h"

namespace {
void quiet(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reader's two error lines go to stdout; the fuzzer's report goes to stderr.
    if (!freopen("/dev/null", "w", stdout)) return 0;
    pagly::engine::CCSetLogSink(quiet);
    pagly::fuzz::setUp(PAGLY_FUZZ_FIXTURES);
    atexit(pagly::fuzz::removeFolder);  // libFuzzer ends the process without a tear-down
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    switch (pagly::fuzz::readDocument(data, size)) {
        case pagly::fuzz::Outcome::Clean:
            break;
        case pagly::fuzz::Outcome::Leaked:
            fprintf(stderr, "engine objects leaked while reading this input\n");
            abort();
        case pagly::fuzz::Outcome::NonFinitePose:
            fprintf(stderr, "a node was posed at NaN or infinity by this input\n");
            abort();
    }
    return 0;
}
