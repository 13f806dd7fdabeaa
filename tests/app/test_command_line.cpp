#include <gtest/gtest.h>

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

}  // namespace
