// Helpers of the importer's tests: scratch folders, zips written entry by entry (so a test
// can make the hostile ones no zip tool would), and the EPUB fixture books, made by
// tools/tests/make_epub.py when a test first asks for them.
#ifndef PAGLY_TOOLS_TESTS_IMPORTFIXTURES_H
#define PAGLY_TOOLS_TESTS_IMPORTFIXTURES_H

#include <json/json.h>
#include <sndfile.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "format/JsonText.h"
#include "tools/import/SourceBook.h"

namespace pagly::testing {

namespace fs = std::filesystem;

// Writes mono `samples` at `rate` as a sound file of libsndfile's `format` (a WAV, an MP3 ...);
// false, with libsndfile's reason in `why`, when it cannot.
inline bool writeSound(const std::string& path, int format, int rate,
                       const std::vector<float>& samples, std::string& why) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return why = sf_strerror(nullptr), false;
    bool whole = sf_writef_float(file, samples.data(), (sf_count_t)samples.size()) ==
                 (sf_count_t)samples.size();
    return sf_close(file) == 0 && whole;
}

// Every problem, one line each, for a failing assertion's message.
inline std::string told(const std::vector<import::ImportProblem>& problems) {
    std::string out;
    for (const import::ImportProblem& p : problems) out += import::describe(p) + "\n";
    return out;
}

// Whether a problem names this file and says this (part of its reason).
inline bool tells(const std::vector<import::ImportProblem>& problems, const std::string& file,
                  const std::string& text) {
    for (const import::ImportProblem& p : problems)
        if (p.file == file && p.reason.find(text) != std::string::npos) return true;
    return false;
}

// A new, empty folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "pagly-import-XXXXXX").string();
        path_ = mkdtemp(&pattern[0]) ? pattern : "";
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Every file, folder and link under folder (links not followed), relative to it.
inline std::set<std::string> treeOf(const std::string& folder) {
    std::set<std::string> out;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        out.insert(fs::path(it->path()).lexically_relative(folder).generic_string());
    return out;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A JSON file's value (null when it is missing or broken).
inline Json::Value loadJson(const std::string& path) {
    Json::Value root;
    format::parseJson(readFile(path), root);
    return root;
}

inline void writeFile(const std::string& path, const std::string& data) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

// One entry of a zip a test writes; unixMode 0 leaves the attributes as libzip sets them.
struct ZipEntry {
    std::string name;
    std::string data;
    bool compress = true;
    unsigned unixMode = 0;  // e.g. S_IFLNK | 0777 for a symbolic link whose data is its target
};

inline bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) return false;
    for (const ZipEntry& e : entries) {
        zip_source_t* source = zip_source_buffer(zip, e.data.data(), e.data.size(), 0);
        zip_int64_t index =
            source ? zip_file_add(zip, e.name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(source);
            zip_discard(zip);
            return false;
        }
        zip_set_file_compression(zip, zip_uint64_t(index),
                                 e.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
        if (e.unixMode)
            zip_file_set_external_attributes(zip, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(e.unixMode) << 16);
    }
    return zip_close(zip) == 0;  // the buffers must live until here: zip_close reads them
}

inline std::string makeEpubScript() { return PAGLY_MAKE_EPUB; }

// Runs make_epub.py with args ("OUT --pages 3 ..."); true when it succeeded.
inline bool runMakeEpub(const std::string& args) {
    std::string command = "python3 '" + makeEpubScript() + "' " + args + " > /dev/null";
    return std::system(command.c_str()) == 0;
}

// The fixture books every importer test reads: a fixed-layout book of three pages in two
// chapters (zipped and unpacked) and a reflowable one, each with the JSON make_epub.py
// writes of what a reader must find in it. ctest runs each test in its own process, so the
// books are made once into a temporary folder named after the maker script's content and
// shared from there; a test never changes them (it copies them first).
struct EpubFixtureBooks {
    bool made = false;
    std::string fixedEpub, fixedExpect, fixedFolder, fixedFolderExpect;
    std::string reflowEpub, reflowExpect;

    EpubFixtureBooks() {
        const std::string script = readFile(makeEpubScript());
        const fs::path shared =
            fs::temp_directory_path() /
            ("pagly-epub-fixtures-" + std::to_string(std::hash<std::string>{}(script)));
        fixedEpub = (shared / "fixed.epub").string();
        fixedExpect = (shared / "fixed.json").string();
        fixedFolder = (shared / "fixed").string();
        fixedFolderExpect = (shared / "fixed-folder.json").string();
        reflowEpub = (shared / "reflow.epub").string();
        reflowExpect = (shared / "reflow.json").string();
        std::error_code ec;
        if (script.empty() || fs::exists(shared / "done", ec)) {
            made = !script.empty();
            return;
        }
        ScratchFolder building;
        auto at = [&](const std::string& name) { return "'" + (building / name) + "'"; };
        bool ok =
            runMakeEpub(at("fixed.epub") + " --pages 3 --expect " + at("fixed.json")) &&
            runMakeEpub(at("fixed") + " --folder --pages 3 --expect " + at("fixed-folder.json")) &&
            runMakeEpub(at("reflow.epub") + " --layout reflow --sentences 12 --expect " +
                        at("reflow.json"));
        if (!ok) return;
        writeFile(building / "done", "");
        // Another test process may have finished first: then its books are used.
        fs::rename(building.path(), shared, ec);
        made = fs::exists(shared / "done", ec);
    }
};

inline const EpubFixtureBooks& epubFixtures() {
    static EpubFixtureBooks books;
    return books;
}

// A fixed-layout book of two pages timed word by word (make_epub.py --word-level), unpacked,
// with its JSON of what a reader must find; made once like the books above, on first use.
struct EpubWordBook {
    bool made = false;
    std::string folder, expect;

    EpubWordBook() {
        const std::string script = readFile(makeEpubScript());
        const fs::path shared =
            fs::temp_directory_path() /
            ("pagly-epub-words-" + std::to_string(std::hash<std::string>{}(script)));
        folder = (shared / "words").string();
        expect = (shared / "words.json").string();
        std::error_code ec;
        if (script.empty() || fs::exists(shared / "done", ec)) {
            made = !script.empty();
            return;
        }
        ScratchFolder building;
        if (!runMakeEpub("'" + (building / "words") +
                         "' --folder --pages 2 --word-level --expect '" +
                         (building / "words.json") + "'"))
            return;
        writeFile(building / "done", "");
        fs::rename(building.path(), shared, ec);
        made = fs::exists(shared / "done", ec);
    }
};

inline const EpubWordBook& epubWordBook() {
    static EpubWordBook book;
    return book;
}

// A copy of folder's files as a zip at zipPath ("mimetype" first and stored, as books have
// it), with extra entries after them.
inline bool zipFolder(const std::string& folder, const std::string& zipPath,
                      const std::vector<ZipEntry>& extra = {}) {
    std::vector<ZipEntry> entries;
    entries.push_back({"mimetype", readFile(folder + "/mimetype"), false});
    for (const std::string& path : treeOf(folder)) {
        if (path == "mimetype" || !fs::is_regular_file(folder + "/" + path)) continue;
        entries.push_back({path, readFile(folder + "/" + path)});
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return writeZip(zipPath, entries);
}

}  // namespace pagly::testing

#endif
