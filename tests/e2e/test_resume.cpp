// The remembered page and reading mode: the state file and Enter on the main page.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingState.h"
#include "app/ResumeState.h"
#include "app/TableOfContents.h"
#include "app/TestController.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"

using namespace pagly::engine;
using namespace pagly;

namespace {

class ResumeTest : public pagly::test::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        remove(resumeStatePath().c_str());
        remove((resumeStatePath() + ".new").c_str());
    }
    void TearDown() override {
        remove(resumeStatePath().c_str());
        remove((resumeStatePath() + ".new").c_str());
        ReaderTest::TearDown();
    }
    void press(int key) { CCDirector::sharedDirector()->getKeypadDispatcher()->dispatchKey(key); }
    static void writeFile(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    static std::string fileText(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // What a new run of the reader does first.
    void restart() {
        resetReadingState();
        restoreResumeState();
        startOnMainPage();
    }
};

TEST_F(ResumeTest, ThePageOpenedLastAndTheModeAreBackAfterARestartAndEnterOpensThePage) {
    std::string path = resumeStatePath();
    EXPECT_EQ(userDataFolder() + "/pagly/state.txt", path) << "beside the first-run marker";
    openPage(14);
    readingMode = RepeatPage;
    rememberReadingMode();  // as the settings overlay's OK does
    press(kKeyRight);       // page 15
    settle();
    ASSERT_EQ(15, currentPage);
    EXPECT_EQ("pagly-state 1\npage 15\nmode 2\n", fileText(path));
    EXPECT_NE(0, access((path + ".new").c_str(), F_OK)) << "no temporary file left behind";

    restart();
    EXPECT_EQ(RepeatPage, readingMode);
    EXPECT_EQ(15, rememberedPage());
    press(kKeyEnter);
    step();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(15, currentPage);
}

TEST_F(ResumeTest, EnterWithNothingRememberedOpensTheFirstPageOfUnitOne) {
    restart();
    EXPECT_EQ(ReadOn, readingMode);
    press(kKeyEnter);
    step();
    ASSERT_NE(nullptr, page());
    EXPECT_EQ(2, currentPage);
}

TEST_F(ResumeTest, ADamagedOrForeignStateFileIsIgnoredWithALogLine) {
    const std::string big(20000, 'x');
    const std::string cases[] = {
        "",
        "hello\n",
        "pagly-state 2\npage 12\n",
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
        EXPECT_EQ(ReadOn, readingMode) << text.substr(0, 40);
        EXPECT_EQ(0, rememberedPage()) << text.substr(0, 40);
        bool said = false;
        for (const std::string& line : logLines())
            said = said || line.find("state file") != std::string::npos;
        EXPECT_TRUE(said) << text.substr(0, 40);
        press(kKeyEnter);
        step();
        ASSERT_NE(nullptr, page());
        EXPECT_EQ(2, currentPage);
    }
}

TEST_F(ResumeTest, FieldsOfALaterVersionAreSkipped) {
    writeFile(resumeStatePath(),
              "pagly-state 1\nspeed 1.25\npage 33\n\nvoice narrator two\nmode 1\n");
    clearLog();
    restart();
    EXPECT_EQ(33, rememberedPage());
    EXPECT_EQ(ReadByTouch, readingMode);
    for (const std::string& line : logLines())
        EXPECT_EQ(std::string::npos, line.find("state file")) << line;
}

TEST_F(ResumeTest, AFailedWriteLeavesTheOldFileWhole) {
    std::string path = resumeStatePath();
    ResumeState old;
    old.page = 20;
    old.mode = 3;
    ASSERT_TRUE(writeResumeState(path, old));
    // A crash in an earlier write left its temporary file: it is neither read nor in the way.
    writeFile(path + ".new", "pagly-st");
    EXPECT_EQ(20, readResumeState(path).page);
    ResumeState next;
    next.page = 21;
    ASSERT_TRUE(writeResumeState(path, next));
    EXPECT_EQ(21, readResumeState(path).page);

    // The temporary file cannot be made (a folder stands in its place): the write fails,
    // says so, and the file keeps what it had.
    ASSERT_EQ(0, mkdir((path + ".new").c_str(), 0755));
    clearLog();
    next.page = 22;
    EXPECT_FALSE(writeResumeState(path, next));
    EXPECT_EQ(21, readResumeState(path).page);
    bool said = false;
    for (const std::string& line : logLines())
        said = said || line.find("could not write the state file") != std::string::npos;
    EXPECT_TRUE(said);
    rmdir((path + ".new").c_str());

    // A file in a folder that does not exist cannot be written either.
    EXPECT_FALSE(writeResumeState(userDataFolder() + "/no/such/folder/state.txt", next));
}

}  // namespace
