// The remembered page of each book and the speed: the state file and Enter on the main page.
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ReaderFixture.h"
#include "app/Book.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/ResumeState.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class ResumeTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        remove(resumeStatePath().c_str());
    }
    void TearDown() override {
        session().resume.flush();
        remove(resumeStatePath().c_str());
        ReaderTest::TearDown();
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    // The reader's own writes, which run on a helper thread, are done before the test's.
    static void writeFile(const std::string& path, const std::string& text) {
        session().resume.flush();
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    static std::string fileText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool writeState(const ResumeState& state) {
        session().resume.flush();
        return writeResumeState(resumeStatePath(), state);
    }
    // What a new run of the reader does first.
    void restart() {
        newRun();
        startOnMainPage();
    }
    // Enter on the main page, and the page it opened.
    int enterOnTheMainPage() {
        press(kKeyEnter);
        step();
        return page() ? session().currentPage : 0;
    }
};

TEST_F(ResumeTest, ThePageOpenedLastIsBackAfterARestartAndEnterOpensIt) {
    std::string path = resumeStatePath();
    EXPECT_EQ(userDataFolder() + "/pagly/state.txt", path) << "beside the first-run marker";
    openPage(14);
    press(kKeyRight);  // page 15
    settle();
    ASSERT_EQ(15, session().currentPage);
    session().resume.flush();
    EXPECT_EQ("pagly-state 2\nbook " + bookKey() + "\npage 15\n", fileText(path));
    EXPECT_EQ(0u, stateFileTemporaries().size()) << "no temporary file left behind";

    restart();
    EXPECT_EQ(15, rememberedPage());
    EXPECT_EQ(15, enterOnTheMainPage());
}

TEST_F(ResumeTest, EveryRunStartsReadingOnWhateverModeTheLastOneChose) {
    // A learner without a keyboard cannot reach the reading modes: a mode kept from an earlier
    // run would keep them in it for good.
    writeFile(resumeStatePath(), "pagly-state 1\npage 20\nmode 1\n");
    restart();
    EXPECT_EQ(ReadOn, session().readingMode);
    EXPECT_EQ(20, rememberedPage()) << "the page of the older file is still taken";
    openPage(20);
    session().readingMode = ReadByTouch;  // chosen on the settings overlay
    press(kKeyRight);
    settle();
    restart();
    EXPECT_EQ(ReadOn, session().readingMode);
    EXPECT_EQ(21, rememberedPage());
    EXPECT_EQ(21, enterOnTheMainPage());
    EXPECT_TRUE(page()->playPauseItem()->isVisible()) << "automatic reading can be started";
}

TEST_F(ResumeTest, EachBookHasItsOwnPageAndAPageTheBookLacksOpensItsFirstPage) {
    std::string other = bookKey() + "-elsewhere";
    ResumeState state;
    state.setPage(other, 40);
    state.setPage(bookKey(), 9);
    ASSERT_TRUE(writeState(state));
    restart();
    EXPECT_EQ(9, rememberedPage());
    openPage(12);
    settle();
    session().resume.flush();
    ResumeState after = readResumeState(resumeStatePath());
    EXPECT_EQ(12, after.pageOf(bookKey()));
    EXPECT_EQ(40, after.pageOf(other)) << "another book's page is kept";

    // Another book folder, never read before, opens its own first page.
    state = ResumeState();
    state.setPage(other, 40);
    ASSERT_TRUE(writeState(state));
    restart();
    EXPECT_EQ(0, rememberedPage());
    EXPECT_EQ(2, enterOnTheMainPage());

    // A page this book does not have (the book changed since) opens the first page too.
    state.setPage(bookKey(), 500);
    ASSERT_TRUE(writeState(state));
    restart();
    EXPECT_EQ(0, rememberedPage());
    EXPECT_EQ(session().book.startPage(), enterOnTheMainPage());
}

TEST_F(ResumeTest, EnterWithNothingRememberedOpensTheFirstPageOfUnitOne) {
    restart();
    EXPECT_EQ(ReadOn, session().readingMode);
    EXPECT_EQ(2, enterOnTheMainPage());
}

TEST_F(ResumeTest, ADamagedOrForeignStateFileIsIgnoredWithALogLine) {
    const std::string big(20000, 'x');
    const std::string cases[] = {
        "",
        "hello\n",
        "pagly-state 3\npage 12\n",
        "pagly-state 2\npage 12\n",
        "pagly-state 2\nbook relative/path\npage 12\n",
        "pagly-state 2\nbook " + bookKey() + "\npage 0\n",
        "pagly-state 2\nbook " + bookKey() + "\npage 12x\n",
        "pagly-state 1\npage 500\n",
        "pagly-state 1\npage 1\n",
        "pagly-state 1\npage twelve\n",
        "pagly-state 1\npage 12x\n",
        "pagly-state 1\nmode 9\n",
        "pagly-state 1\nmode \n",
        std::string("pagly-state 1\npage 12\n") + '\0',
        "pagly-state 1\n" + big,
        "{\"page\": 12}",
    };
    for (const std::string& text : cases) {
        writeFile(resumeStatePath(), text);
        clearLog();
        restart();
        EXPECT_EQ(ReadOn, session().readingMode) << text.substr(0, 40);
        EXPECT_EQ(0, rememberedPage()) << text.substr(0, 40);
        bool said = false;
        for (const std::string& line : logLines())
            said = said || line.find("state file") != std::string::npos;
        EXPECT_TRUE(said) << text.substr(0, 40);
        EXPECT_EQ(2, enterOnTheMainPage());
    }
}

TEST_F(ResumeTest, FieldsOfALaterVersionAreSkipped) {
    writeFile(resumeStatePath(), "pagly-state 2\nspeed 1.25\nbook " + bookKey() +
                                     "\nvoice narrator two\npage 33\n\ncolour blue\n");
    clearLog();
    restart();
    EXPECT_EQ(33, rememberedPage());
    EXPECT_EQ(1.25f, rememberedSpeechSpeed());
    for (const std::string& line : logLines())
        EXPECT_EQ(std::string::npos, line.find("state file")) << line;
}

TEST_F(ResumeTest, SomethingThatIsNotAFileAtTheStatePathIsNeverOpened) {
    std::string path = resumeStatePath();
    // A pipe would stall a reader opening it until someone writes to its other end.
    ASSERT_EQ(0, mkfifo(path.c_str(), 0644));
    clearLog();
    restart();
    EXPECT_EQ(0, rememberedPage());
    openPage(7);
    press(kKeyRight);
    settle();
    session().resume.flush();
    struct stat st;
    ASSERT_EQ(0, lstat(path.c_str(), &st));
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "left as it was";
    EXPECT_EQ(0u, stateFileTemporaries().size());
    int said = 0;
    for (const std::string& line : logLines())
        said += line.find("is not a file") != std::string::npos;
    EXPECT_EQ(1, said) << "said once, however often the page changes";
    remove(path.c_str());

    // A folder in its place: not read, not written over.
    ASSERT_EQ(0, mkdir(path.c_str(), 0755));
    restart();
    openPage(7);
    settle();
    session().resume.flush();
    ASSERT_EQ(0, lstat(path.c_str(), &st));
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_FALSE(writeResumeState(path, ResumeState()));
    rmdir(path.c_str());
}

TEST_F(ResumeTest, AFailedWriteLeavesTheOldFileWhole) {
    std::string path = resumeStatePath();
    ResumeState old;
    old.setPage(bookKey(), 20);
    ASSERT_TRUE(writeResumeState(path, old));
    // A crash in an earlier write left its temporary file: it is neither read nor in the way.
    writeFile(path + ".new", "pagly-st");
    writeFile(path + ".AbC123", "pagly-st");
    EXPECT_EQ(20, readResumeState(path).pageOf(bookKey()));
    ResumeState next;
    next.setPage(bookKey(), 21);
    ASSERT_TRUE(writeResumeState(path, next));
    EXPECT_EQ(21, readResumeState(path).pageOf(bookKey()));
    remove((path + ".new").c_str());
    remove((path + ".AbC123").c_str());
    EXPECT_EQ(0u, stateFileTemporaries().size()) << "each write's temporary file is its own";

    // A file in a folder that does not exist cannot be written, and says so.
    clearLog();
    EXPECT_FALSE(writeResumeState(userDataFolder() + "/no/such/folder/state.txt", next));
    bool said = false;
    for (const std::string& line : logLines())
        said = said || line.find("could not write the state file") != std::string::npos;
    EXPECT_TRUE(said);
}

// Two readers of two books at once: each write merges this run's change into the file as it
// is then, so neither loses the other's page, and the speed is the one chosen last (a run that
// did not change it never writes back the value it read at start).
TEST_F(ResumeTest, TwoReadersOfTwoBooksKeepEachOthersPageAndTheSpeedChosenLast) {
    std::string path = resumeStatePath();
    ResumeState start;
    start.setPage("/books/b", 3);
    start.setPage("/books/a", 10);
    ASSERT_TRUE(writeState(start));
    ResumeMemory a, b;
    a.restore(path, "/books/a");
    b.restore(path, "/books/b");
    struct Step {
        const char* what;
        ResumeMemory* reader;
        int page;     // 0: the step changes the speed
        float speed;  // the speed chosen
        int pageA, pageB;
        float fileSpeed;
    };
    const Step steps[] = {
        {"B turns", &b, 4, 0, 10, 4, 0},
        {"A turns", &a, 11, 0, 11, 4, 0},
        {"B chooses a speed", &b, 0, 1.25f, 11, 4, 1.25f},
        {"A turns again", &a, 12, 0, 12, 4, 1.25f},
        {"A chooses a speed", &a, 0, 0.75f, 12, 4, 0.75f},
        {"B turns again", &b, 5, 0, 12, 5, 0.75f},
    };
    for (const Step& step : steps) {
        if (step.page)
            step.reader->rememberPage(step.page);
        else
            step.reader->rememberSpeed(step.speed);
        step.reader->flush();
        ResumeState file = readResumeState(path);
        EXPECT_EQ(step.pageA, file.pageOf("/books/a")) << step.what;
        EXPECT_EQ(step.pageB, file.pageOf("/books/b")) << step.what;
        EXPECT_EQ(step.fileSpeed, file.speed) << step.what;
    }
    EXPECT_EQ(0, access((path + ".lock").c_str(), F_OK)) << "the lock file beside it";
    EXPECT_EQ(0u, stateFileTemporaries().size());
}

// Two processes, each turning its own book 200 times through its own writer as fast as it can
// (one choosing speeds on the way): after each of its writes a process finds its own page in a
// whole file, and at the end both last pages and the speed chosen last are there.
TEST_F(ResumeTest, TwoReadersWritingAtOnceLeaveOneWholeFile) {
    std::string path = resumeStatePath();
    session().resume.flush();
    const int kTurns = 200;
    // Each says it is ready and waits for the other, so that their turns overlap.
    int toChild[2], toParent[2];
    ASSERT_EQ(0, pipe(toChild));
    ASSERT_EQ(0, pipe(toParent));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    const bool inChild = child == 0;
    char ready = 'r';
    if (write(inChild ? toParent[1] : toChild[1], &ready, 1) != 1 ||
        read(inChild ? toChild[0] : toParent[0], &ready, 1) != 1) {
        if (inChild) _exit(3);
        ADD_FAILURE() << "the child never got ready";
    }
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) close(fd);
    const std::string book = inChild ? "/book/of/the/child" : "/book/of/the/parent";
    const std::string otherBook = inChild ? "/book/of/the/parent" : "/book/of/the/child";
    const int firstPage = inChild ? 1000 : 2000, otherFirst = inChild ? 2000 : 1000;
    int lost = 0, backwards = 0, otherSeen = 0;
    {
        ResumeMemory memory;
        memory.restore(path, book);
        for (int i = 0; i < kTurns; ++i) {
            memory.rememberPage(firstPage + i);
            if (inChild && i == 0) memory.rememberSpeed(1.25f);
            if (inChild && i == kTurns / 2) memory.rememberSpeed(0.75f);
            memory.flush();
            ResumeState seen = readResumeState(path);
            lost += seen.pageOf(book) != firstPage + i;
            int other = seen.pageOf(otherBook);
            if (other) {
                backwards += other < otherSeen || other < otherFirst;
                otherSeen = other;
            }
        }
    }
    if (inChild) _exit(lost ? 1 : backwards ? 2 : 0);
    EXPECT_EQ(0, lost) << "reads after this process's own write without its page";
    EXPECT_EQ(0, backwards) << "the other's page went back";
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status))
        << "1: the child lost its page; 2: ours went back; 3: no start";
    ResumeState end = readResumeState(path);
    EXPECT_EQ(2u, end.pages.size());
    EXPECT_EQ(1000 + kTurns - 1, end.pageOf("/book/of/the/child"));
    EXPECT_EQ(2000 + kTurns - 1, end.pageOf("/book/of/the/parent"));
    EXPECT_EQ(0.75f, end.speed) << "the speed chosen last; the parent never chose one";
    EXPECT_EQ(0u, stateFileTemporaries().size());
}

}  // namespace
