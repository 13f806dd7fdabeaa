// libFuzzer target: arbitrary bytes as the dictionaries' files. The first byte picks which:
// 0 a WordNet data or index line, 1 a dictd index over a good text, 2 a dictzip text under a
// good index, 3 a WordNet noun index over a good data file. A crash, a hang, a leak or a huge
// allocation is a finding; keep each finding's input under fuzz/regressions/words/.
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "fuzz/ScratchFolder.h"
#include "words/FreeDict.h"
#include "words/WordNet.h"
#include "words/WordNetRecords.h"

using namespace pagly::words;

namespace {

// The text the fixed index points into: entries far apart, so that a dictzip made of it by
// the dictzip tool has several chunks.
std::string fixedText() {
    std::string text = "cat /k/\ngato\n\ndog /d/\nperro\n\n";
    while (text.size() < 70000) text += "filler line of the dictionary text\n";
    return text + "zebra /z/\ncebra\n\n";
}

const char kFixedIndex[] = "cat\tA\tO\ndog\tO\tP\nzebra\tRGN\tR\n";
const char kDogRecord[] = "00000000 05 n 01 dog 0 000 | a domesticated animal; \"the dog\"  \n";

std::string folderFor(int mode) {
    return pagly::fuzz::scratchFolder() + "/m" + std::to_string(mode);
}

void write(const std::string& path, const std::string& bytes) {
    pagly::fuzz::writeScratchFile(path.substr(pagly::fuzz::scratchFolder().size() + 1),
                                  reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void translateAll(const std::string& folder) {
    FreeDict freedict(folder);
    for (const char* word : {"cat", "dog", "zebra", "cow"})
        (void)freedict.translate({word}, "tst", 4).lines.size();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setLogSink([](const std::string&) {});
    for (int mode = 1; mode <= 3; ++mode) mkdir(folderFor(mode).c_str(), 0700);
    write(folderFor(1) + "/freedict-eng-tst.dict", fixedText());
    write(folderFor(2) + "/freedict-eng-tst.index", kFixedIndex);
    write(folderFor(3) + "/data.noun", kDogRecord);
    for (const char* part : {"verb", "adj", "adv"}) {
        write(folderFor(3) + "/index." + part, "");
        write(folderFor(3) + "/data." + part, "");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0: {
            if (auto synset = parseSynsetLine(bytes)) (void)synset->words.size();
            if (auto entry = parseIndexLine(bytes)) (void)entry->offsets.size();
            if (auto line = parseDictdIndexLine(bytes)) (void)line->length;
            (void)entryLines(bytes, "dog").size();
            break;
        }
        case 1:
            write(folderFor(1) + "/freedict-eng-tst.index", bytes);
            translateAll(folderFor(1));
            break;
        case 2:
            write(folderFor(2) + "/freedict-eng-tst.dict.dz", bytes);
            translateAll(folderFor(2));
            break;
        case 3: {
            write(folderFor(3) + "/index.noun", bytes);
            WordNet wordnet(folderFor(3));
            for (const char* word : {"dog", "Dogs", "cats", "isn't"})
                (void)wordnet.meaning(word).senses.size();
            break;
        }
    }
    return 0;
}
