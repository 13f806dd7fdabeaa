// Converting a book from elsewhere, whatever its format (see Importer.h).
#include "tools/import/Importer.h"

#include <algorithm>
#include <cctype>

#include "tools/import/BloomReader.h"
#include "tools/import/FileTree.h"

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

// MERGE SEAM (zip): the EPUB side brings tools/import/SafeZip.{h,cpp}, extraction with limits
// on entries, sizes and ratio that never writes outside its folder. Until it is merged here a
// packed book is refused with this reason; its unpacked folder converts.
bool unpackBook(const std::string& packed, const std::string& into, std::string& why) {
    (void)packed;
    (void)into;
    why = "this pagly-import cannot open packed books yet; unzip it and convert the folder";
    return false;
}

// MERGE SEAM (EPUB): the EPUB side brings `SourceBook readEpub(path, ...)` in
// tools/import/EpubReader.h, for an .epub file or its unpacked folder.
bool readEpubBook(const std::string& path, SourceBook& book, std::string& why) {
    (void)path;
    (void)book;
    why = "this pagly-import cannot read EPUB books yet";
    return false;
}

bool isEpubFolder(const std::string& folder) { return isFile(folder + "/META-INF/container.xml"); }

// The unpacked copy of a packed book goes when the conversion ends.
struct UnpackedCopy {
    std::string path;
    ~UnpackedCopy() {
        if (!path.empty()) removeTree(path);
    }
};

}  // namespace

std::string defaultFolderFor(const std::string& source) { return stemOf(source); }

ImportResult importBook(const std::string& givenSource, const std::string& folder,
                        const WriteOptions& given, std::string& why) {
    std::string source = absolutePath(givenSource);
    WriteOptions options = given;
    if (options.source.empty()) options.source = source;
    SourceBook book;
    UnpackedCopy unpacked;
    bool read = false;
    if (isFolder(source)) {
        if (isBloomFolder(source)) {
            read = readBloom(source, book, why);
        } else if (isEpubFolder(source)) {
            read = readEpubBook(source, book, why);
        } else {
            why =
                "it is neither a Bloom book (a .htm with Bloom pages) nor an EPUB "
                "(META-INF/container.xml)";
        }
    } else if (isFile(source)) {
        std::string ext = lowerExtension(source);
        if (ext == ".bloompub" || ext == ".bloomd") {
            unpacked.path = makeTemporaryFolder("pagly-bloom-");
            if (unpacked.path.empty()) {
                why = "cannot make a folder to unpack it in";
            } else if (unpackBook(source, unpacked.path, why)) {
                read = readBloom(unpacked.path, book, why);
            }
        } else if (ext == ".epub") {
            read = readEpubBook(source, book, why);
        } else {
            why = "it is not a .bloompub or .epub file";
        }
    } else {
        why = "there is no such file or folder";
    }
    if (!read) return ImportResult::Refused;
    if (options.problem)
        for (const ImportProblem& p : book.problems) options.problem(p);
    return writeBook(book, folder, options, why) ? ImportResult::Written : ImportResult::Refused;
}

}  // namespace pagly::import
