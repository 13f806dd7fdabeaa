// Plain words for a book that cannot be opened (see BookRefusal.h).
#include "app/BookRefusal.h"

#include <sys/stat.h>

#include <cerrno>
#include <initializer_list>

namespace pagly {

namespace {

std::string quoted(const std::string& path) { return "\u201c" + shownBookName(path) + "\u201d"; }

bool mentions(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* word : words)
        if (text.find(word) != std::string::npos) return true;
    return false;
}

const char* const kWhatOpens =
    "pagly opens its own book folders, Bloom talking books (.bloompub) and EPUB books with "
    "read-aloud recordings (.epub).";

}  // namespace

std::string shownBookName(const std::string& path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    size_t slash = name.find_last_of('/');
    if (slash != std::string::npos && name.size() > 1) name.erase(0, slash + 1);
    return name;
}

std::string plainPathProblem(const std::string& path) {
    struct stat link, st;
    if (lstat(path.c_str(), &link) != 0) {
        if (errno == EACCES)
            return "pagly is not allowed to look into the folder that holds " + quoted(path) +
                   ". Copy the book into one of your own folders and open it from there.";
        return "pagly cannot find " + quoted(path) +
               ". Check the name, or open the book from the file manager.";
    }
    if (stat(path.c_str(), &st) != 0)
        return quoted(path) +
               " is a link to a book that is no longer there. Open the book itself, or make "
               "the link again.";
    if (S_ISDIR(st.st_mode))
        return "The folder " + quoted(path) +
               " holds no book pagly can open. Choose the book's own folder or file. " + kWhatOpens;
    return quoted(path) + " is not a book pagly can open. " + kWhatOpens;
}

std::string plainImportRefusal(const std::string& path, const std::string& reason) {
    const std::string book = quoted(path);
    if (mentions(reason, {"zip archive", "cannot be unpacked", "Not a zip"}))
        return book +
               " is damaged or not a complete book (it is not a readable archive). Download it "
               "again.";
    if (mentions(reason, {"no recordings", "usable recording", "read aloud"}))
        return book +
               " has no recordings, so pagly cannot read it aloud. Open a talking book: a Bloom "
               "book with recorded audio, or an EPUB book with read-aloud recordings.";
    if (mentions(reason, {"browser"}))
        return "pagly needs the Chromium web browser to get " + book +
               " ready, and it could not use it. Install the chromium package (or ask whoever "
               "looks after this computer), then open the book again.";
    if (mentions(reason, {"no pages", "pages could be drawn", "no .htm", "no page that shows",
                          "neither a Bloom book"}))
        return book +
               " has no pages pagly can show. Open another copy of the book, or ask the person "
               "who made it.";
    if (mentions(reason,
                 {"cannot write", "cannot make", "cannot rename", "cannot replace", "No space"}))
        return plainSavingProblem(path);
    return "pagly could not get " + book + " ready: " + reason +
           ". Open another copy of the book, or ask the person who made it.";
}

std::string plainImporterFailure() {
    return "pagly could not run its book converter (pagly-import), which gets books from "
           "elsewhere ready. Install pagly again, then open the book again.";
}

std::string plainSavingProblem(const std::string& path) {
    return "pagly could not keep the converted copy of " + quoted(path) +
           ". Make room on the disk (or check that your home folder can be written), then open "
           "the book again.";
}

}  // namespace pagly
