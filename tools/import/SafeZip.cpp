#include "tools/import/SafeZip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>

#include "tools/import/Interruption.h"

namespace pagly::import {

namespace fs = std::filesystem;

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

std::string megabytes(std::uint64_t bytes) {
    std::ostringstream out;
    out.precision(1);
    out << std::fixed << double(bytes) / (1024.0 * 1024.0) << " MB";
    return out.str();
}

std::string openError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Creates each folder of relative (components joined by '/') under root, refusing any
// component that exists as something other than a real folder (a link could lead out).
bool makeFolders(const std::string& root, const std::string& relative, std::string& why) {
    std::string path = root;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t slash = relative.find('/', start);
        if (slash == std::string::npos) slash = relative.size();
        path += "/" + relative.substr(start, slash - start);
        start = slash + 1;
        if (mkdir(path.c_str(), 0755) == 0) continue;
        if (errno != EEXIST) {
            why = std::string("cannot make its folder: ") + std::strerror(errno);
            return false;
        }
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            why = "its folder is already taken by a file of the same name";
            return false;
        }
    }
    return true;
}

// Why an entry of this kind must not be unpacked, or empty. Only Unix-made archives say
// what kind of file an entry is; others hold plain files and folders.
std::string refusedKind(zip_t* zip, zip_uint64_t index) {
    zip_uint8_t opsys = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(zip, index, 0, &opsys, &attributes) != 0) return "";
    if (opsys != ZIP_OPSYS_UNIX) return "";
    mode_t type = (attributes >> 16) & S_IFMT;
    if (type == 0 || type == S_IFREG || type == S_IFDIR) return "";
    if (type == S_IFLNK) return "is a symbolic link, which could lead out of the book";
    return "is a special file (device, pipe or socket), not a plain file";
}

class Extractor {
  public:
    Extractor(zip_t* zip, std::string root, std::vector<ImportProblem>& problems,
              const ZipLimits& limits, std::string zipName)
        : zip_(zip),
          root_(std::move(root)),
          problems_(problems),
          limits_(limits),
          zipName_(std::move(zipName)) {}

    // False when a limit broke and the whole archive is refused.
    bool entry(zip_uint64_t index) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip_, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            problem(zipName_,
                    "entry " + std::to_string(index) + " cannot be read: " + zip_strerror(zip_));
            return true;
        }
        const std::string name = st.name;
        std::string why;
        std::string relative = safeEntryPath(name, why);
        if (relative.empty()) {
            if (!why.empty()) problem(name, why);
            return true;  // "./" and the like name the folder itself
        }
        std::uint64_t depth = std::uint64_t(std::count(relative.begin(), relative.end(), '/'));
        if (depth > limits_.maxDepth) {
            problem(name, "lies " + std::to_string(depth) +
                              " folders deep, deeper than any book (" +
                              std::to_string(limits_.maxDepth) + "): the archive is refused");
            return false;
        }
        std::string kind = refusedKind(zip_, index);
        if (!kind.empty()) {
            problem(name, kind);
            return true;
        }
        bool folder = name.back() == '/' || name.back() == '\\';
        std::size_t slash = relative.rfind('/');
        std::string parent = slash == std::string::npos ? "" : relative.substr(0, slash);
        if (!makeFolders(root_, folder ? relative : parent, why)) {
            problem(name, why);
            return true;
        }
        if (folder) return true;
        return writeFile(index, st, name, root_ + "/" + relative);
    }

  private:
    bool writeFile(zip_uint64_t index, const zip_stat_t& st, const std::string& name,
                   const std::string& target) {
        // O_EXCL|O_NOFOLLOW: never write through a link or over an earlier entry.
        int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            problem(name, errno == EEXIST
                              ? "is in the archive twice (the first one is kept)"
                              : std::string("cannot be written: ") + std::strerror(errno));
            return true;
        }
        std::unique_ptr<zip_file_t, ZipFileCloser> in(zip_fopen_index(zip_, index, 0));
        if (!in) {
            close(fd);
            unlink(target.c_str());
            problem(name, std::string("cannot be unpacked: ") + zip_strerror(zip_));
            return true;
        }
        const std::uint64_t packed =
            (st.valid & ZIP_STAT_COMP_SIZE) && st.comp_size > 0 ? st.comp_size : 1;
        const std::uint64_t declared = (st.valid & ZIP_STAT_SIZE) ? st.size : UINT64_MAX;
        std::uint64_t written = 0;
        std::string failure;  // the entry is damaged: skip it
        std::string refusal;  // a limit broke: refuse the archive
        static thread_local char buffer[64 * 1024];
        for (;;) {
            zip_int64_t n = zip_fread(in.get(), buffer, sizeof buffer);
            if (n < 0) {
                failure = std::string("is damaged: ") + zip_file_strerror(in.get());
                break;
            }
            if (n == 0) break;
            written += std::uint64_t(n);
            totalWritten_ += std::uint64_t(n);
            if (cancelRequested()) {
                refusal = "was being unpacked when the conversion was cancelled";
            } else if (written > declared) {
                refusal = "unpacks to more than its header declares (" + megabytes(declared) +
                          "): a zip bomb";
            } else if (written > limits_.maxEntryBytes) {
                refusal = "unpacks to more than " + megabytes(limits_.maxEntryBytes) +
                          ", more than any file of a book";
            } else if (totalWritten_ > limits_.maxTotalBytes) {
                refusal = "brings the book past " + megabytes(limits_.maxTotalBytes) +
                          " unpacked: the archive is refused";
            } else if (written >= limits_.ratioFloorBytes &&
                       double(written) > limits_.maxRatio * double(packed)) {
                refusal = "unpacks to more than " + std::to_string(int(limits_.maxRatio)) +
                          " times its packed size: a zip bomb";
            } else if (totalWritten_ >= limits_.ratioFloorBytes &&
                       double(totalWritten_) > limits_.maxRatio * double(totalPacked_ + packed)) {
                refusal = "brings the archive past " + std::to_string(int(limits_.maxRatio)) +
                          " times its packed size: a zip bomb";
            }
            if (!refusal.empty()) break;
            if (!writeAll(fd, buffer, std::size_t(n))) {
                failure = std::string("cannot be written: ") + std::strerror(errno);
                break;
            }
        }
        totalPacked_ += packed;
        bool closed = close(fd) == 0;
        if (failure.empty() && refusal.empty() && !closed)
            failure = std::string("cannot be written: ") + std::strerror(errno);
        if (failure.empty() && refusal.empty()) return true;
        unlink(target.c_str());
        problem(name, refusal.empty() ? failure : refusal);
        return refusal.empty();
    }

    static bool writeAll(int fd, const char* data, std::size_t size) {
        while (size > 0) {
            ssize_t n = write(fd, data, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            data += n;
            size -= std::size_t(n);
        }
        return true;
    }

    void problem(const std::string& file, const std::string& reason) {
        problems_.push_back({file, reason});
    }

    zip_t* zip_;
    std::string root_;
    std::vector<ImportProblem>& problems_;
    const ZipLimits& limits_;
    std::string zipName_;
    std::uint64_t totalWritten_ = 0;
    std::uint64_t totalPacked_ = 0;  // of the entries unpacked before this one
};

}  // namespace

std::string safeEntryPath(const std::string& entryName, std::string& why) {
    why.clear();
    if (entryName.empty()) {
        why = "has an empty name";
        return "";
    }
    std::string name = entryName;
    // Archives made on Windows may separate folders with backslashes.
    for (char& c : name)
        if (c == '\\') c = '/';
    if (name[0] == '/' || (name.size() >= 2 && name[1] == ':')) {
        why = "has an absolute path, which would be written outside the book's folder";
        return "";
    }
    std::string out;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        if (slash == std::string::npos) slash = name.size();
        std::string part = name.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            why = "climbs out of its folder (\"..\"), which would write outside the book's folder";
            return "";
        }
        for (unsigned char c : part) {
            if (c < 0x20 || c == 0x7F) {
                why = "has a control character in its name";
                return "";
            }
        }
        if (!out.empty()) out += '/';
        out += part;
    }
    return out;
}

bool extractZip(const std::string& zipPath, const std::string& intoFolder,
                std::vector<ImportProblem>& problems, const ZipLimits& limits) {
    const std::string zipName = fs::path(zipPath).filename().string();
    int code = 0;
    std::unique_ptr<zip_t, ZipCloser> zip(zip_open(zipPath.c_str(), ZIP_RDONLY, &code));
    if (!zip) {
        problems.push_back({zipName, "is not a readable zip archive: " + openError(code)});
        return false;
    }
    std::error_code ec;
    fs::create_directories(intoFolder, ec);
    fs::path root = fs::canonical(intoFolder, ec);
    if (ec) {
        problems.push_back({intoFolder, "cannot make the folder to unpack into: " + ec.message()});
        return false;
    }
    zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count < 0 || std::uint64_t(count) > limits.maxEntries) {
        problems.push_back({zipName, "holds " + std::to_string(count) + " entries, more than the " +
                                         std::to_string(limits.maxEntries) +
                                         " a book may have: the archive is refused"});
        return false;
    }
    // The declared sizes may lie, so this only turns away the honest giants early; the
    // bytes really written are counted while unpacking.
    std::uint64_t declared = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip.get(), zip_uint64_t(i), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
            declared += st.size;
    }
    if (declared > limits.maxTotalBytes) {
        problems.push_back({zipName, "declares " + megabytes(declared) +
                                         " unpacked, more than the " +
                                         megabytes(limits.maxTotalBytes) +
                                         " a book may take: the archive is refused"});
        return false;
    }
    Extractor extractor(zip.get(), root.string(), problems, limits, zipName);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (cancelRequested()) {
            problems.push_back({zipName, "the conversion was cancelled while it was unpacked"});
            return false;
        }
        if (!extractor.entry(zip_uint64_t(i))) return false;
        holdAt("unzip");
    }
    return true;
}

}  // namespace pagly::import
