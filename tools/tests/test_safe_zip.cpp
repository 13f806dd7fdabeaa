// Unpacking a book's zip: hostile entry names, links, zip bombs and damaged archives never
// write outside the target folder, and each is told as a problem naming the entry.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "tools/import/SafeZip.h"
#include "tools/tests/ImportFixtures.h"

using namespace pagly::import;
using namespace pagly::testing;

namespace {

// Letters that pack to about their own size.
std::string noise(std::size_t size) {
    std::string text(size, ' ');
    std::uint32_t state = 12345;
    for (char& c : text) {
        state = state * 1664525u + 1013904223u;
        c = char('a' + (state >> 24) % 26);
    }
    return text;
}

// Byte offsets of the local and central headers of each entry, to make a zip lie.
void declareSize(std::string& zip, std::uint32_t size) {
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) zip[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    for (std::size_t at = 0; (at = zip.find("PK\x03\x04", at)) != std::string::npos; at += 4)
        put32(at + 22, size);
    for (std::size_t at = 0; (at = zip.find("PK\x01\x02", at)) != std::string::npos; at += 4)
        put32(at + 24, size);
}

const std::string kAbsoluteTarget = "/tmp/pagly-safezip-absolute-" + std::to_string(getpid());

}  // namespace

void replaceAll(std::string& data, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = data.find(from, at)) != std::string::npos; at += to.size())
        data.replace(at, from.size(), to);
}

// Entries that are skipped, one problem each, while the rest of the archive unpacks.
struct SkippedCase {
    const char* label;
    std::vector<ZipEntry> entries;
    std::string entryTold;                              // the problem's file
    std::string reason;                                 // part of its reason
    std::function<void(std::string&)> patch = nullptr;  // the bytes no zip tool would write
};

TEST(SafeZip, UnsafeEntriesAreSkippedAndNothingLandsOutside) {
    const std::vector<SkippedCase> cases = {
        {"parent folder", {{"../evil", "x"}}, "../evil", "climbs out"},
        {"parent deeper", {{"a/b/../../../evil", "x"}}, "a/b/../../../evil", "climbs out"},
        {"backslash parent", {{"..\\evil", "x"}}, "..\\evil", "climbs out"},
        {"absolute path", {{kAbsoluteTarget, "x"}}, kAbsoluteTarget, "absolute path"},
        {"drive letter", {{"C:/evil", "x"}}, "C:/evil", "absolute path"},
        {"symbolic link",
         {{"link", "/etc/passwd", false, S_IFLNK | 0777}},
         "link",
         "symbolic link"},
        {"link to the folder above, then a file through it",
         {{"up", "..", false, S_IFLNK | 0777}, {"up/evil", "x"}},
         "up",
         "symbolic link"},
        {"device", {{"dev", "", false, S_IFCHR | 0666}}, "dev", "special file"},
        {"pipe", {{"fifo", "", false, S_IFIFO | 0666}}, "fifo", "special file"},
        {"file in the way of a folder", {{"x", "file"}, {"x/y", "x"}}, "x/y", "taken by a file"},
        {"the same name twice",
         {{"same.txt", "first"}, {"same.txA", "second"}},
         "same.txt",
         "twice",
         [](std::string& zip) { replaceAll(zip, "same.txA", "same.txt"); }},
    };
    for (const SkippedCase& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder sandbox;
        std::string zipPath = sandbox / "book.zip";
        std::vector<ZipEntry> entries = c.entries;
        entries.push_back({"good/page.xhtml", "<html/>"});
        ASSERT_TRUE(writeZip(zipPath, entries));
        if (c.patch) {
            std::string bytes = readFile(zipPath);
            c.patch(bytes);
            writeFile(zipPath, bytes);
        }
        std::vector<ImportProblem> problems;
        EXPECT_TRUE(extractZip(zipPath, sandbox / "out", problems)) << told(problems);
        EXPECT_TRUE(tells(problems, c.entryTold, c.reason)) << told(problems);
        EXPECT_EQ(readFile(sandbox / "out/good/page.xhtml"), "<html/>");
        // Nothing beside the archive and the target folder, nothing at the absolute path,
        // and nothing but plain files and folders in the target.
        for (const std::string& path : treeOf(sandbox.path()))
            EXPECT_TRUE(path == "book.zip" || path.rfind("out", 0) == 0) << path;
        struct stat st;
        EXPECT_NE(lstat(kAbsoluteTarget.c_str(), &st), 0);
        for (const std::string& path : treeOf(sandbox / "out")) {
            ASSERT_EQ(lstat((sandbox / "out/" + path).c_str(), &st), 0);
            EXPECT_TRUE(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) << path;
        }
    }
}

TEST(SafeZip, TheFirstOfTwoEntriesOfOneNameIsKept) {
    ScratchFolder sandbox;
    ASSERT_TRUE(writeZip(sandbox / "b.zip", {{"same.txt", "first"}, {"same.txA", "second"}}));
    std::string bytes = readFile(sandbox / "b.zip");
    replaceAll(bytes, "same.txA", "same.txt");
    writeFile(sandbox / "b.zip", bytes);
    std::vector<ImportProblem> problems;
    EXPECT_TRUE(extractZip(sandbox / "b.zip", sandbox / "out", problems));
    EXPECT_EQ(readFile(sandbox / "out/same.txt"), "first");
}

TEST(SafeZip, AGoodArchiveUnpacksWhole) {
    ScratchFolder sandbox;
    std::string big(300000, 'a');
    for (std::size_t i = 0; i < big.size(); i += 7) big[i] = char('a' + i % 26);
    ASSERT_TRUE(
        writeZip(sandbox / "b.zip", {{"mimetype", "application/epub+zip", false},
                                     {"META-INF/", ""},
                                     {"./OEBPS/./text/page one.xhtml", big},
                                     {"OEBPS/audio/a.mp3", std::string(5000, '\xFF'), false}}));
    std::vector<ImportProblem> problems;
    EXPECT_TRUE(extractZip(sandbox / "b.zip", sandbox / "out", problems));
    EXPECT_TRUE(problems.empty()) << told(problems);
    EXPECT_EQ(
        treeOf(sandbox / "out"),
        (std::set<std::string>{"mimetype", "META-INF", "OEBPS", "OEBPS/text",
                               "OEBPS/text/page one.xhtml", "OEBPS/audio", "OEBPS/audio/a.mp3"}));
    EXPECT_EQ(readFile(sandbox / "out/OEBPS/text/page one.xhtml"), big);
    EXPECT_EQ(readFile(sandbox / "out/mimetype"), "application/epub+zip");
}

// Archives refused whole: extractZip answers false and tells why.
struct RefusedCase {
    const char* label;
    std::function<void(const std::string& zipPath)> make;
    ZipLimits limits;
    std::string fileTold;
    std::string reason;
    std::string entryNotLeft;  // an entry whose partly written file must be gone
};

TEST(SafeZip, BombsAndBrokenArchivesAreRefused) {
    ZipLimits fewEntries;
    fewEntries.maxEntries = 5;
    ZipLimits smallBook;
    smallBook.maxTotalBytes = 100000;
    ZipLimits smallEntries;
    smallEntries.maxEntryBytes = 200000;
    const std::string zeros(8u << 20, '\0');  // 8 MB that pack to a few kB
    const std::vector<RefusedCase> cases = {
        {"too many entries",
         [](const std::string& p) {
             std::vector<ZipEntry> many;
             for (int i = 0; i < 6; ++i) many.push_back({"f" + std::to_string(i), "x"});
             writeZip(p, many);
         },
         fewEntries, "book.zip", "6 entries", ""},
        {"declares more than a book may take",
         [](const std::string& p) {
             writeZip(p, {{"a", std::string(60000, 'a')}, {"b", std::string(60000, 'b')}});
         },
         smallBook, "book.zip", "declares", ""},
        {"one entry larger than any file of a book",
         [](const std::string& p) {
             writeZip(p, {{"a", std::string(300000, 'a')}});
         },
         smallEntries, "a", "more than any file of a book", "a"},
        {"packed a thousand times over (default limits)",
         [&](const std::string& p) {
             writeZip(p, {{"ok.txt", "fine"}, {"bomb.xhtml", zeros}});
         },
         ZipLimits{}, "bomb.xhtml", "times its packed size", "bomb.xhtml"},
        {"headers that lie about the size",
         [&](const std::string& p) {
             writeZip(p, {{"liar.xhtml", zeros}});
             std::string bytes = readFile(p);
             declareSize(bytes, 1000);
             writeFile(p, bytes);
         },
         ZipLimits{}, "liar.xhtml", "more than its header declares", "liar.xhtml"},
        {"truncated",
         [](const std::string& p) {
             writeZip(p, {{"a.xhtml", std::string(20000, 'a')}, {"b.xhtml", "b"}});
             std::string bytes = readFile(p);
             writeFile(p, bytes.substr(0, bytes.size() / 2));
         },
         ZipLimits{}, "book.zip", "not a readable zip archive", ""},
        {"random bytes",
         [](const std::string& p) {
             std::string bytes(4096, '\0');
             for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 7919) % 251);
             writeFile(p, bytes);
         },
         ZipLimits{}, "book.zip", "not a readable zip archive", ""},
        {"empty file", [](const std::string& p) { writeFile(p, ""); }, ZipLimits{}, "book.zip",
         "not a readable zip archive", ""},
        {"missing", [](const std::string&) {}, ZipLimits{}, "book.zip",
         "not a readable zip archive", ""},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder sandbox;
        c.make(sandbox / "book.zip");
        std::vector<ImportProblem> problems;
        EXPECT_FALSE(extractZip(sandbox / "book.zip", sandbox / "out", problems, c.limits));
        EXPECT_TRUE(tells(problems, c.fileTold, c.reason)) << told(problems);
        if (!c.entryNotLeft.empty()) {
            EXPECT_FALSE(fs::exists(sandbox / ("out/" + c.entryNotLeft)));
        }
        for (const std::string& path : treeOf(sandbox.path()))
            EXPECT_TRUE(path == "book.zip" || path.rfind("out", 0) == 0) << path;
    }
}

// Many entries, each packed well within the ratio, whose headers declare a few bytes: what
// reaches the disk stays within the limit however the archive lies.
TEST(SafeZip, LyingHeadersNeverLetMoreThanTheLimitOut) {
    ScratchFolder sandbox;
    std::string text = noise(50000);
    std::vector<ZipEntry> entries;
    for (int i = 0; i < 10; ++i) entries.push_back({"page" + std::to_string(i) + ".xhtml", text});
    ASSERT_TRUE(writeZip(sandbox / "book.zip", entries));
    std::string bytes = readFile(sandbox / "book.zip");
    declareSize(bytes, 10);
    writeFile(sandbox / "book.zip", bytes);
    ZipLimits limits;
    limits.maxTotalBytes = 200000;
    std::vector<ImportProblem> problems;
    EXPECT_FALSE(extractZip(sandbox / "book.zip", sandbox / "out", problems, limits));
    EXPECT_FALSE(problems.empty());
    std::uintmax_t written = 0;
    for (const std::string& path : treeOf(sandbox / "out"))
        written += fs::file_size(sandbox / ("out/" + path));
    EXPECT_LE(written, limits.maxTotalBytes);
}

TEST(SafeZip, ADamagedEntryIsSkippedAndTheRestUnpacks) {
    ScratchFolder sandbox;
    std::string text = noise(40000);
    ASSERT_TRUE(writeZip(sandbox / "book.zip", {{"damaged.xhtml", text}, {"fine.xhtml", "fine"}}));
    std::string bytes = readFile(sandbox / "book.zip");
    // Spoil the middle of the first entry's packed data.
    std::size_t dataStart = 30 + std::strlen("damaged.xhtml");
    for (std::size_t i = dataStart + 200; i < dataStart + 260; ++i)
        bytes[i] = char(bytes[i] ^ 0x5A);
    writeFile(sandbox / "book.zip", bytes);
    std::vector<ImportProblem> problems;
    EXPECT_TRUE(extractZip(sandbox / "book.zip", sandbox / "out", problems));
    EXPECT_TRUE(tells(problems, "damaged.xhtml", "damaged")) << told(problems);
    EXPECT_FALSE(fs::exists(sandbox / "out/damaged.xhtml"));
    EXPECT_EQ(readFile(sandbox / "out/fine.xhtml"), "fine");
}

TEST(SafeZip, EntryNamesBecomePlainRelativePaths) {
    const struct {
        const char* name;
        const char* path;  // empty: refused
    } cases[] = {
        {"a/b.xhtml", "a/b.xhtml"},
        {"./a//b.xhtml", "a/b.xhtml"},
        {"a\\b.xhtml", "a/b.xhtml"},
        {"dir/", "dir"},
        {"a/./b", "a/b"},
        {"..", ""},
        {"a/../b", ""},
        {"/etc/passwd", ""},
        {"\\server\\x", ""},
        {"", ""},
        {"...", "..."},
        {"..a/b", "..a/b"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_EQ(safeEntryPath(c.name, why), c.path) << c.name;
        if (std::string(c.path).empty()) {
            EXPECT_FALSE(why.empty()) << c.name;
        }
    }
}
