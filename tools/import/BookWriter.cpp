// Writing a book from elsewhere as a pagly book folder (see BookWriter.h).
#include "tools/import/BookWriter.h"

#include <json/json.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "app/Book.h"
#include "app/BookNames.h"
#include "app/WordTimings.h"
#include "tools/import/BookHref.h"
#include "tools/import/ClipCutter.h"
#include "tools/import/FileTree.h"
#include "tools/import/HeadlessBrowser.h"
#include "tools/import/PageDocument.h"
#include "tools/import/PageLayout.h"
#include "tools/import/PageNumbering.h"
#include "tools/import/WorkFolder.h"

#ifndef PAGLY_SOURCE_BOOK_DIR
#define PAGLY_SOURCE_BOOK_DIR "book"
#endif

namespace pagly::import {

namespace {

// A button is this much larger than its sentence's letters on each side: easier to hit.
const double kButtonMargin = 3.0;
// A browser that dies on a hostile page is started again, but not forever.
const int kMostBrowserStarts = 3;
// Titles longer than this are cut: enough for any real title, and the book's description
// stays far below what the reader reads.
const size_t kLongestTitle = 300;

struct ReaderSentence {
    std::string clip;  // the cut recording, in the unfinished folder
    std::string text;  // as the book prints it
    std::string caption;
    ButtonPlace place;
    std::vector<TimedWord> words;  // with their rectangles; empty: the sentence has no timings
};

struct ReaderPage {
    std::string picture;
    int width = 0, height = 0;
    std::string background;
    std::string sectionTitle;
    std::string title;  // what the contents show beside the page's number
    std::vector<ReaderSentence> sentences;
};

// `text` cut to at most `longest` bytes, at a character's start.
std::string cutAtCharacter(const std::string& text, size_t longest) {
    if (text.size() <= longest) return text;
    size_t cut = longest;
    while (cut > 0 && ((unsigned char)text[cut] & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

// A page's name in the contents: the book's own table of contents entry for its document, else
// its first line; as short as a title (a long section title is told once, where it is cut).
std::string pageTitle(const SourceDocument& document, const std::vector<ReaderSentence>& kept,
                      size_t first) {
    const std::string& title = !document.sectionTitle.empty() ? document.sectionTitle
                               : first < kept.size()          ? kept[first].text
                                                              : std::string();
    return cutAtCharacter(title, kLongestTitle);
}

std::string realPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string relativeTo(const std::string& path, const std::string& folder) {
    if (!folder.empty() && path.size() > folder.size() &&
        path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/')
        return path.substr(folder.size() + 1);
    return path;
}

// The title cut to kLongestTitle bytes (at a character's start), told when it had to be.
std::string shortTitle(const std::string& title, const std::string& what,
                       const std::function<void(const ImportProblem&)>& problem) {
    if (title.size() <= kLongestTitle) return title;
    std::string cut = cutAtCharacter(title, kLongestTitle);
    problem({what, "it is " + std::to_string(title.size()) + " bytes long; only its first " +
                       std::to_string(cut.size()) + " are kept"});
    return cut;
}

std::string xmlText(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            out += ' ';  // not allowed in XML 1.0
        } else {
            out.push_back((char)c);
        }
    }
    return out;
}

std::string captionTable(const std::map<std::string, std::string>& captions) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n";
    for (const auto& entry : captions)
        xml += "\t<key>" + xmlText(entry.first) + "</key>\n\t<string>" + xmlText(entry.second) +
               "</string>\n";
    return xml + "</dict>\n</plist>\n";
}

std::string jsonFile(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = " ";
    // Four decimals: exact enough for a button's scale, and the documents stay readable.
    builder["precisionType"] = "decimal";
    builder["precision"] = 4;
    return Json::writeString(builder, value) + "\n";
}

// Where on the frame a sentence's button goes: its box moved by the picture's place in the
// frame, a little margin around it, kept on the frame.
ButtonPlace placeOnFrame(const SentenceBox& box, int pictureWidth, int pictureHeight) {
    double left = (PageLayout::kFrameWidth - pictureWidth) / 2.0;
    double top = (PageLayout::kFrameHeight - pictureHeight) / 2.0;
    double x0 = std::max(0.0, left + box.x - kButtonMargin);
    double y0 = std::max(0.0, top + box.y - kButtonMargin);
    double x1 = std::min((double)PageLayout::kFrameWidth, left + box.x + box.width + kButtonMargin);
    double y1 =
        std::min((double)PageLayout::kFrameHeight, top + box.y + box.height + kButtonMargin);
    ButtonPlace place;
    // Whole-hundredth points keep the documents readable and compare exactly in tests.
    place.x = std::round(x0 * 100) / 100;
    place.y = std::round(y0 * 100) / 100;
    place.width = std::round((x1 - x0) * 100) / 100;
    place.height = std::round((y1 - y0) * 100) / 100;
    return place;
}

// A sentence whose lines leave much of its rectangle to its neighbours (it starts or ends in
// the middle of a line) gets pictures of its own, lit only on its lines, so that the highlight
// shows this sentence and no part of the next. False when they cannot be written.
bool giveOwnPictures(const SentenceBox& box, int pictureWidth, int pictureHeight,
                     const std::string& bundle, const std::string& name, ButtonPlace& place) {
    double covered = 0;
    for (const SentenceBox::Line& line : box.lines) covered += line.width * line.height;
    if (box.lines.size() < 2 || covered >= 0.85 * box.width * box.height) return true;
    // Whole points, so that the pictures are the button's size exactly.
    double x1 = std::ceil(place.x + place.width), y1 = std::ceil(place.y + place.height);
    place.x = std::floor(place.x);
    place.y = std::floor(place.y);
    place.width = x1 - place.x;
    place.height = y1 - place.y;
    double left = (PageLayout::kFrameWidth - pictureWidth) / 2.0 - place.x;
    double top = (PageLayout::kFrameHeight - pictureHeight) / 2.0 - place.y;
    std::vector<ButtonPlace> pieces;
    for (const SentenceBox::Line& line : box.lines) {
        ButtonPlace piece;
        piece.x = left + line.x - kButtonMargin;
        piece.y = top + line.y - kButtonMargin;
        piece.width = line.width + 2 * kButtonMargin;
        piece.height = line.height + 2 * kButtonMargin;
        pieces.push_back(piece);
    }
    place.rest = name + "_rest.png";
    place.lit = name + "_lit.png";
    place.pieces = pieces;
    return writeSentencePictures(bundle + "/" + place.rest, bundle + "/" + place.lit,
                                 (int)place.width, (int)place.height, pieces);
}

// A sentence timed word by word: each word's time and its rectangle on the button, in points
// from the button's top left. Empty when a word is not shown with its sentence (the sentence
// then plays without lit words, as any sentence without timings).
std::vector<TimedWord> timedWords(const SourceSentence& sentence, const SentenceBox& box,
                                  int pictureWidth, int pictureHeight, const ButtonPlace& place) {
    std::vector<TimedWord> out;
    if (sentence.words.empty() || box.words.size() != sentence.words.size()) return out;
    double left = (PageLayout::kFrameWidth - pictureWidth) / 2.0 - place.x;
    double top = (PageLayout::kFrameHeight - pictureHeight) / 2.0 - place.y;
    for (size_t k = 0; k < sentence.words.size(); ++k) {
        const SourceWord& word = sentence.words[k];
        const SentenceBox::Line& at = box.words[k];
        if (at.width <= 0 || at.height <= 0 || word.text.empty()) return {};
        TimedWord timed;
        timed.start = word.begin;
        timed.end = word.end;
        timed.text = word.text;
        timed.hasBox = true;
        // Hundredths, as the file keeps them.
        timed.x = std::round((left + at.x) * 100) / 100;
        timed.y = std::round((top + at.y) * 100) / 100;
        timed.width = std::round(at.width * 100) / 100;
        timed.height = std::round(at.height * 100) / 100;
        out.push_back(timed);
    }
    return out;
}

// The book's documents, each listed once: a document (or a page of one) listed again is
// told and drawn only the first time.
std::vector<const SourceDocument*> distinctDocuments(
    const SourceBook& book, const std::function<void(const ImportProblem&)>& problem) {
    std::vector<const SourceDocument*> out;
    std::set<std::pair<std::string, std::string>> seen;
    for (const SourceDocument& document : book.documents) {
        if (seen.insert({document.path, document.pageSelector}).second) {
            out.push_back(&document);
        } else {
            problem({relativeTo(document.path, book.folder) +
                         (document.pageSelector.empty() ? "" : " " + document.pageSelector),
                     "it is listed more than once; it is drawn once"});
        }
    }
    return out;
}

bool chromeIsUsable(const std::string& folder) {
    return isFile(folder + "/3age/pageset.json") && isFile(folder + "/String.xml") &&
           isFolder(folder + "/Images");
}

}  // namespace

bool isImportedFolder(const std::string& folder) { return hasValidSeal(folder); }

std::string overlapWith(const std::string& givenSource, const std::string& givenTarget) {
    std::string source = realPath(givenSource), target = absolutePath(givenTarget);
    // The target's real place, as far as it exists.
    std::string real = realPath(target);
    if (!real.empty()) target = real;
    if (source.empty()) return "";
    auto within = [](const std::string& inner, const std::string& outer) {
        return inner == outer || outer == "/" ||
               (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
                inner[outer.size()] == '/');
    };
    // A new folder inside the book's harms nothing of it; replacing the book itself would.
    if (within(source, target))
        return target + " holds the book being converted; name another folder";
    return "";
}

std::string findChromeFolder() {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        std::string path(exe, (size_t)n);
        std::string folder = path.substr(0, path.rfind('/') + 1);
        for (const std::string& candidate : {folder + "book", folder + "../share/pagly/book"})
            if (chromeIsUsable(candidate)) return candidate;
    }
    return chromeIsUsable(PAGLY_SOURCE_BOOK_DIR) ? std::string(PAGLY_SOURCE_BOOK_DIR)
                                                 : std::string();
}

bool writeBook(const SourceBook& book, const std::string& givenTarget, const WriteOptions& options,
               std::string& why) {
    std::string target = absolutePath(givenTarget);
    std::set<std::pair<std::string, std::string>> told;
    auto problem = [&](const ImportProblem& p) {
        if (told.insert({p.file, p.reason}).second && options.problem) options.problem(p);
    };
    if (isFolder(target) && !isImportedFolder(target))
        return why = target + " already exists and is not a book that pagly-import wrote", false;
    if (!isFolder(target) && isFile(target)) return why = target + " is a file", false;
    std::string chrome = options.chromeFolder.empty() ? findChromeFolder() : options.chromeFolder;
    if (chrome.empty() || !chromeIsUsable(chrome))
        return why = "cannot find the reader's own book (its controls and texts) to copy" +
                     (chrome.empty() ? std::string() : " in " + chrome),
               false;
    if (book.documents.empty()) return why = "it has no pages", false;

    for (const std::string& source : {options.source, book.folder}) {
        std::string overlap = source.empty() ? "" : overlapWith(source, target);
        if (!overlap.empty()) return why = overlap, false;
    }

    WorkFolder work;
    if (!work.makeBeside(target)) return why = "cannot make a folder beside " + target, false;
    const std::string bundle = work.path() + "/lessonbundle";
    if (!makeFolder(bundle) || !makeFolder(bundle + "/pictures") ||
        !makeFolder(work.path() + "/epc") ||
        !writeButtonPictures(bundle + "/" + kRestPicture, bundle + "/" + kLitPicture))
        return why = "cannot write in " + work.path(), false;

    HeadlessBrowser own;
    HeadlessBrowser& browser = options.browser ? *options.browser : own;
    browser.confineFilesTo(book.folder);
    std::string browserWhy;
    if (!browser.running() && !browser.start(browserWhy))
        return why = "cannot lay its pages out: " + browserWhy, false;
    int browserStarts = 1;
    PageLayout layout(browser);
    ClipCutter cutter;

    std::vector<const SourceDocument*> documents = distinctDocuments(book, problem);
    ImportBudget budget(options.budget, contentBytesOf(book.folder), (int)documents.size());
    // No single command of the browser may outlast the budget; the caller's patience comes back
    // with the browser.
    struct TimeoutKept {
        HeadlessBrowser& browser;
        double seconds;
        ~TimeoutKept() { browser.timeoutSeconds = seconds; }
    } keptTimeout{browser, browser.timeoutSeconds};
    std::string passed;  // the budget this conversion passed, once it has

    std::vector<ReaderPage> pages;
    int total = (int)documents.size(), done = 0, clips = 0;
    std::string fatal;  // why the whole conversion stops, set inside the page sink
    for (const SourceDocument* listed : documents) {
        const SourceDocument& document = *listed;
        if (cancelRequested()) return why = "the conversion was cancelled", false;
        passed = budget.exceeded();
        if (!passed.empty()) break;
        browser.timeoutSeconds =
            std::clamp(budget.secondsLeft() + 1.0, 1.0, std::max(1.0, keptTimeout.seconds));
        std::vector<ImportProblem> found;
        std::string drawWhy;
        std::string name = relativeTo(document.path, book.folder);
        int expected = 1, delivered = 0;  // the document's pages in `total`, and those done
        auto stop = [&](const std::string& reason) {
            fatal = reason;
            return false;
        };
        auto takePage = [&](DrawnPage& page, int count) {
            if (delivered == 0) {
                total += count - expected;
                expected = count;
            }
            budget.spendPages(1);
            budget.spendBytes(page.png.size());
            passed = budget.exceeded();
            if (!passed.empty()) return false;
            std::string picture = "pictures/page" + std::to_string(pages.size() + 1) + ".png";
            if (!writeFile(bundle + "/" + picture, page.png))
                return stop("cannot write in " + work.path());
            std::vector<ReaderSentence> kept;
            for (const SentenceBox& box : page.boxes) {
                if (cancelRequested()) return stop("the conversion was cancelled");
                const SourceSentence& s = document.sentences[box.sentence];
                std::string audio = relativeTo(s.audioFile, book.folder);
                if (!staysInBook(book.folder, s.audioFile)) {
                    problem({audio, "it lies outside the book"});
                    continue;
                }
                ReaderSentence sentence;
                sentence.clip = work.path() + "/epc/clip" + std::to_string(++clips) + ".mp3";
                double seconds = 0;
                std::string cutWhy;
                holdAt("clips");
                if (!cutter.cut(s.audioFile, s.clipBegin, s.clipEnd, sentence.clip, seconds,
                                cutWhy)) {
                    problem({audio, cutWhy});
                    continue;
                }
                struct stat cut;
                if (stat(sentence.clip.c_str(), &cut) == 0)
                    budget.spendBytes((uint64_t)cut.st_size);
                sentence.caption = s.caption;
                sentence.text = s.text;
                if (sentence.caption.size() >= Book::kLongestCaption) {
                    problem({name + "#" + s.elementId,
                             "its caption is " + std::to_string(s.caption.size()) +
                                 " bytes long; the reader shows captions under 1600 bytes"});
                    sentence.caption.clear();
                }
                sentence.place = placeOnFrame(box, page.width, page.height);
                std::string own = "pictures/page" + std::to_string(pages.size() + 1) + "_" +
                                  std::to_string(kept.size() + 1);
                if (!giveOwnPictures(box, page.width, page.height, bundle, own, sentence.place))
                    return stop("cannot write in " + work.path());
                sentence.words = timedWords(s, box, page.width, page.height, sentence.place);
                if (!s.words.empty() && sentence.words.empty())
                    problem({name + "#" + s.elementId,
                             "some of its timed words are not shown with it; its words are not "
                             "lit"});
                kept.push_back(std::move(sentence));
            }
            // A page with more sentences than the reader takes is shown again for the rest.
            size_t chunks = std::max<size_t>(
                1, (kept.size() + Book::kMostSentences - 1) / Book::kMostSentences);
            for (size_t c = 0; c < chunks; ++c) {
                ReaderPage out;
                out.picture = picture;
                out.width = page.width;
                out.height = page.height;
                out.background = page.background;
                if (delivered == 0 && c == 0)
                    out.sectionTitle =
                        shortTitle(document.sectionTitle, name + " (its section title)", problem);
                size_t from = c * Book::kMostSentences;
                out.title = pageTitle(document, kept, from);
                size_t to = std::min(kept.size(), from + Book::kMostSentences);
                for (size_t i = from; i < to; ++i) out.sentences.push_back(kept[i]);
                pages.push_back(std::move(out));
            }
            ++delivered;
            total += (int)chunks - 1;
            done += (int)chunks;
            if (options.progress) options.progress(done, total);
            return true;
        };
        bool drawn = layout.draw(document, book.folder, takePage, found, drawWhy);
        for (const ImportProblem& p : found) problem(p);
        if (!fatal.empty()) return why = fatal, false;
        if (!passed.empty()) break;
        if (!drawn) {
            if (cancelRequested()) return why = "the conversion was cancelled", false;
            problem({name, drawWhy});
            total -= expected - delivered;  // the pages it would still have given
            // A page that kept the browser busy past its time may keep it so: the next page
            // gets a fresh one. Deaths are counted; the budget bounds the rest.
            bool died = !browser.alive();
            if (died || browser.timedOut()) {
                if ((died && browserStarts >= kMostBrowserStarts) || !browser.start(browserWhy))
                    return why = "the browser that lays its pages out stopped working (" + drawWhy +
                                 ")",
                           false;
                if (died) ++browserStarts;
                layout.reset();
            }
        }
    }
    own.stop();

    if (!passed.empty()) {
        if (pages.empty()) return why = "the conversion passed " + passed, false;
        problem({options.source.empty() ? book.folder : options.source,
                 "the conversion passed " + passed + "; the rest of the book is left out"});
    }
    if (pages.empty()) return why = "none of its pages could be drawn", false;
    size_t sentenceCount = 0;
    for (const ReaderPage& page : pages) sentenceCount += page.sentences.size();
    if (sentenceCount == 0) return why = "none of its sentences has a usable recording", false;
    if ((int)pages.size() > Book::kHighestPage) {
        problem({book.folder, "it has " + std::to_string(pages.size()) +
                                  " pages; the reader shows the first " +
                                  std::to_string(Book::kHighestPage)});
        pages.resize((size_t)Book::kHighestPage);
    }
    std::vector<int> counts;
    for (const ReaderPage& page : pages) counts.push_back((int)page.sentences.size());
    int firstPage = firstCollisionFreePage(counts);
    if (firstPage == 0)
        return why = "its " + std::to_string(pages.size()) +
                     " pages cannot all be numbered within the reader's pages",
               false;

    std::map<std::string, std::string> captions;
    std::vector<std::string> titles;
    std::map<int, std::string> pageTitles;
    for (size_t k = 0; k < pages.size(); ++k) {
        const ReaderPage& page = pages[k];
        int number = firstPage + (int)k;
        PagePlan plan;
        plan.page = number;
        plan.picture = page.picture;
        plan.pictureWidth = page.width;
        plan.pictureHeight = page.height;
        plan.background = page.background;
        for (size_t i = 0; i < page.sentences.size(); ++i) {
            const ReaderSentence& s = page.sentences[i];
            plan.buttons.push_back(s.place);
            int index = (int)i + 1;
            const std::string recording = recordingPath(number, index);
            if (rename(s.clip.c_str(), (work.path() + "/" + recording).c_str()))
                return why = "cannot write in " + work.path(), false;
            if (!s.words.empty() &&
                !writeFile(work.path() + "/" + WordTimings::pathForRecording(recording),
                           WordTimings::format(s.words)))
                return why = "cannot write in " + work.path(), false;
            if (!s.caption.empty()) captions[captionKey(number, index)] = s.caption;
        }
        if (!writeFile(work.path() + "/" + pageDocumentPath(number), jsonFile(pageDocument(plan))))
            return why = "cannot write in " + work.path(), false;
        titles.push_back(page.sectionTitle);
        if (!page.title.empty()) pageTitles[number] = page.title;
    }

    Json::Value description;
    description["title"] = shortTitle(book.title, "the book's title", problem);
    description["keepButtonLook"] = true;
    description["units"] = Json::Value(Json::arrayValue);
    for (const UnitPlan& unit : planUnits(firstPage, titles, book.pagesPerSection)) {
        Json::Value entry;
        entry["name"] = unit.name;
        for (int page : unit.pages) {
            entry["pages"].append(page);
            // Beside "pages", so a reader that knows no titles still reads the book.
            auto title = pageTitles.find(page);
            entry["titles"].append(title == pageTitles.end() ? "" : title->second);
        }
        description["units"].append(entry);
    }
    // Never a book the reader would refuse: its description is read back as the reader does.
    const std::string descriptionText = jsonFile(description);
    Book readBack;
    std::string readWhy;
    bool readable = (long)descriptionText.size() <= Book::kLargestDescription;
    if (!readable)
        readWhy = "it would be larger than 1 MB";
    else
        readable = Book::fromDescription(descriptionText, readBack, readWhy);
    if (!readable)
        return why = std::string("its description (") + Book::kDescriptionFile +
                     ") cannot be written: " + readWhy,
               false;
    std::string copyWhy;
    if (!writeFile(work.path() + "/Stringstr.xml", captionTable(captions)) ||
        !writeFile(work.path() + "/" + Book::kDescriptionFile, descriptionText) ||
        !copyTree(chrome, work.path(),
                  {"lessonbundle", "epc", "Stringstr.xml", Book::kDescriptionFile, "README.txt",
                   "ft.xml", kImportMarker},
                  copyWhy))
        return why = "cannot write the book: " + (copyWhy.empty() ? work.path() : copyWhy), false;
    // Sealed as it is now: the lock file is no part of the book.
    work.unmark();
    if (!sealFolder(work.path(), options.source))
        return why = "cannot write in " + work.path(), false;
    if (!putInPlace(work.path(), target, why)) return false;
    work.handOver();
    return true;
}

}  // namespace pagly::import
