// libFuzzer target: arbitrary bytes as an EPUB's navigation document and as its NCX table of
// contents, each read as the importer reads them. A crash, a hang, a leak or an entry that
// leads outside the book is a finding; keep each finding's input under fuzz/regressions/nav/.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/ImportFuzzInput.h"
#include "tools/import/EpubNavigation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pagly::import::epub;
    std::string folder = pagly::fuzz::writeBookParts("nav", data, size, {"OEBPS/nav.xhtml"});
    std::vector<pagly::import::ImportProblem> problems;
    ProblemList list(problems);
    std::vector<NavEntry> entries = readNavDocument(folder, folder + "/OEBPS/nav.xhtml", list);
    std::vector<NavEntry> more = readNcx(folder, folder + "/OEBPS/nav.xhtml", list);
    entries.insert(entries.end(), more.begin(), more.end());
    for (const NavEntry& entry : entries)
        if (entry.path.compare(0, folder.size() + 1, folder + "/") != 0) __builtin_trap();
    return 0;
}
