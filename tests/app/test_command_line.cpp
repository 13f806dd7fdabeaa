#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/CommandLine.h"

using namespace pagly;

namespace {

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "pagly");
    return parseCommandLine((int)args.size(), args.data());
}

TEST(CommandLine, ReadsABookFolderHelpAndRejectsWhatItDoesNotKnow) {
    struct Case {
        std::vector<const char*> args;
        CommandLine::Action action;
        const char* bookDir;
    } cases[] = {
        {{}, CommandLine::Run, ""},
        {{"mybook"}, CommandLine::Run, "mybook"},
        {{"--", "-odd name"}, CommandLine::Run, "-odd name"},
        {{"-h"}, CommandLine::Help, ""},
        {{"mybook", "--help"}, CommandLine::Help, "mybook"},
        {{"--version"}, CommandLine::Version, ""},
        {{"--", "--version"}, CommandLine::Run, "--version"},
        {{"-v"}, CommandLine::Error, ""},
        {{"--fullscreen"}, CommandLine::Error, ""},
        {{"one", "two"}, CommandLine::Error, "one"},
        {{""}, CommandLine::Error, ""},
    };
    for (const Case& c : cases) {
        CommandLine line = parse(c.args);
        std::string shown = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(c.action, line.action) << shown;
        EXPECT_EQ(c.bookDir, line.bookDir) << shown;
        EXPECT_EQ(c.action == CommandLine::Error, !line.error.empty()) << shown;
    }
}

TEST(CommandLine, ABookFolderMustHoldTheInterfaceTexts) {
    EXPECT_EQ("", bookFolderProblem(PAGLY_BOOK_DIR));
    EXPECT_NE(std::string::npos,
              bookFolderProblem(PAGLY_FIXTURES_DIR).find("String.xml is missing"));
    EXPECT_NE(std::string::npos, bookFolderProblem("/no/such/folder").find("is not a folder"));
    EXPECT_NE(std::string::npos,
              bookFolderProblem(std::string(PAGLY_BOOK_DIR) + "/String.xml").find("not a folder"));
}

TEST(CommandLine, TheVersionIsTheProjects) {
    // The package's version is the project's too; a build without one would print "unknown".
    EXPECT_TRUE(std::regex_match(versionText(), std::regex("pagly [0-9]+(\\.[0-9]+)+\n")))
        << versionText();
}

TEST(CommandLine, TheKeyTableIsFoundInTheInstallLayoutElseInTheSourceTree) {
    char pattern[] = "/tmp/pagly-keytable-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    std::string root = pattern;
    std::string bin = root + "/bin";
    std::string doc = root + "/share/doc/pagly";
    ASSERT_EQ(0, system(("mkdir -p '" + bin + "' '" + doc + "'").c_str()));

    // Without the installed README the source tree's is named (a build tree run).
    std::string fromSource = keyTableFile(bin);
    struct stat st;
    EXPECT_EQ(0, stat(fromSource.c_str(), &st)) << fromSource;
    EXPECT_NE(std::string::npos, fromSource.rfind("/README.md")) << fromSource;
    EXPECT_EQ(fromSource, keyTableFile(""));

    std::ofstream(doc + "/README.md") << "| to | do |\n";
    char* real = realpath((doc + "/README.md").c_str(), nullptr);
    ASSERT_NE(nullptr, real);
    std::string installed = real;
    free(real);
    EXPECT_EQ(installed, keyTableFile(bin));
    EXPECT_EQ(installed, keyTableFile(bin + "/"));
    EXPECT_EQ(std::string::npos, installed.find("/../"));
    ASSERT_EQ(0, system(("rm -rf '" + root + "'").c_str()));
}

}  // namespace
