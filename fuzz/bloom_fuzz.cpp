// libFuzzer target: arbitrary bytes as an unpacked Bloom book's document and, after a line
// "@@", its meta.json, read as the importer reads a Bloom book. A crash (deep nesting
// included), a hang or a leak is a finding; keep each finding's input under
// fuzz/regressions/bloom/.
#include <cstdint>
#include <string>

#include "fuzz/ImportFuzzInput.h"
#include "tools/import/BloomReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string folder = pagly::fuzz::writeBookParts("Book", data, size, {"Book.htm", "meta.json"});
    pagly::import::SourceBook book;
    std::string why;
    if (pagly::import::readBloom(folder, book, why)) {
        if (book.documents.empty() || book.title.empty()) __builtin_trap();
        for (const pagly::import::ImportProblem& problem : book.problems)
            if (problem.file.empty() || problem.reason.empty()) __builtin_trap();
    } else if (why.empty()) {
        __builtin_trap();  // a refusal always says why
    }
    return 0;
}
