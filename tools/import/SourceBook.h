// What a book from elsewhere says, once read: its pages in reading order, each with the
// sentences that have a recording. The readers of each format (Bloom, EPUB) fill it; the
// book writer lays its pages out in a headless browser and writes an ordinary book folder.
// Nothing here knows the format it came from.
#ifndef PAGLY_TOOLS_IMPORT_SOURCEBOOK_H
#define PAGLY_TOOLS_IMPORT_SOURCEBOOK_H

#include <string>
#include <vector>

namespace pagly::import {

// One thing in the book that cannot be used, named for the person who made the book.
struct ImportProblem {
    std::string file;    // the file at fault, as the book names it
    std::string reason;  // why it is left out
};

// The one line a problem is told in, on the terminal and in the reader's progress. The book's
// names in it are printable().
std::string describe(const ImportProblem& problem);

// A name from a book as it may be printed on one line: what a terminal would act on (control
// characters, C1 controls, line and paragraph separators) and bytes that are not UTF-8 are
// written out ("\n", "\x1b", "\u009b", "\xff"); everything else, other scripts included,
// stays as it is. Printing it again changes nothing.
std::string printable(const std::string& text);

// One word of a sentence whose book times each word (word-level media overlays).
struct SourceWord {
    std::string elementId;  // id of the element holding the word, inside the sentence's
    std::string text;       // the word as the book prints it
    double begin = 0.0;     // seconds from the sentence clip's start
    double end = 0.0;
};

// A sentence with a recording: where the browser will find it, and which clip it is.
struct SourceSentence {
    std::string elementId;          // id of the element holding the sentence in its document
    std::string text;               // the sentence as the book prints it
    std::string audioFile;          // absolute path of the recording the clip is cut from
    double clipBegin = 0.0;         // seconds into audioFile
    double clipEnd = -1.0;          // seconds into audioFile; below 0: to the end of the file
    std::string caption;            // the sentence in the book's second language, or empty
    std::vector<SourceWord> words;  // in order, when the book times each word; else empty
};

enum class SourceLayout {
    Fixed,   // one page of the given size (a fixed-layout EPUB page, a Bloom page)
    Reflow,  // a flowing document, cut into as many pages as it takes at the reader's frame size
};

// One document as the browser loads it: a fixed page, or a flowing chapter.
struct SourceDocument {
    std::string path;  // absolute path of the (X)HTML file the browser loads
    SourceLayout layout = SourceLayout::Fixed;
    int width = 0;  // CSS pixels of a fixed page (its viewport)
    int height = 0;
    std::string pageSelector;  // a fixed page inside a document of many: the element to show alone
    std::string sectionTitle;  // not empty: a new section (unit) starts with this document
    std::vector<SourceSentence> sentences;  // in reading order
};

struct SourceBook {
    std::string title;
    std::string folder;                     // the unpacked book, every path lies inside it
    std::vector<SourceDocument> documents;  // in reading order
    int pagesPerSection = 0;                // no section titles: group this many pages per unit
    std::vector<ImportProblem> problems;    // met while reading; the book is still converted
};

}  // namespace pagly::import

#endif
