// The first open of a book from elsewhere: the window comes first, the import screen reads the
// book off the main thread, follows the importer page by page and lists what it cannot use,
// then the converted book opens on its main page; a book that cannot be opened is said in
// plain words, a click or a key closes the reader (never a wheel notch), and the reader's exit
// status is then 1.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <future>
#include <memory>
#include <fstream>
#include <string>

#include "ReaderFixture.h"
#include "app/BookImport.h"
#include "app/ImportScreen.h"
#include "app/ProblemList.h"
#include "app/ReadingSession.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;
using namespace pagly;
namespace fs = std::filesystem;

namespace {

class ImportScreenTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        char templ[] = "/tmp/pagly-importing-XXXXXX";
        m_dir = mkdtemp(templ);
        fs::create_directories(m_dir + "/book/META-INF");
        std::ofstream(m_dir + "/book/META-INF/container.xml") << "<container/>";
    }
    void TearDown() override {
        ReaderTest::TearDown();
        fs::remove_all(m_dir);
    }

    // A stand-in importer with the given body; $1 is the book, $2 the folder to write.
    std::string importer(const std::string& body) {
        std::string path = m_dir + "/importer.sh";
        std::ofstream(path) << "#!/bin/sh\n" << body;
        chmod(path.c_str(), 0755);
        return path;
    }
    ImportScreen* startImport(const std::string& importerPath) {
        AppDelegate::PendingImport pending;
        pending.source = m_dir + "/book";
        pending.folder = m_dir + "/cache/converted";
        pending.importer = importerPath;
        application().importFirst(pending);
        run(application().importScene());
        return runningLayer<ImportScreen>();
    }
    // Steps frames while the importer works (a real process: bounded, not timed).
    template <class Done>
    bool stepUntil(Done done) {
        for (int i = 0; i < 3000; ++i) {
            if (done()) return true;
            step();
            usleep(2000);
        }
        return done();
    }

    std::string m_dir;
};

TEST_F(ImportScreenTest, ShowsEachFinishedPageThenOpensTheConvertedBook) {
    // Page 1 is reported, then the importer waits for the test's word before it finishes, so
    // the screen can be seen between the two.
    std::string go = m_dir + "/go";
    ImportScreen* screen = startImport(importer(
        "echo 'page 1 of 2'\n"
        "i=0; while [ ! -e '" +
        go +
        "' ] && [ $i -lt 500 ]; do sleep 0.01; i=$((i+1)); done\n"
        "cp -rL '" +
        sandbox() +
        "' \"$2\"\n"
        "echo '{\"title\": \"Far away\", \"units\": [{\"name\": \"Story\", \"pages\": [12, 13]}]}' "
        "> \"$2/book.json\"\n"
        "echo 'page 2 of 2'\n"));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->headingText(), "Getting the book ready");
    ASSERT_TRUE(stepUntil([&] { return screen->progressText() == "page 1 of 2"; }));
    EXPECT_FLOAT_EQ(screen->barFraction(), 0.5f);

    std::ofstream(go) << "";
    ASSERT_TRUE(stepUntil([&] { return runningLayer<TestController>() != nullptr; }));
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getResourceRoot(), m_dir + "/cache/converted/");
    // The session is the converted book's: its own units and pages.
    ASSERT_EQ(session().book.unitCount(), 1);
    EXPECT_EQ(session().book.firstPage(), 12);
    EXPECT_EQ(session().book.lastPage(), 13);
}

TEST_F(ImportScreenTest, ARefusedBookSaysWhyAndAClickClosesTheReader) {
    ImportScreen* screen = startImport(
        importer("echo 'cannot use OEBPS/book.opf: not XML (line 1)' >&2\n"
                 "echo \"cannot convert $1: cannot use $1: is not a readable zip archive: Not a "
                 "zip archive\" >&2\n"
                 "exit 1\n"));
    ASSERT_TRUE(stepUntil([&] { return screen->hasFailed(); }));
    EXPECT_EQ(screen->headingText(), "This book cannot be opened");
    EXPECT_EQ(screen->progressText(),
              "\u201c"
              "book\u201d is damaged or not a complete book (it is not a readable "
              "archive). Download it again.");
    EXPECT_EQ(screen->buttonText(), "Close");
    EXPECT_EQ(screen->noteText(), "1 thing in the book cannot be used:");
    EXPECT_FALSE(fs::exists(m_dir + "/cache/converted"));
    EXPECT_EQ(application().exitStatus(), 1);

    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kKeyDown);  // a wheel notch
    EXPECT_FALSE(CCApplication::sharedApplication()->isQuitting());
    tap(320, 300);  // on the list: for reading it, it closes nothing
    EXPECT_FALSE(CCApplication::sharedApplication()->isQuitting());
    tap(320, 75);  // the Close button
    EXPECT_TRUE(CCApplication::sharedApplication()->isQuitting());
}

TEST_F(ImportScreenTest, AnImporterThatWritesNoBookIsNotTakenAtItsWord) {
    ImportScreen* screen = startImport(importer("mkdir \"$2\"\necho 'page 1 of 1'\n"));
    ASSERT_TRUE(stepUntil([&] { return screen->hasFailed(); }));
    EXPECT_NE(screen->progressText().find("could not keep the converted copy of \u201c"
                                          "book"),
              std::string::npos)
        << screen->progressText();
    EXPECT_EQ(runningLayer<TestController>(), nullptr);
}

TEST_F(ImportScreenTest, ALaterOpenGoesStraightToTheConvertedFolder) {
    const char* saved = getenv("XDG_CACHE_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CACHE_HOME", (m_dir + "/cache").c_str(), 1);
    std::string book = m_dir + "/book";

    // First open: the import is pending, the resource root untouched.
    std::string before = CCFileUtils::sharedFileUtils()->getResourceRoot();
    EXPECT_EQ(application().chooseBook(book, "/proc/self/exe"), "");
    EXPECT_TRUE(application().hasPendingImport());
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getResourceRoot(), before);

    // A half-written conversion (no book in it) is not taken for a finished one.
    std::string converted = convertedFolderFor(book);
    fs::create_directories(converted);
    EXPECT_EQ(application().chooseBook(book, "/proc/self/exe"), "");
    EXPECT_TRUE(application().hasPendingImport());

    // Once converted, the folder is opened as it is.
    fs::copy(sandbox() + "/String.xml", converted + "/String.xml");
    EXPECT_EQ(application().chooseBook(book, "/proc/self/exe"), "");
    EXPECT_FALSE(application().hasPendingImport());
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getResourceRoot(), converted + "/");

    // Neither a book folder nor a book from elsewhere: said, nothing opened.
    std::ofstream(m_dir + "/notes.txt") << "x";
    EXPECT_NE(application().chooseBook(m_dir + "/notes.txt", "/proc/self/exe"), "");
    if (saved) {
        setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }
}

TEST_F(ImportScreenTest, AMissingImporterIsSaidOnTheScreen) {
    ImportScreen* screen = startImport(m_dir + "/no-such-importer");
    ASSERT_NE(screen, nullptr);
    ASSERT_TRUE(stepUntil([&] { return screen->hasFailed(); }));
    EXPECT_NE(screen->progressText().find("(pagly-import)"), std::string::npos)
        << screen->progressText();
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(kKeyEscape);
    EXPECT_TRUE(CCApplication::sharedApplication()->isQuitting());
}

TEST_F(ImportScreenTest, TheWindowComesBeforeTheBookIsRead) {
    const char* saved = getenv("XDG_CACHE_HOME");
    std::string keep = saved ? saved : "";
    setenv("XDG_CACHE_HOME", (m_dir + "/cache").c_str(), 1);
    std::string book = m_dir + "/book";

    // Choosing the book reads none of it: no digest is known, none is remembered yet.
    EXPECT_EQ(application().chooseBook(book, "/proc/self/exe"), "");
    ASSERT_TRUE(application().hasPendingImport());
    EXPECT_EQ(application().pendingImport().folder, "");
    EXPECT_FALSE(fs::exists(m_dir + "/cache/pagly/books/stamps"));

    // The book is read by a hasher that waits for the test's word: the screen is drawn, frame
    // after frame, meanwhile.
    ImportJob job = application().pendingImport();
    job.importer = importer("cp -rL '" + sandbox() + "' \"$2\"\n");
    auto word = std::make_shared<std::promise<void>>();
    std::shared_future<void> go = word->get_future().share();
    auto reading = std::make_shared<std::atomic<bool>>(false);
    ImportJob::Locator realLocate = job.locate;
    job.locate = [go, reading, realLocate](std::string* problem, const std::atomic<bool>* stop) {
        *reading = true;
        go.wait();
        return realLocate(problem, stop);
    };
    application().importFirst(job);
    run(application().importScene());
    ASSERT_TRUE(stepUntil([&] { return reading->load(); }));
    for (int frame = 0; frame < 5; ++frame) step();
    ImportScreen* screen = runningLayer<ImportScreen>();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->headingText(), "Getting the book ready");
    EXPECT_EQ(screen->progressText(), "reading the book");

    word->set_value();
    ASSERT_TRUE(stepUntil([&] { return runningLayer<TestController>() != nullptr; }));
    EXPECT_EQ(CCFileUtils::sharedFileUtils()->getResourceRoot(), convertedFolderFor(book) + "/");
    // Now remembered, a later open goes straight to the book, with no import screen.
    EXPECT_EQ(application().chooseBook(book, "/proc/self/exe"), "");
    EXPECT_FALSE(application().hasPendingImport());
    if (saved) {
        setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CACHE_HOME");
    }
}

TEST_F(ImportScreenTest, WhatIsNoBookIsSaidInTheWindowInPlainWords) {
    std::ofstream(m_dir + "/notes.txt") << "x";
    ASSERT_EQ(0, symlink((m_dir + "/gone.epub").c_str(), (m_dir + "/link.epub").c_str()));
    fs::create_directories(m_dir + "/holiday/photos");
    std::ofstream(m_dir + "/holiday/Our holiday.html") << "<html><body>Sun</body></html>";
    std::ofstream(m_dir + "/holiday/photos/1.jpg") << std::string(4096, 'x');
    struct Case {
        std::string path, words;
    } cases[] = {
        {m_dir + "/missing.epub",
         "pagly cannot find \u201cmissing.epub\u201d. Check the name, or open the book from "
         "the file manager."},
        {m_dir + "/link.epub", "\u201clink.epub\u201d is a link to a book that is no longer there"},
        {m_dir + "/notes.txt", "\u201cnotes.txt\u201d is not a book pagly can open."},
        {m_dir + "/holiday", "The folder \u201choliday\u201d holds no book pagly can open."},
    };
    for (const Case& c : cases) {
        newRun();
        // The terminal keeps its line; the window says it too, and the reader then ends with 1.
        EXPECT_NE(application().chooseBook(c.path, "/proc/self/exe"), "") << c.path;
        ASSERT_TRUE(application().hasRefusal()) << c.path;
        EXPECT_FALSE(application().hasPendingImport()) << c.path;
        run(application().importScene());
        step();
        ImportScreen* screen = runningLayer<ImportScreen>();
        ASSERT_NE(screen, nullptr) << c.path;
        EXPECT_TRUE(screen->hasFailed());
        EXPECT_EQ(screen->headingText(), "This book cannot be opened");
        EXPECT_EQ(screen->progressText().rfind(c.words, 0), 0u) << screen->progressText();
        EXPECT_EQ(screen->buttonText(), "Close");
        EXPECT_EQ(application().exitStatus(), 1);
        CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(kKeyEnter);
        EXPECT_TRUE(CCApplication::sharedApplication()->isQuitting()) << c.path;
    }
}

TEST_F(ImportScreenTest, TheThingsThatCannotBeUsedAreListedAndTheListScrolls) {
    const int kCount = 40;
    ImportScreen* screen = startImport(importer(
        "i=1; while [ $i -le " + std::to_string(kCount) +
        " ]; do echo \"cannot use pictures/p$i.png: the file is missing\" >&2; i=$((i+1)); "
        "done\n"
        "cp -rL '" +
        sandbox() + "' \"$2\"\necho 'page 1 of 1'\n"));
    ASSERT_TRUE(stepUntil([&] { return screen->isWaitingToOpen(); }));
    // The book is ready, but waits until the person has seen what it goes without.
    EXPECT_EQ(screen->headingText(), "The book is ready");
    EXPECT_EQ(screen->noteText(), std::to_string(kCount) + " things in the book cannot be used:");
    EXPECT_EQ(screen->buttonText(), "Open the book");
    ProblemList* list = screen->problemList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->lineCount(), size_t(kCount));
    EXPECT_EQ(list->lineText(0), "pictures/p1.png: the file is missing");
    EXPECT_TRUE(list->isLineInView(0));
    EXPECT_FALSE(list->isLineInView(kCount - 1));

    // The wheel and the arrow keys scroll it to its end and no further; no key leaves.
    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    for (int i = 0; i < 3 * kCount; ++i) keys->dispatchKey(i % 2 ? kKeyDown : kKeyArrowDown);
    EXPECT_TRUE(list->isLineInView(kCount - 1));
    EXPECT_FALSE(list->isLineInView(0));
    EXPECT_FLOAT_EQ(list->scrollOffset(), list->longestScroll());
    // A drag down the list brings its top back; it opens nothing.
    CCRect box = list->boundingBox();
    drag(CCPoint(box.getMidX(), box.getMaxY() - 20), CCPoint(box.getMidX(), box.getMinY() - 2000));
    EXPECT_TRUE(list->isLineInView(0));
    EXPECT_EQ(runningLayer<TestController>(), nullptr);
    EXPECT_TRUE(screen->isWaitingToOpen());

    keys->dispatchKey(kKeyEnter);
    ASSERT_TRUE(stepUntil([&] { return runningLayer<TestController>() != nullptr; }));
    EXPECT_EQ(application().exitStatus(), 0);
}

}  // namespace
