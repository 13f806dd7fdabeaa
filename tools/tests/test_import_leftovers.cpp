// A conversion stopped anywhere leaves nothing behind: the importer, run as the reader runs
// it, is held at a named stage (unpacking, cutting clips, starting the browser), stopped
// there with SIGTERM or SIGINT, and its temporary folder and the folder beside its target
// must be empty. Killed outright (SIGKILL) it cannot tidy up; its next start does.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/import/FileTree.h"
#include "tools/import/HeadlessBrowser.h"
#include "tools/tests/ImportFixtures.h"

extern char** environ;

namespace pt = pagly::testing;

namespace {

// Names in `folder`, "." and ".." left out.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> out;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                out.push_back(e->d_name);
        closedir(dir);
    }
    return out;
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += n + " ";
    return out;
}

// Whether a process on this machine names `text` in its command line.
bool anyProcessNames(const std::string& text) {
    for (const std::string& entry : namesIn("/proc")) {
        if (entry.find_first_not_of("0123456789") != std::string::npos) continue;
        FILE* f = std::fopen(("/proc/" + entry + "/cmdline").c_str(), "rb");
        if (!f) continue;
        std::string command;
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) command.append(chunk, n);
        std::fclose(f);
        if (command.find(text) != std::string::npos) return true;
    }
    return false;
}

class ImportLeftovers : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pagly::import::HeadlessBrowser::available()) GTEST_SKIP() << "no headless browser";
        ASSERT_TRUE(pt::epubFixtures().made);
        ASSERT_TRUE(pagly::import::makeFolder(m_scratch / "tmp") &&
                    pagly::import::makeFolder(m_scratch / "cache"));
    }

    // Starts the importer on the fixture book, held at `stage` (empty: not held); its standard
    // error comes back through m_errors.
    pid_t start(const std::string& stage, const std::string& source) {
        int pipes[2];
        if (pipe2(pipes, O_CLOEXEC) != 0) return -1;
        std::vector<std::string> args = {PAGLY_IMPORT_TOOL, "--chrome", PAGLY_BOOK_DIR, source,
                                         m_scratch / "cache/book"};
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string entry = *e;
            if (entry.rfind("TMPDIR=", 0) && entry.rfind("XDG_CONFIG_HOME=", 0) &&
                entry.rfind("PAGLY_IMPORT_HOLD_AT=", 0))
                env.push_back(entry);
        }
        env.push_back("TMPDIR=" + (m_scratch / "tmp"));
        env.push_back("XDG_CONFIG_HOME=" + (m_scratch / "config"));
        if (!stage.empty()) env.push_back("PAGLY_IMPORT_HOLD_AT=" + stage);
        std::vector<char*> argv, envp;
        for (std::string& a : args) argv.push_back(a.data());
        for (std::string& e : env) envp.push_back(e.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipes[1], 2);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(pipes[1]);
        m_errors = fdopen(pipes[0], "r");
        return pid;
    }
    // Reads the importer's standard error until it holds at `stage`; false when it ended first.
    bool waitUntilHeld(const std::string& stage) {
        char line[4096];
        while (m_errors && std::fgets(line, sizeof line, m_errors)) {
            m_said += line;
            if (std::string(line) == "pagly-import: holding at " + stage + "\n") return true;
        }
        return false;
    }
    int finish(pid_t pid) {
        char line[4096];
        while (m_errors && std::fgets(line, sizeof line, m_errors)) m_said += line;
        if (m_errors) std::fclose(m_errors);
        m_errors = nullptr;
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    }

    pt::ScratchFolder m_scratch;
    FILE* m_errors = nullptr;
    std::string m_said;
};

TEST_F(ImportLeftovers, StoppedAtAnyStageItLeavesNothing) {
    struct Case {
        const char* stage;
        int signal;
    } cases[] = {{"unzip", SIGTERM}, {"clips", SIGINT}, {"browser", SIGTERM}, {"clips", SIGTERM}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stage) + " " + strsignal(c.signal));
        m_said.clear();
        pid_t pid = start(c.stage, pt::epubFixtures().fixedEpub);
        ASSERT_GT(pid, 0);
        bool held = waitUntilHeld(c.stage);
        if (held) kill(pid, c.signal);
        int status = finish(pid);
        ASSERT_TRUE(held) << m_said;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << m_said;
        EXPECT_NE(std::string::npos, m_said.find("cancelled")) << m_said;
        EXPECT_EQ("", joined(namesIn(m_scratch / "tmp")));
        EXPECT_EQ("", joined(namesIn(m_scratch / "cache")));
    }
}

TEST_F(ImportLeftovers, KilledOutrightItsNextStartRemovesWhatItLeft) {
    pid_t pid = start("clips", pt::epubFixtures().fixedEpub);
    ASSERT_GT(pid, 0);
    bool held = waitUntilHeld("clips");
    kill(pid, SIGKILL);
    finish(pid);
    ASSERT_TRUE(held) << m_said;
    // The unpacked book and the browser's profile, and the unfinished book beside its target.
    EXPECT_EQ(2u, namesIn(m_scratch / "tmp").size()) << joined(namesIn(m_scratch / "tmp"));
    EXPECT_EQ(1u, namesIn(m_scratch / "cache").size());

    // The next start, even of a book that is not there, tidies up first: the orphaned browser
    // is ended too.
    pid = start("", m_scratch / "no-such-book.epub");
    ASSERT_GT(pid, 0);
    int status = finish(pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << m_said;
    EXPECT_EQ("", joined(namesIn(m_scratch / "tmp")));
    EXPECT_EQ("", joined(namesIn(m_scratch / "cache")));
    // Killed processes linger a moment before they are gone.
    bool lingering = true;
    for (int i = 0; i < 400 && lingering; ++i) {
        lingering = anyProcessNames(m_scratch / "tmp");
        if (lingering) usleep(25000);
    }
    EXPECT_FALSE(lingering) << "the killed conversion's browser still runs";
}

}  // namespace
