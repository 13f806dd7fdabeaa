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

namespace {

// An install layout in a temporary folder: <prefix>/bin/pagly and its book in
// <prefix>/share/pagly/book, and a book of the user's own beside it.
TEST(CommandLine, ABookInAnInstalledShareFolderIsReadOnlyHoweverItIsNamed) {
    char templ[] = "/tmp/pagly-layout-XXXXXX";
    std::string dir = mkdtemp(templ);
    std::string prefix = dir + "/prefix";
    std::string book = prefix + "/share/pagly/book";
    std::string reader = prefix + "/bin/pagly";
    std::string own = dir + "/own/book";
    for (const std::string& folder : {book, prefix + "/bin", own, prefix + "/share-not/book"})
        ASSERT_EQ(0, system(("mkdir -p '" + folder + "'").c_str()));
    std::ofstream(reader) << "";
    ASSERT_EQ(0, symlink(book.c_str(), (dir + "/link").c_str()));
    const char* saved = getenv("XDG_DATA_DIRS");
    std::string keep = saved ? saved : "";
    // The system's data folders are elsewhere here: only the layout beside the reader counts.
    setenv("XDG_DATA_DIRS", (dir + "/system-share").c_str(), 1);

    struct Case {
        std::string path;
        bool shared;
    } cases[] = {
        {book, true},
        {book + "/", true},
        {dir + "/link", true},
        {prefix + "/bin/../share/pagly/book", true},
        {own + "/../../prefix/share/pagly/./book", true},
        {own, false},
        {dir + "/prefix/share-not/book", false},
        {dir + "/missing", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shared, isInInstalledShareFolder(c.path, reader)) << c.path;
    // The system's data folders count too, whatever the reader's place.
    setenv("XDG_DATA_DIRS", ("relative:" + dir + "/own").c_str(), 1);
    EXPECT_TRUE(isInInstalledShareFolder(own, "/no/reader/here"));
    EXPECT_FALSE(isInInstalledShareFolder(book, "/no/reader/here"));

    if (saved)
        setenv("XDG_DATA_DIRS", keep.c_str(), 1);
    else
        unsetenv("XDG_DATA_DIRS");
    ASSERT_EQ(0, system(("rm -rf '" + dir + "'").c_str()));
}

}  // namespace
