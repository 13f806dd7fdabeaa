// Converting a book from elsewhere, whatever its format (see Importer.h).
#include "tools/import/Importer.h"

#include <algorithm>
#include <cctype>

#include "tools/import/BloomReader.h"
#include "tools/import/FileTree.h"
#include "tools/import/WorkFolder.h"
#if __has_include("tools/import/SafeZip.h") && __has_include("tools/import/EpubReader.h")
#include "tools/import/EpubReader.h"
#include "tools/import/SafeZip.h"
#endif

namespace pagly::import {

namespace {

std::string lowerExtension(const std::string& path) {
    size_t slash = path.rfind('/'), dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return (char)std::tolower(c); });
    return ext;
}

// The EPUB reader and the safe unzipper are written beside this file on their own branch; the
// dispatch takes them up as soon as they are in the tree.
#if __has_include("tools/import/SafeZip.h") && __has_include("tools/import/EpubReader.h")
#define PAGLY_IMPORT_EPUB_AND_ZIP 1
#endif

#ifdef PAGLY_IMPORT_EPUB_AND_ZIP
// The last problem of a refused step is its reason; the others are told as they are.
std::string reasonFrom(std::vector<ImportProblem>& problems, const WriteOptions& options,
                       const char* fallback) {
    std::string why = fallback;
    if (!problems.empty()) {
        why = describe(problems.back());
        problems.pop_back();
    }
    if (options.problem)
        for (const ImportProblem& p : problems) options.problem(p);
    return why;
}
#endif

bool unpackBook(const std::string& packed, const std::string& into, const WriteOptions& options,
                std::string& why) {
#ifdef PAGLY_IMPORT_EPUB_AND_ZIP
    std::vector<ImportProblem> problems;
    if (extractZip(packed, into, problems)) {
        if (options.problem)
            for (const ImportProblem& p : problems) options.problem(p);
        return true;
    }
    why = reasonFrom(problems, options, "it cannot be unpacked");
    return false;
#else
    (void)packed;
    (void)into;
    (void)options;
    why = "this pagly-import cannot open packed books; unzip it and convert the folder";
    return false;
#endif
}

// `work`: an empty folder the reader may unpack a packed book into.
bool readEpubBook(const std::string& path, const std::string& work, const WriteOptions& options,
                  SourceBook& book, std::string& why) {
#ifdef PAGLY_IMPORT_EPUB_AND_ZIP
    book = readEpub(path, work);
    if (!book.documents.empty()) return true;
    why = reasonFrom(book.problems, options, "it has no pages");
    return false;
#else
    (void)path;
    (void)work;
    (void)options;
    (void)book;
    why = "this pagly-import cannot read EPUB books";
    return false;
#endif
}

bool isEpubFolder(const std::string& folder) { return isFile(folder + "/META-INF/container.xml"); }

// A book with no recording at all is refused as soon as it is read, before the browser starts
// and lays out pages it could never read aloud.
bool hasAnyRecording(const SourceBook& book) {
    for (const SourceDocument& document : book.documents)
        for (const SourceSentence& sentence : document.sentences)
            if (isFile(sentence.audioFile)) return true;
    return false;
}

}  // namespace

std::string defaultFolderFor(const std::string& source) { return stemOf(source); }

ImportResult importBook(const std::string& givenSource, const std::string& folder,
                        const WriteOptions& given, std::string& why) {
    std::string source = absolutePath(givenSource);
    WriteOptions options = given;
    if (options.source.empty()) options.source = source;
    // A taken folder is refused before the book is read, so no problem lines come first.
    std::string target = absolutePath(folder);
    // What conversions killed outright left behind goes first.
    removeLeftovers(target);
    why = overlapWith(source, target);
    if (!why.empty()) return ImportResult::Refused;
    if (isFolder(target) && !isImportedFolder(target)) {
        why = target +
              " already exists and is not a book that pagly-import wrote (or was "
              "changed since)";
        return ImportResult::Refused;
    }
    SourceBook book;
    WorkFolder unpacked;  // a packed book's unpacked copy, removed when the conversion ends
    bool read = false;
    if (isFolder(source)) {
        if (isBloomFolder(source)) {
            read = readBloom(source, book, why);
        } else if (isEpubFolder(source)) {
            if (unpacked.makeTemporary("pagly-epub-"))
                read = readEpubBook(source, unpacked.path(), options, book, why);
            else
                why = "cannot make a folder to unpack it in";
        } else {
            why =
                "it is neither a Bloom book (a .htm with Bloom pages) nor an EPUB "
                "(META-INF/container.xml)";
        }
    } else if (isFile(source)) {
        std::string ext = lowerExtension(source);
        if (ext == ".bloompub" || ext == ".bloomd") {
            if (!unpacked.makeTemporary("pagly-bloom-")) {
                why = "cannot make a folder to unpack it in";
            } else if (unpackBook(source, unpacked.path(), options, why)) {
                read = readBloom(unpacked.path(), book, why);
            }
        } else if (ext == ".epub") {
            // The EPUB reader unpacks into a folder of its own inside this one.
            if (!unpacked.makeTemporary("pagly-epub-")) {
                why = "cannot make a folder to unpack it in";
            } else {
                read = readEpubBook(source, unpacked.path(), options, book, why);
            }
        } else {
            why = "it is not a .bloompub or .epub file";
        }
    } else {
        why = "there is no such file or folder";
    }
    if (!read) {
        if (cancelRequested()) why = "the conversion was cancelled";
        return ImportResult::Refused;
    }
    if (options.problem)
        for (const ImportProblem& p : book.problems) options.problem(p);
    book.problems.clear();
    if (!hasAnyRecording(book)) {
        why = "it has no recordings: nothing in it can be read aloud";
        return ImportResult::Refused;
    }
    return writeBook(book, folder, options, why) ? ImportResult::Written : ImportResult::Refused;
}

}  // namespace pagly::import
