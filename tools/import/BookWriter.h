// Writes a book from elsewhere as an ordinary pagly book folder: each page drawn by the
// headless browser becomes a page document with its picture and sentence buttons, each
// sentence's clip its own recording under the book's naming rules, second-language sentences
// its captions, and the reader's own controls, texts and fonts come from the bundled book.
// Everything is written into a folder beside the target and moved onto it at the very end,
// so a conversion that fails or is stopped halfway never leaves a folder that looks finished.
#ifndef PAGLY_TOOLS_IMPORT_BOOKWRITER_H
#define PAGLY_TOOLS_IMPORT_BOOKWRITER_H

#include <functional>
#include <string>

#include "tools/import/FolderSeal.h"
#include "tools/import/HeadlessBrowser.h"
#include "tools/import/ImportBudget.h"
#include "tools/import/SourceBook.h"

namespace pagly::import {

struct WriteOptions {
    // Where the reader's controls, texts and fonts are copied from; empty: the bundled book,
    // found as the reader finds it.
    std::string chromeFolder;
    // Called after each finished page with its number in the book's order and the number of
    // pages (which may grow while flowing documents are cut into pages).
    std::function<void(int done, int total)> progress;
    // Called once for each thing of the book that cannot be used.
    std::function<void(const ImportProblem&)> problem;
    // Recorded in the folder, so that a later conversion knows it may replace it.
    std::string source;
    // A browser already running (tests share one); null: the writer starts its own.
    HeadlessBrowser* browser = nullptr;
    // How the conversion's budget of time, pages and bytes grows with the book.
    BudgetRules budget;
};

// Whether `folder` is a book folder that the importer wrote and nobody changed since (so it
// may be replaced): its marker's seal matches it (see FolderSeal.h).
bool isImportedFolder(const std::string& folder);

// Why writing into `target` would harm the book read from `source` (`target` is the book, or
// holds it), or "".
std::string overlapWith(const std::string& source, const std::string& target);

// The bundled book whose controls, texts and fonts a converted book takes: beside the
// executable, in the install layout, else the source tree's. Empty when there is none.
std::string findChromeFolder();

// Writes `book` to `target`. False with `why` when the book is refused (nothing usable, the
// browser cannot run, the target is taken): then nothing is left at `target` that was not
// there before. A document listed twice is drawn once; when the budget is passed, the rest of
// the book is left out with one problem saying so.
bool writeBook(const SourceBook& book, const std::string& target, const WriteOptions& options,
               std::string& why);

}  // namespace pagly::import

#endif
