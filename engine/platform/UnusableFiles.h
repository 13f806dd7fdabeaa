#pragma once

#include <string>

namespace pagly::engine {

// The one place that tells an author which book file the reader cannot use and why: one log
// line "cannot use <file>: <reason>" the first time a file is met in a run, nothing when the
// same file is met again with the same problem (automatic reading would otherwise repeat a broken
// recording's line every sentence). The file is shown as the book names it: a path under the
// resource root loses the root. Returns true when the line was written.
bool reportUnusableFile(const std::string& path, const std::string& reason);

// The name reportUnusableFile shows for a path: relative to the resource root when it lies
// under it, else as given.
std::string bookFileName(const std::string& path);

// For a problem that leaves the file usable in part (the caller says what it does instead):
// true the first time this problem of this file is met in a run, so that it is logged once.
bool firstTimeMet(const std::string& path, const std::string& problem);

// Why a file that cannot be read cannot: "it is missing", "it is a folder, not a file" or
// "it cannot be read".
std::string whyUnreadable(const std::string& fullPath);

// Forgets the files reported so far (a test starting afresh).
void forgetUnusableFiles();

}  // namespace pagly::engine
