// The dictd reader: random access through a dictzip file equals the whole inflated text, and
// a damaged dictionary gives no meaning and one log line, never a crash or a huge allocation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DictFixture.h"
#include "LogCapture.h"
#include "words/DictZip.h"
#include "words/FreeDict.h"

using namespace pagly::words;
using namespace pagly::words::testing;

namespace {

std::string sampleText(size_t bytes) {
    std::string text;
    for (int i = 0; text.size() < bytes; ++i)
        text += "word" + std::to_string(i * 7919 % 100003) + " /pron/\ntranslation " +
                std::to_string(i) + "\n\n";
    return text;
}

TEST(DictZipTest, RandomAccessOverSeveralChunksEqualsTheWholeText) {
    TempFolder folder;
    std::string text = sampleText(20000);
    for (bool withTable : {true, false}) {
        SCOPED_TRACE(withTable ? "chunked" : "plain gzip");
        DictZip dz(
            folder.write(withTable ? "a.dict.dz" : "b.dict.dz", dictzip(text, 1000, withTable)));
        Trouble trouble;
        std::string out;
        // Ranges inside a chunk, across one boundary, across several, and to the very end.
        for (uint64_t offset : {0, 5, 999, 1000, 1999, 4321, 18000}) {
            for (size_t length : {1, 10, 1000, 2500}) {
                if (offset + length > text.size()) continue;
                ASSERT_TRUE(dz.read(offset, length, out, trouble)) << offset << "+" << length;
                EXPECT_EQ(out, text.substr(offset, length)) << offset << "+" << length;
            }
        }
        ASSERT_TRUE(dz.read(text.size() - 7, 7, out, trouble));
        EXPECT_EQ(out, text.substr(text.size() - 7));
        EXPECT_EQ(dz.randomAccess(), withTable);
        EXPECT_FALSE(trouble.any());
    }
}

TEST(DictZipTest, TheDictzipToolsFilesAndTheInstalledDictionaryReadLikeTheirWholeText) {
    TempFolder folder;
    std::string text = sampleText(300000);  // several of the tool's chunks
    std::string plain = folder.write("tool.dict", text);
    if (std::system(("dictzip " + plain + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no dictzip tool";
    DictZip tool(plain + ".dz");
    Trouble trouble;
    std::string out;
    for (uint64_t offset = 0; offset + 3000 < text.size(); offset += 29999) {
        ASSERT_TRUE(tool.read(offset, 3000, out, trouble));
        EXPECT_EQ(out, text.substr(offset, 3000));
    }
    EXPECT_TRUE(tool.randomAccess());

    // Every entry of the installed English-Spanish dictionary (several chunks).
    const std::string base = "/usr/share/dictd/freedict-eng-spa";
    std::string whole = gunzip(readFile(base + ".dict.dz"));
    ASSERT_GT(whole.size(), 100000u);
    DictZip spa(base + ".dict.dz");
    std::string index = readFile(base + ".index");
    size_t entries = 0;
    for (size_t at = 0; at < index.size();) {
        size_t nl = index.find('\n', at);
        auto line = parseDictdIndexLine(std::string_view(index).substr(at, nl - at));
        at = nl + 1;
        ASSERT_TRUE(line);
        ASSERT_TRUE(spa.read(line->offset, line->length, out, trouble)) << line->headword;
        ASSERT_EQ(out, whole.substr(line->offset, line->length)) << line->headword;
        ++entries;
    }
    EXPECT_GT(entries, 5000u);
    EXPECT_TRUE(spa.randomAccess());
    EXPECT_FALSE(trouble.any());
}

// A dictionary "tst" in a folder of its own, damaged in one way.
struct Damage {
    const char* name;
    std::string index;
    std::string dz;
};

TEST(DictZipTest, ADamagedDictionaryGivesNoMeaningAndOneLogLine) {
    auto [text, index] = dictdFiles({{"cat", "gato\n"}, {"dog", "perro\n"}, {"zebra", "cebra\n"}});
    text += sampleText(5000);  // several chunks
    std::string good = dictzip(text, 512);
    std::string corrupt = good;
    for (size_t i = 40; i < 80; ++i) corrupt[i] = char(corrupt[i] ^ 0x5a);
    const Damage cases[] = {
        {"a cut dictzip file", index, good.substr(0, good.size() / 2)},
        {"an index pointing past the end", "dog\t" + dictdNumber(900000) + "\tK\n", good},
        {"an entry of absurd length", "dog\tA\t//////////\n", good},
        {"garbage in the word's index line", "dog\t!!\t??\n", good},
        {"an index line without fields", "dog\n", good},
        {"a corrupt chunk", index, corrupt},
        {"not a gzip file", index, "this is not compressed"},
        {"an empty dictzip file", index, ""},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("freedict-eng-tst.index", c.index);
        folder.write("freedict-eng-tst.dict.dz", c.dz);
        FreeDict freedict(folder.path());
        LogCapture log;
        Translation t = freedict.translate({"dog"}, "tst");
        EXPECT_EQ(t.status, LookupStatus::Unavailable);
        EXPECT_TRUE(t.lines.empty());
        EXPECT_EQ(log.lines.size(), 1u);
    }
}

TEST(DictZipTest, GarbageLinesElsewhereLeaveTheGoodEntriesReadable) {
    auto [text, index] = dictdFiles({{"cat", "gato\n"}, {"dog", "perro\n"}});
    TempFolder folder;
    // Lines that sort before and after the good ones, as a damaged copy might hold.
    folder.write("freedict-eng-tst.index",
                 "00databaseshort\tA\tB\n\x01\x02\x03\nbat\t@@\n" + index + "zzz\n\xff\xfe\n");
    folder.write("freedict-eng-tst.dict.dz", dictzip(text, 64));
    FreeDict freedict(folder.path());
    LogCapture log;
    Translation t = freedict.translate({"dogs", "dog"}, "tst");
    EXPECT_EQ(t.status, LookupStatus::Found);
    EXPECT_EQ(t.headword, "dog");
    EXPECT_EQ(t.lines, std::vector<std::string>{"perro"});
    EXPECT_EQ(freedict.translate({"cow"}, "tst").status, LookupStatus::NotInDictionary);
    EXPECT_TRUE(log.lines.empty());
}

}  // namespace
