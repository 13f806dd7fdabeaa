#pragma once

#include <string>

namespace pagly {

// What the command line asks for: run the reader (on the bundled book or on the book folder
// given), print the usage or the version, or stop with an error message.
struct CommandLine {
    enum Action { Run, Help, Version, Error };
    Action action = Run;
    std::string bookDir;  // empty: the bundled book
    std::string error;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The usage text printed for --help and after a command-line error.
std::string usageText();

// The version printed for --version: the build's project version, which the package shares.
std::string versionText();

// The README that holds the key table: the installed one (../share/doc/pagly beside the
// executable's folder), else the source tree's, as a canonical path. Empty when neither is
// there.
std::string keyTableFile(const std::string& executableFolder);

// Why `dir` cannot be read as a book ("" when it can): a book folder holds the interface
// text table, so an author's typo is reported instead of opening an empty reader.
std::string bookFolderProblem(const std::string& dir);

// Whether the book folder `dir` lies in an installed share folder, however it is named (a
// link, a ".."): the install layout's share folder beside the reader `readerPath`
// (<prefix>/bin/pagly: <prefix>/share), or one of the system's data folders ($XDG_DATA_DIRS,
// else /usr/local/share and /usr/share). Such a book is the package's, never written, even
// when root runs the reader.
bool isInInstalledShareFolder(const std::string& dir, const std::string& readerPath);

}  // namespace pagly
