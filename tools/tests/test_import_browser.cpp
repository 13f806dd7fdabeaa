// The headless browser seam when the browser misbehaves: missing, dying at once, or never
// answering. Each is a clear reason, in bounded time, with no process or folder left behind.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <signal.h>
#include <stdlib.h>

#include "tools/import/BookWriter.h"
#include "tools/import/FileTree.h"
#include "tools/import/HeadlessBrowser.h"

using namespace pagly::import;

namespace {

// Runs with $PAGLY_CHROMIUM set to a stand-in program, and puts it back after.
class StandInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = makeTemporaryFolder("pagly-browser-test-");
        ASSERT_FALSE(m_dir.empty());
        const char* old = getenv("PAGLY_CHROMIUM");
        m_had = old != nullptr;
        if (old) m_old = old;
    }
    void TearDown() override {
        if (m_had) {
            setenv("PAGLY_CHROMIUM", m_old.c_str(), 1);
        } else {
            unsetenv("PAGLY_CHROMIUM");
        }
        removeTree(m_dir);
    }
    // A shell script standing in for the browser; it writes its process id first.
    std::string script(const std::string& body) {
        std::string path = m_dir + "/browser.sh";
        writeFile(path, "#!/bin/sh\necho $$ > '" + m_dir + "/pid'\n" + body + "\n");
        chmod(path.c_str(), 0755);
        setenv("PAGLY_CHROMIUM", path.c_str(), 1);
        return path;
    }
    pid_t standInPid() {
        std::string text;
        return readFile(m_dir + "/pid", text) ? (pid_t)atoi(text.c_str()) : 0;
    }

    std::string m_dir, m_old;
    bool m_had = false;
};

TEST_F(StandInBrowser, OneThatNeverAnswersIsGivenUpAndKilled) {
    script("exec sleep 60");
    HeadlessBrowser browser;
    browser.timeoutSeconds = 1.0;
    std::string why;
    EXPECT_FALSE(browser.start(why));
    EXPECT_NE(std::string::npos, why.find("did not answer in time")) << why;
    pid_t pid = standInPid();
    ASSERT_GT(pid, 0);
    EXPECT_NE(0, kill(pid, 0)) << "the stand-in browser still runs";
    EXPECT_FALSE(browser.running());
}

TEST_F(StandInBrowser, OneThatEndsAtOnceIsAReasonNotAHang) {
    script("echo 'cannot open display' >&2\nexit 3");
    HeadlessBrowser browser;
    std::string why;
    EXPECT_FALSE(browser.start(why));
    EXPECT_FALSE(browser.running());
    // Whether the pipe or the process is seen to end first words the reason ("stopped
    // listening" or "ended unexpectedly"); what happened is the same: not the wait for an
    // answer running out, and what the browser said is part of the reason.
    EXPECT_EQ(std::string::npos, why.find("did not answer in time")) << why;
    EXPECT_NE(std::string::npos, why.find("the browser")) << why;
    EXPECT_NE(std::string::npos, why.find("cannot open display")) << why;
}

TEST_F(StandInBrowser, ABookIsRefusedWhenThereIsNoBrowserAndLeavesNoFolder) {
    setenv("PAGLY_CHROMIUM", (m_dir + "/no-such-browser").c_str(), 1);
    EXPECT_FALSE(HeadlessBrowser::available());
    SourceBook book;
    book.folder = m_dir;
    SourceDocument page;
    page.path = m_dir + "/p.html";
    book.documents.push_back(page);
    WriteOptions options;
    options.chromeFolder = PAGLY_BOOK_DIR;
    std::string why;
    EXPECT_FALSE(writeBook(book, m_dir + "/out", options, why));
    EXPECT_NE(std::string::npos, why.find("no browser")) << why;
    EXPECT_FALSE(isFolder(m_dir + "/out"));
    if (DIR* dir = opendir(m_dir.c_str())) {
        while (dirent* e = readdir(dir))
            EXPECT_EQ(std::string::npos, std::string(e->d_name).find("unfinished")) << e->d_name;
        closedir(dir);
    }
}

}  // namespace
