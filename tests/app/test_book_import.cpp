// Opening a book from elsewhere: what counts as one, where its converted folder lives, and
// how the importer's run is followed (its progress, its problems, its end, its stop).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/BookImport.h"

namespace fs = std::filesystem;
using pagly::BookKind;
using pagly::ImportRun;

namespace {

// Whether `pid` still runs: an orphan that has ended may stay a zombie until whoever adopted
// it reaps it, and that is not running.
bool running(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

class BookImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char templ[] = "/tmp/pagly-import-XXXXXX";
        m_dir = mkdtemp(templ);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& text) {
        std::string path = m_dir + "/" + name;
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << text;
        return path;
    }
    // A stand-in importer: a shell script given its body.
    std::string script(const std::string& body) {
        std::string path = write("importer.sh", "#!/bin/sh\n" + body);
        chmod(path.c_str(), 0755);
        return path;
    }
    // Follows a run to its end (a real process: bounded, not timed).
    static ImportRun::State finish(ImportRun& run) {
        for (int i = 0; i < 3000 && run.poll() == ImportRun::State::Running; ++i) usleep(2000);
        return run.state();
    }

    std::string m_dir;
};

TEST_F(BookImportTest, TellsBookFoldersForeignBooksAndOtherThingsApart) {
    write("ours/String.xml", "<plist/>");
    write("epub/META-INF/container.xml", "<container/>");
    // Bloom writes one page document of Bloom pages; a saved web page beside its photos is
    // no book, however big the photos.
    write("bloom/story.htm",
          "<html><body><div class=\"bloom-page A5Portrait\"></div></body></html>");
    write("webpage/Our holiday.html", "<html><body><p>Holiday</p></body></html>");
    write("webpage/Our holiday_files/photo1.jpg", std::string(4096, 'x'));
    write("webpage/photo2.jpg", std::string(4096, 'y'));
    fs::create_directories(m_dir + "/empty");
    struct Case {
        std::string path;
        BookKind kind;
    } cases[] = {
        {m_dir + "/ours", BookKind::Folder},
        {m_dir + "/epub", BookKind::Foreign},
        {m_dir + "/bloom", BookKind::Foreign},
        {m_dir + "/webpage", BookKind::NotABook},
        {m_dir + "/empty", BookKind::NotABook},
        {write("a.epub", "PK"), BookKind::Foreign},
        {write("B.BloomPub", "PK"), BookKind::Foreign},
        {write("notes.txt", "x"), BookKind::NotABook},
        {m_dir + "/missing.epub", BookKind::NotABook},
    };
    for (const Case& c : cases) EXPECT_EQ(pagly::bookKind(c.path), c.kind) << c.path;
}

TEST_F(BookImportTest, TheConvertedFolderFollowsTheBooksBytesNotItsPlace) {
    std::string a = write("a.epub", "the same bytes");
    std::string b = write("copy/b.epub", "the same bytes");
    std::string c = write("c.epub", "the same bytez");
    EXPECT_EQ(pagly::bookDigest(a), pagly::bookDigest(b));
    EXPECT_NE(pagly::bookDigest(a), pagly::bookDigest(c));
    EXPECT_EQ(pagly::bookDigest(a).size(), 64u);

    // A folder: its names and contents count, in name order.
    write("one/x.htm", "1");
    write("one/audio/y.mp3", "2");
    write("two/x.htm", "1");
    write("two/audio/y.mp3", "2");
    EXPECT_EQ(pagly::bookDigest(m_dir + "/one"), pagly::bookDigest(m_dir + "/two"));
    fs::rename(m_dir + "/two/audio/y.mp3", m_dir + "/two/audio/z.mp3");
    EXPECT_NE(pagly::bookDigest(m_dir + "/one"), pagly::bookDigest(m_dir + "/two"));

    std::string problem;
    EXPECT_EQ(pagly::bookDigest(m_dir + "/gone.epub", &problem), "");
    EXPECT_NE(problem.find("gone.epub"), std::string::npos);
}

TEST_F(BookImportTest, TwoFoldersWhoseNamesAndContentsRunTogetherAlikeGetTwoDigests) {
    // Names and contents joined with no lengths read "a", "b\0c" both ways.
    write("one/a", "");
    write("one/b", "c");
    write("two/a", std::string("b\0c", 3));
    EXPECT_NE(pagly::bookDigest(m_dir + "/one"), pagly::bookDigest(m_dir + "/two"));
    // A name that runs into its content: "ab" holding "c" against "a" holding "bc".
    write("three/ab", "c");
    write("four/a", "bc");
    EXPECT_NE(pagly::bookDigest(m_dir + "/three"), pagly::bookDigest(m_dir + "/four"));
}

TEST_F(BookImportTest, ConvertedBooksLiveInTheUsersCache) {
    const char* saved = getenv("XDG_CACHE_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CACHE_HOME", "/somewhere/cache", 1);
    EXPECT_EQ(pagly::importCacheFolder(), "/somewhere/cache/pagly/books");
    std::string book = write("a.epub", "x");
    EXPECT_EQ(pagly::convertedFolderFor(book),
              "/somewhere/cache/pagly/books/" + pagly::bookDigest(book));
    // A relative cache folder is not a place to put files: the home's cache is used.
    setenv("XDG_CACHE_HOME", "relative", 1);
    EXPECT_EQ(pagly::importCacheFolder(), std::string(getenv("HOME")) + "/.cache/pagly/books");
    if (saved)
        setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_CACHE_HOME");
}

TEST_F(BookImportTest, ALaterOpenOfAnUnchangedFileDoesNotReadItAgainButAChangedOneIs) {
    const char* saved = getenv("XDG_CACHE_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CACHE_HOME", (m_dir + "/cache").c_str(), 1);
    std::string book = write("a.epub", "first bytes");
    std::string first = pagly::convertedFolderFor(book);
    EXPECT_EQ(first, m_dir + "/cache/pagly/books/" + pagly::bookDigest(book));

    // The remembered digest is what a later open uses (here it is made to differ, to see it).
    std::string stamps = m_dir + "/cache/pagly/books/stamps";
    ASSERT_TRUE(fs::is_directory(stamps));
    std::string remembered = fs::directory_iterator(stamps)->path().string();
    std::string other(64, 'a');
    std::ofstream(remembered) << other;
    EXPECT_EQ(pagly::convertedFolderFor(book), m_dir + "/cache/pagly/books/" + other);

    // A damaged stamp is read past; a changed file (same size, new time) is read afresh.
    std::ofstream(remembered) << "not a digest";
    EXPECT_EQ(pagly::convertedFolderFor(book), first);
    std::ofstream(book) << "other bytes";
    struct timespec times[2] = {{0, UTIME_NOW}, {12345, 0}};
    utimensat(AT_FDCWD, book.c_str(), times, 0);
    EXPECT_EQ(pagly::convertedFolderFor(book),
              m_dir + "/cache/pagly/books/" + pagly::bookDigest(book));
    EXPECT_NE(pagly::convertedFolderFor(book), first);
    if (saved) {
        setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }
}

TEST_F(BookImportTest, ALaterOpenOfAnUnchangedFolderDoesNotReadItAgainButAChangedOneIs) {
    const char* saved = getenv("XDG_CACHE_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CACHE_HOME", (m_dir + "/cache").c_str(), 1);
    std::string book = m_dir + "/bloom";
    write("bloom/story.htm", "<div class=\"bloom-page\"></div>");
    write("bloom/video/big.mp4", "moving pictures");
    std::string first = pagly::convertedFolderFor(book);
    EXPECT_EQ(first, m_dir + "/cache/pagly/books/" + pagly::bookDigest(book));
    EXPECT_EQ(pagly::rememberedFolderFor(book), first);

    // The remembered digest is what a later open uses (made to differ here, to see it).
    std::string stamps = m_dir + "/cache/pagly/books/stamps";
    ASSERT_TRUE(fs::is_directory(stamps));
    std::string remembered = fs::directory_iterator(stamps)->path().string();
    std::string other(64, 'b');
    std::ofstream(remembered) << other;
    EXPECT_EQ(pagly::convertedFolderFor(book), m_dir + "/cache/pagly/books/" + other);

    // A file changed (same size, another time), added or renamed: the folder is read afresh.
    struct Change {
        const char* what;
        std::function<void()> make;
    } changes[] = {
        {"changed",
         [&] {
             write("bloom/video/big.mp4", "MOVING PICTURES");
             struct timespec times[2] = {{0, UTIME_NOW}, {12345, 0}};
             utimensat(AT_FDCWD, (book + "/video/big.mp4").c_str(), times, 0);
         }},
        {"added", [&] { write("bloom/audio/a.mp3", "sound"); }},
        {"renamed", [&] { fs::rename(book + "/audio/a.mp3", book + "/audio/b.mp3"); }},
    };
    for (const Change& change : changes) {
        change.make();
        EXPECT_EQ(pagly::rememberedFolderFor(book), "") << change.what;
        EXPECT_EQ(pagly::convertedFolderFor(book),
                  m_dir + "/cache/pagly/books/" + pagly::bookDigest(book))
            << change.what;
    }
    if (saved) {
        setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }
}

TEST_F(BookImportTest, ReadsOnlyWholeProgressLines) {
    struct Case {
        const char* line;
        bool ok;
        int done, count;
    } cases[] = {
        {"page 7 of 30", true, 7, 30},  {"page 0 of 1", true, 0, 1},
        {"page 31 of 30", false, 0, 0}, {"page 1 of 0", false, 0, 0},
        {"page -1 of 3", false, 0, 0},  {"page 2 of 3 and more", false, 0, 0},
        {"pages 2 of 3", false, 0, 0},  {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        int done = 0, count = 0;
        EXPECT_EQ(ImportRun::parseProgress(c.line, &done, &count), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(done, c.done);
            EXPECT_EQ(count, c.count);
        }
    }
}

TEST_F(BookImportTest, FollowsTheImportersProgressAndProblemsToItsEnd) {
    std::string importer = script(
        "echo 'page 1 of 2'\n"
        "echo 'cannot use video/a.mp4: the file is missing' >&2\n"
        "echo 'page 2 of 2'\n"
        "mkdir -p \"$2\"\n");
    ImportRun run;
    ASSERT_TRUE(run.start(importer, m_dir + "/book.epub", m_dir + "/out"));
    EXPECT_EQ(finish(run), ImportRun::State::Done);
    EXPECT_EQ(run.pagesDone(), 2);
    EXPECT_EQ(run.pageCount(), 2);
    EXPECT_EQ(run.problemCount(), 1);
    EXPECT_TRUE(fs::is_directory(m_dir + "/out"));
}

TEST_F(BookImportTest, ARefusedBookFailsWithTheImportersReason) {
    std::string importer = script(
        "echo 'page 0 of 3'\n"
        "printf 'cannot use book.opf: not XML\\nnothing in the book can be read aloud' >&2\n"
        "exit 1\n");
    ImportRun run;
    ASSERT_TRUE(run.start(importer, "book.epub", m_dir + "/out"));
    EXPECT_EQ(finish(run), ImportRun::State::Failed);
    // The last line counts even without its newline.
    EXPECT_EQ(run.failure(), "nothing in the book can be read aloud");
    EXPECT_EQ(run.problemCount(), 1);
}

TEST_F(BookImportTest, AnImporterThatCannotBeRunFailsWithAReason) {
    ImportRun run;
    bool started = run.start(m_dir + "/no-such-importer", "book.epub", m_dir + "/out");
    if (started) {
        EXPECT_EQ(finish(run), ImportRun::State::Failed);
    }
    EXPECT_FALSE(run.failure().empty());
    EXPECT_NE(run.state(), ImportRun::State::Done);
}

TEST_F(BookImportTest, DroppingARunStopsTheImporterAndWhatItStarted) {
    std::string pids = m_dir + "/pids";
    // The importer starts a helper of its own (as it starts the browser), then waits.
    std::string importer = script("sleep 60 &\necho $! > '" + pids + "'\necho $$ >> '" + pids +
                                  "'\necho 'page 0 of 9'\nwait\n");
    {
        ImportRun run;
        ASSERT_TRUE(run.start(importer, "book.epub", m_dir + "/out"));
        for (int i = 0; i < 3000 && run.pageCount() == 0; ++i) {
            run.poll();
            usleep(2000);
        }
        ASSERT_EQ(run.pageCount(), 9);
    }
    std::ifstream in(pids);
    int helper = 0, importerPid = 0;
    in >> helper >> importerPid;
    ASSERT_GT(helper, 0);
    bool helperGone = false;
    for (int i = 0; i < 500 && !helperGone; ++i) {
        helperGone = !running(helper);
        if (!helperGone) usleep(2000);
    }
    EXPECT_TRUE(helperGone);
    EXPECT_FALSE(running(importerPid));
}

}  // namespace
