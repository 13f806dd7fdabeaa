// Reading EPUB 3 read-aloud books made by make_epub.py: every page, size, sentence, clip and
// section the book holds is found, from the packed book and from the unpacked folder; a
// hostile or broken archive is refused or trimmed without writing outside the work folder.
#include <gtest/gtest.h>
#include <json/json.h>

#include <cmath>
#include <sstream>

#include "tools/import/BookHref.h"
#include "tools/import/EpubReader.h"
#include "tools/import/SmilClock.h"
#include "tools/import/SoundLength.h"
#include "tools/tests/ImportFixtures.h"

using namespace pagly::import;
using namespace pagly::testing;

namespace {

// The book holds exactly what make_epub.py says it wrote.
void expectBookAsWritten(const SourceBook& book, const std::string& expectPath) {
    Json::Value expect = loadJson(expectPath);
    ASSERT_TRUE(expect.isObject()) << expectPath;
    EXPECT_EQ(book.title, expect["title"].asString());
    bool fixed = expect["layout"].asString() == "fixed";
    const Json::Value& docs = expect["documents"];
    ASSERT_EQ(book.documents.size(), docs.size()) << told(book.problems);
    bool anySection = false;
    for (Json::ArrayIndex i = 0; i < docs.size(); ++i) {
        SCOPED_TRACE("document " + std::to_string(i));
        const SourceDocument& d = book.documents[i];
        EXPECT_EQ(d.path, book.folder + "/" + docs[i]["href"].asString());
        EXPECT_EQ(d.layout, fixed ? SourceLayout::Fixed : SourceLayout::Reflow);
        if (fixed) {
            EXPECT_EQ(d.width, docs[i]["width"].asInt());
            EXPECT_EQ(d.height, docs[i]["height"].asInt());
        }
        EXPECT_EQ(d.sectionTitle, docs[i]["section"].asString());
        anySection = anySection || !d.sectionTitle.empty();
        const Json::Value& sentences = docs[i]["sentences"];
        ASSERT_EQ(d.sentences.size(), sentences.size());
        for (Json::ArrayIndex k = 0; k < sentences.size(); ++k) {
            const SourceSentence& s = d.sentences[k];
            EXPECT_EQ(s.elementId, sentences[k]["id"].asString());
            EXPECT_EQ(s.text, sentences[k]["text"].asString());
            EXPECT_EQ(s.audioFile, book.folder + "/" + sentences[k]["audio"].asString());
            EXPECT_NEAR(s.clipBegin, sentences[k]["clipBegin"].asDouble(), 1e-6);
            EXPECT_NEAR(s.clipEnd, sentences[k]["clipEnd"].asDouble(), 1e-6);
            EXPECT_TRUE(s.caption.empty());
        }
    }
    EXPECT_TRUE(anySection);
    EXPECT_EQ(book.pagesPerSection, 0);
}

}  // namespace

TEST(EpubReader, FixedLayoutBookFromItsZip) {
    const EpubFixtureBooks& books = epubFixtures();
    ASSERT_TRUE(books.made) << "make_epub.py failed; run it by hand to see why";
    ScratchFolder work;
    SourceBook book = readEpub(books.fixedEpub, work.path());
    EXPECT_TRUE(book.problems.empty()) << told(book.problems);
    EXPECT_EQ(book.folder, work / "unpacked");
    expectBookAsWritten(book, books.fixedExpect);
    // Two chapters, one recording each: pages 1 and 2 cut theirs from the same file.
    ASSERT_EQ(book.documents.size(), 3u);
    EXPECT_EQ(book.documents[0].sentences[0].audioFile, book.documents[1].sentences[0].audioFile);
    EXPECT_NE(book.documents[0].sentences[0].audioFile, book.documents[2].sentences[0].audioFile);
    EXPECT_GT(book.documents[1].sentences[0].clipBegin, 1.0);
    for (const std::string& path : treeOf(work.path()))
        EXPECT_EQ(path.rfind("unpacked", 0), 0u) << path;
}

TEST(EpubReader, FixedLayoutBookFromItsFolderWritesNothing) {
    const EpubFixtureBooks& books = epubFixtures();
    ASSERT_TRUE(books.made);
    ScratchFolder work;
    std::set<std::string> before = treeOf(books.fixedFolder);
    SourceBook book = readEpub(books.fixedFolder, work.path());
    EXPECT_TRUE(book.problems.empty()) << told(book.problems);
    EXPECT_EQ(book.folder, books.fixedFolder);
    expectBookAsWritten(book, books.fixedFolderExpect);
    EXPECT_TRUE(treeOf(work.path()).empty());
    EXPECT_EQ(treeOf(books.fixedFolder), before);
}

TEST(EpubReader, ReflowableBook) {
    const EpubFixtureBooks& books = epubFixtures();
    ASSERT_TRUE(books.made);
    ScratchFolder work;
    SourceBook book = readEpub(books.reflowEpub, work.path());
    EXPECT_TRUE(book.problems.empty()) << told(book.problems);
    expectBookAsWritten(book, books.reflowExpect);
    ASSERT_EQ(book.documents.size(), 2u);
    EXPECT_TRUE(book.documents[0].sentences.empty());  // the title page has no recording
    EXPECT_EQ(book.documents[0].width, 0);
}

// Each clip lies inside its recording, whose length is the one the book was timed against:
// an MP3 encoder's delay and padding are not counted (the reader's audio engine skips them).
TEST(EpubReader, ClipsLieInsideTheirRecordings) {
    const EpubFixtureBooks& books = epubFixtures();
    ASSERT_TRUE(books.made);
    ScratchFolder work;
    SourceBook book = readEpub(books.fixedEpub, work.path());
    Json::Value expect = loadJson(books.fixedExpect);
    ASSERT_EQ(expect["recordings"].size(), 2u);
    for (const std::string& name : expect["recordings"].getMemberNames()) {
        std::string why;
        EXPECT_NEAR(decodedSoundSeconds(book.folder + "/" + name, why),
                    expect["recordings"][name].asDouble(), 0.001)
            << name;
    }
    for (const SourceDocument& d : book.documents) {
        for (const SourceSentence& s : d.sentences) {
            std::string why;
            double length = decodedSoundSeconds(s.audioFile, why);
            ASSERT_GT(length, 0.0) << why;
            EXPECT_GE(s.clipBegin, 0.0);
            EXPECT_GT(s.clipEnd, s.clipBegin + 0.3) << s.elementId;
            EXPECT_LE(s.clipEnd, length) << s.elementId;
        }
    }
}

// Archives that are not what they claim: the reader keeps to its work folder and either
// trims the bad entries or refuses the book with the reason.
struct ArchiveCase {
    const char* label;
    std::vector<ZipEntry> extra;  // added to the fixed fixture's own entries
    bool truncate;
    std::size_t documents;  // 0: refused
    std::string fileTold;
    std::string reason;
};

TEST(EpubReader, HostileOrBrokenArchives) {
    const EpubFixtureBooks& books = epubFixtures();
    ASSERT_TRUE(books.made);
    const std::string zeros(4u << 20, '\0');
    const std::vector<ArchiveCase> cases = {
        {"an entry climbing out",
         {{"../../evil.xhtml", "x"}},
         false,
         3,
         "../../evil.xhtml",
         "climbs out"},
        {"an absolute entry",
         {{"/tmp/pagly-epub-evil.xhtml", "x"}},
         false,
         3,
         "/tmp/pagly-epub-evil.xhtml",
         "absolute path"},
        {"a link",
         {{"OEBPS/escape", "/etc", false, 0120777}},
         false,
         3,
         "OEBPS/escape",
         "symbolic link"},
        {"a zip bomb",
         {{"OEBPS/bomb.xhtml", zeros}},
         false,
         0,
         "OEBPS/bomb.xhtml",
         "times its packed size"},
        {"truncated", {}, true, 0, "book.epub", "not a readable zip archive"},
    };
    for (const ArchiveCase& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchFolder sandbox;
        std::string epub = sandbox / "book.epub";
        ASSERT_TRUE(zipFolder(books.fixedFolder, epub, c.extra));
        if (c.truncate) {
            std::string bytes = readFile(epub);
            writeFile(epub, bytes.substr(0, bytes.size() * 2 / 3));
        }
        SourceBook book = readEpub(epub, sandbox / "work");
        EXPECT_EQ(book.documents.size(), c.documents) << told(book.problems);
        EXPECT_TRUE(tells(book.problems, c.fileTold, c.reason)) << told(book.problems);
        if (c.documents == 0) {
            EXPECT_TRUE(tells(book.problems, "book.epub", "cannot be converted"))
                << told(book.problems);
        }
        for (const std::string& path : treeOf(sandbox.path()))
            EXPECT_TRUE(path == "book.epub" || path.rfind("work", 0) == 0) << path;
        EXPECT_FALSE(fs::exists("/tmp/pagly-epub-evil.xhtml"));
    }
}

TEST(EpubReader, MissingBookOrUsedWorkFolderIsRefused) {
    ScratchFolder sandbox;
    SourceBook missing = readEpub(sandbox / "nothing.epub", sandbox / "work");
    EXPECT_TRUE(missing.documents.empty());
    EXPECT_TRUE(tells(missing.problems, "nothing.epub", "is missing")) << told(missing.problems);

    // The work folder's "unpacked" already holds something: it is never written over.
    const EpubFixtureBooks& books = epubFixtures();
    ASSERT_TRUE(books.made);
    writeFile(sandbox / "work/unpacked/keep.txt", "mine");
    SourceBook used = readEpub(books.fixedEpub, sandbox / "work");
    EXPECT_TRUE(used.documents.empty());
    EXPECT_TRUE(tells(used.problems, "fixed.epub", "not empty")) << told(used.problems);
    EXPECT_EQ(treeOf(sandbox / "work"), (std::set<std::string>{"unpacked", "unpacked/keep.txt"}));
}

TEST(SmilClock, EveryFormBooksUse) {
    const struct {
        const char* text;
        bool ok;
        double seconds;
    } cases[] = {
        {"1.5s", true, 1.5},
        {"1500ms", true, 1.5},
        {"1.5", true, 1.5},
        {"0:01.5", true, 1.5},
        {"00:00:01.500", true, 1.5},
        {"01:02:03.25", true, 3723.25},
        {"npt=1.5s", true, 1.5},
        {"npt=0:01.5", true, 1.5},
        {" 2s ", true, 2.0},
        {"0.5min", true, 30.0},
        {"1h", true, 3600.0},
        {".25s", true, 0.25},
        {"12:59", true, 779.0},
        {"0", true, 0.0},
        {"100:00:00", true, 360000.0},
        {"", false, 0},
        {"s", false, 0},
        {"-1s", false, 0},
        {"1e3", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"1.2.3", false, 0},
        {"0:60", false, 0},
        {"0:61:00", false, 0},
        {"1:2:3:4", false, 0},
        {"1.5:00", false, 0},
        {"abc", false, 0},
        {"1.5 s x", false, 0},
        {"0x10", false, 0},
        {"12:", false, 0},
    };
    for (const auto& c : cases) {
        double seconds = -7.0;
        EXPECT_EQ(parseSmilClock(c.text, seconds), c.ok) << "\"" << c.text << "\"";
        if (c.ok) {
            EXPECT_NEAR(seconds, c.seconds, 1e-9) << c.text;
        }
    }
}

TEST(BookHref, LinksResolveInsideTheBookOrNotAtAll) {
    ScratchFolder sandbox;
    const std::string book = sandbox / "book";
    fs::create_directories(book + "/OEBPS/text");
    fs::create_directories(sandbox / "elsewhere");
    fs::create_directory_symlink(sandbox / "elsewhere", book + "/OEBPS/away");
    const std::string base = book + "/OEBPS/text";
    const struct {
        const char* href;
        const char* path;  // relative to the book; empty: refused
    } cases[] = {
        {"page.xhtml", "OEBPS/text/page.xhtml"},
        {"../audio/a.mp3", "OEBPS/audio/a.mp3"},
        {"./sub/../page.xhtml#s1", "OEBPS/text/page.xhtml"},
        {"page%20one.xhtml?x=1", "OEBPS/text/page one.xhtml"},
        {"caf%C3%A9.xhtml", "OEBPS/text/caf\xC3\xA9.xhtml"},
        {"100%.xhtml", "OEBPS/text/100%.xhtml"},
        {"../../../outside.xhtml", ""},
        {"..%2F..%2F..%2Foutside.xhtml", ""},
        {"/etc/passwd", ""},
        {"file:///etc/passwd", ""},
        {"http://example.com/a.png", ""},
        {"C:/x.png", ""},
        {"#only-a-fragment", ""},
        {"", ""},
        {"../away/a.mp3", ""},  // a link inside the book that leads out of it
    };
    for (const auto& c : cases) {
        std::string why;
        std::string path = resolveHref(book, base, c.href, why);
        if (std::string(c.path).empty()) {
            EXPECT_EQ(path, "") << c.href;
            EXPECT_FALSE(why.empty()) << c.href;
        } else {
            EXPECT_EQ(path, book + "/" + c.path) << c.href << ": " << why;
        }
    }
}
