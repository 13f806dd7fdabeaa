// The first open of a book from elsewhere: the import screen follows the importer page by
// page, then the converted book opens on its main page; a refused book says why and lets the
// learner close the reader with a click or a key (never with a wheel notch).
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ReaderFixture.h"
#include "app/BookImport.h"
#include "app/ImportScreen.h"
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
    ImportScreen* screen =
        startImport(importer("echo 'cannot use OEBPS/book.opf: not XML (line 1)' >&2\n"
                             "echo 'nothing in the book can be read aloud' >&2\n"
                             "exit 1\n"));
    ASSERT_TRUE(stepUntil([&] { return screen->hasFailed(); }));
    EXPECT_EQ(screen->headingText(), "This book cannot be opened");
    EXPECT_EQ(screen->progressText(), "nothing in the book can be read aloud");
    EXPECT_FALSE(fs::exists(m_dir + "/cache/converted"));

    CCKeypadDispatcher* keys = CCDirector::sharedDirector()->getKeypadDispatcher();
    keys->dispatchKey(kKeyDown);  // a wheel notch
    EXPECT_FALSE(CCApplication::sharedApplication()->isQuitting());
    tap(320, 480);
    EXPECT_TRUE(CCApplication::sharedApplication()->isQuitting());
}

TEST_F(ImportScreenTest, AnImporterThatWritesNoBookIsNotTakenAtItsWord) {
    ImportScreen* screen = startImport(importer("mkdir \"$2\"\necho 'page 1 of 1'\n"));
    ASSERT_TRUE(stepUntil([&] { return screen->hasFailed(); }));
    EXPECT_NE(screen->progressText().find("holds no book"), std::string::npos)
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
    EXPECT_NE(screen->progressText().find("importer"), std::string::npos);
    CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(kKeyEscape);
    EXPECT_TRUE(CCApplication::sharedApplication()->isQuitting());
}

}  // namespace
