// libFuzzer target: arbitrary bytes as an unpacked EPUB's META-INF/container.xml and, after
// lines "@@", its package document (OEBPS/content.opf), navigation document, one page and
// that page's media overlay, read as the importer reads an EPUB folder. A crash, a hang or a
// leak is a finding, and so is a document or recording handed on from outside the book; keep
// each finding's input under fuzz/regressions/package/.
#include <cstdint>
#include <string>

#include "fuzz/ImportFuzzInput.h"
#include "tools/import/EpubReader.h"

namespace {
bool inside(const std::string& path, const std::string& folder) {
    return path.compare(0, folder.size() + 1, folder + "/") == 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string folder =
        pagly::fuzz::writeBookParts("epub", data, size,
                                    {"META-INF/container.xml", "OEBPS/content.opf",
                                     "OEBPS/nav.xhtml", "OEBPS/page.xhtml", "OEBPS/page.smil"});
    pagly::import::SourceBook book =
        pagly::import::readEpub(folder, pagly::fuzz::scratchFolder() + "/work");
    for (const pagly::import::SourceDocument& document : book.documents) {
        if (!inside(document.path, book.folder)) __builtin_trap();
        for (const pagly::import::SourceSentence& sentence : document.sentences)
            if (!inside(sentence.audioFile, book.folder)) __builtin_trap();
    }
    return 0;
}
