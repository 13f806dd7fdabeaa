#pragma once

#include <string>

namespace pagly {

// What the window says when a book cannot be opened: what is wrong with which file, and what
// the person can do, in words a learner or a teacher understands. The terminal keeps the
// detailed lines; these are for people who started the reader from a file manager or a menu.

// The book's name as the window quotes it: the last part of its path.
std::string shownBookName(const std::string& path);

// Why the reader cannot open `path` as a book, in plain words (`path` is missing, a dangling
// link, unreadable, or neither a book folder nor a book from elsewhere).
std::string plainPathProblem(const std::string& path);

// The importer's reason for refusing the book `path`, in plain words.
std::string plainImportRefusal(const std::string& path, const std::string& reason);

// The importer itself could not be run, or ended without a word.
std::string plainImporterFailure();

// The converted book could not be kept (its folder could not be made, or the importer left
// no book behind).
std::string plainSavingProblem(const std::string& path);

}  // namespace pagly
