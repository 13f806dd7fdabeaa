// Converting books from elsewhere through the importer command (see BookImport.h).
#include "app/BookImport.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/BookNames.h"
#include "app/CommandLine.h"

extern char** environ;

namespace fs = std::filesystem;

namespace pagly {

namespace {

std::string lowerExtension(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return ext;
}

bool isRegular(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A Bloom book's page document names its pages with this class; a saved web page does not.
const char* const kBloomPageMark = "bloom-page";
// The mark sits in the first pages of the document; a larger file is read no further.
const size_t kBloomPeek = 4 << 20;

bool holdsBloomPages(const std::string& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    std::string text(kBloomPeek, '\0');
    text.resize(fread(text.data(), 1, text.size(), file));
    fclose(file);
    return text.find(kBloomPageMark) != std::string::npos;
}

// An unpacked EPUB has its container; an unpacked Bloom book a page document with Bloom
// pages. Any other folder with an .html in it (a saved web page beside its photos) is not a
// book.
bool looksLikeUnpackedForeignBook(const std::string& dir) {
    if (isRegular(dir + "/META-INF/container.xml")) return true;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        std::string ext = lowerExtension(entry.path().string());
        if ((ext == ".htm" || ext == ".html") && entry.is_regular_file(ec) &&
            holdsBloomPages(entry.path().string()))
            return true;
    }
    return false;
}

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

void hashNumber(EVP_MD_CTX* context, uint64_t number) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(number >> (8 * i));
    EVP_DigestUpdate(context, bytes, sizeof bytes);
}

// Hashes `expected` bytes of the file (all of it when negative); false when it cannot be read,
// holds another number of bytes, or `stop` is raised.
bool hashFile(EVP_MD_CTX* context, const std::string& path, long long expected,
              const std::atomic<bool>* stop) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    char buffer[1 << 16];
    size_t got;
    long long total = 0;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (stop && stop->load()) break;
        EVP_DigestUpdate(context, buffer, got);
        total += static_cast<long long>(got);
    }
    bool ok = !ferror(file) && !(stop && stop->load()) && (expected < 0 || total == expected);
    fclose(file);
    return ok;
}

// A folder's regular files (symlinks left out: the importer does not follow them either),
// by name relative to the folder, in name order.
struct FolderEntry {
    std::string name;
    struct stat st;
};
std::vector<FolderEntry> folderFiles(const std::string& path) {
    std::vector<FolderEntry> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_symlink(ec) || !it->is_regular_file(ec)) continue;
        FolderEntry entry;
        entry.name = fs::relative(it->path(), path, ec).string();
        if (lstat(it->path().c_str(), &entry.st) == 0) files.push_back(std::move(entry));
    }
    std::sort(files.begin(), files.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return files;
}

std::string homeFolder() {
    const char* home = getenv("HOME");
    return home && *home ? home : "/tmp";
}

}  // namespace

BookKind bookKind(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return BookKind::NotABook;
    if (S_ISREG(st.st_mode)) {
        std::string ext = lowerExtension(path);
        bool foreign = ext == ".bloompub" || ext == ".bloomd" || ext == ".epub";
        return foreign ? BookKind::Foreign : BookKind::NotABook;
    }
    if (!S_ISDIR(st.st_mode)) return BookKind::NotABook;
    if (bookFolderProblem(path).empty()) return BookKind::Folder;
    return looksLikeUnpackedForeignBook(path) ? BookKind::Foreign : BookKind::NotABook;
}

std::string importCacheFolder() {
    const char* cache = getenv("XDG_CACHE_HOME");
    std::string base = cache && *cache == '/' ? cache : homeFolder() + "/.cache";
    return base + "/pagly/books";
}

std::string bookDigest(const std::string& path, std::string* problem,
                       const std::atomic<bool>* stop) {
    DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || !EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr)) {
        if (problem) *problem = "no digest available";
        return "";
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        // Each name and content goes in after its length, so no two folders give one stream.
        for (const FolderEntry& file : folderFiles(path)) {
            hashNumber(context.get(), file.name.size());
            EVP_DigestUpdate(context.get(), file.name.data(), file.name.size());
            hashNumber(context.get(), static_cast<uint64_t>(file.st.st_size));
            if (!hashFile(context.get(), path + "/" + file.name, file.st.st_size, stop)) {
                if (problem) *problem = "cannot read " + path + "/" + file.name;
                return "";
            }
        }
    } else if (!hashFile(context.get(), path, -1, stop)) {
        if (problem) *problem = "cannot read " + path + ": " + strerror(errno);
        return "";
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context.get(), digest, &length);
    return hexDigits(digest, length);
}

namespace {

std::string stampLine(const struct stat& st) {
    return std::to_string(st.st_dev) + " " + std::to_string(st.st_ino) + " " +
           std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
}

// A book's digest is remembered under a stamp of it (where it is; a file's size and last
// change; a folder's files' names, sizes and last changes), so a later open of a big book need
// not read all of it.
std::string stampPath(const std::string& path) {
    struct stat st;
    std::error_code ec;
    std::string where = fs::canonical(path, ec).string();
    if (ec || stat(path.c_str(), &st) != 0) return "";
    std::string stamp = where + "\n";
    if (S_ISREG(st.st_mode)) {
        stamp += stampLine(st);
    } else if (S_ISDIR(st.st_mode)) {
        for (const FolderEntry& file : folderFiles(path))
            stamp += file.name + "\n" + stampLine(file.st) + "\n";
    } else {
        return "";
    }
    std::string name = md5Hex(stamp);
    return name.empty() ? "" : importCacheFolder() + "/stamps/" + name;
}

bool isDigest(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

std::string rememberedFolderFor(const std::string& path) {
    std::string stamp = stampPath(path);
    if (stamp.empty()) return "";
    std::string known;
    std::ifstream(stamp) >> known;
    return isDigest(known) ? importCacheFolder() + "/" + known : "";
}

std::string convertedFolderFor(const std::string& path, std::string* problem,
                               const std::atomic<bool>* stop) {
    std::string remembered = rememberedFolderFor(path);
    if (!remembered.empty()) return remembered;
    std::string stamp = stampPath(path);
    std::string digest = bookDigest(path, problem, stop);
    if (digest.empty()) return "";
    if (!stamp.empty() && stamp == stampPath(path)) {
        // A lost stamp only costs the next open a reading of the book; a book changed while it
        // was read gets none.
        std::error_code ec;
        fs::create_directories(fs::path(stamp).parent_path(), ec);
        std::string temporary = stamp + "." + std::to_string(getpid());
        if (!ec && (std::ofstream(temporary) << digest << "\n")) fs::rename(temporary, stamp, ec);
        if (ec) fs::remove(temporary, ec);
    }
    return importCacheFolder() + "/" + digest;
}

std::string findImporter(const std::string& readerPath) {
    const char* given = getenv("PAGLY_IMPORT");
    if (given && *given) return given;
    std::error_code ec;
    fs::path exe = fs::canonical(readerPath, ec);
    if (!ec) {
        fs::path dir = exe.parent_path();
        for (const fs::path& candidate :
             {dir / "pagly-import", dir / ".." / "tools" / "pagly-import"}) {
            if (access(candidate.c_str(), X_OK) == 0) return candidate.lexically_normal().string();
        }
    }
    return "pagly-import";  // spawnp looks along the PATH
}

ImportRun::~ImportRun() { stop(); }

bool ImportRun::start(const std::string& importer, const std::string& source,
                      const std::string& target) {
    stop();
    m_pagesDone = m_pageCount = m_problemCount = 0;
    m_lastProblem.clear();
    m_failure.clear();
    m_problems.clear();
    m_importerFailed = false;
    m_source = source;
    m_outPending.clear();
    m_errPending.clear();
    m_state = State::Failed;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        m_failure = std::string("cannot start the importer: ") + strerror(errno);
        m_importerFailed = true;
        return false;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        m_failure = std::string("cannot start the importer: ") + strerror(errno);
        m_importerFailed = true;
        close(out[0]);
        close(out[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    // Its own process group, so that stopping it stops the browser it starts too.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<std::string> words = {importer, source, target};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    int spawned = posix_spawnp(&pid, importer.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) {
        close(out[0]);
        close(err[0]);
        m_failure = "cannot start the importer " + importer + ": " + strerror(spawned);
        m_importerFailed = true;
        return false;
    }
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    fcntl(err[0], F_SETFL, O_NONBLOCK);
    m_pid = pid;
    m_out = out[0];
    m_err = err[0];
    m_state = State::Running;
    return true;
}

bool ImportRun::parseProgress(const std::string& line, int* done, int* count) {
    int a = 0, b = 0, used = 0;
    if (sscanf(line.c_str(), "page %d of %d%n", &a, &b, &used) != 2) return false;
    if (used != static_cast<int>(line.size()) || a < 0 || b <= 0 || a > b) return false;
    *done = a;
    *count = b;
    return true;
}

void ImportRun::takeLine(const std::string& line, bool errors) {
    fprintf(errors ? stderr : stdout, "%s\n", line.c_str());
    if (errors) {
        if (line.empty()) return;
        m_lastProblem = line;
        const std::string unusable = "cannot use ";
        if (line.rfind(unusable, 0) == 0) {
            ++m_problemCount;
            if (m_problems.size() < kMostProblemsKept)
                m_problems.push_back(line.substr(unusable.size()));
        }
        return;
    }
    int done = 0, count = 0;
    if (parseProgress(line, &done, &count)) {
        m_pagesDone = done;
        m_pageCount = count;
    }
}

void ImportRun::drain(int& fd, std::string& pending, bool errors) {
    if (fd < 0) return;
    char buffer[4096];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            pending.append(buffer, static_cast<size_t>(got));
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos) {
                takeLine(pending.substr(0, end), errors);
                pending.erase(0, end + 1);
            }
            // A line that never ends is not progress; keep the memory bounded.
            if (pending.size() > 65536) pending.clear();
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) {  // the importer closed it
            if (!pending.empty()) takeLine(pending, errors);
            pending.clear();
            close(fd);
            fd = -1;
        }
        return;  // EAGAIN: nothing more for now
    }
}

ImportRun::State ImportRun::poll() {
    if (m_state != State::Running) return m_state;
    drain(m_out, m_outPending, false);
    drain(m_err, m_errPending, true);
    int status = 0;
    pid_t ended = waitpid(m_pid, &status, WNOHANG);
    if (ended == m_pid) {
        // Whatever it wrote before it ended is still in the pipes.
        drain(m_out, m_outPending, false);
        drain(m_err, m_errPending, true);
        m_pid = -1;
        finish(status);
    } else if (ended < 0 && errno != EINTR) {
        m_pid = -1;
        finish(-1);
    }
    fflush(stdout);
    return m_state;
}

void ImportRun::finish(int status) {
    if (m_out >= 0) close(m_out);
    if (m_err >= 0) close(m_err);
    m_out = m_err = -1;
    if (status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        m_state = State::Done;
        return;
    }
    m_state = State::Failed;
    m_importerFailed = true;
    if (status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        m_failure = "the importer (pagly-import) could not be run";
    } else if (status >= 0 && WIFSIGNALED(status)) {
        m_failure = "the importer stopped with signal " + std::to_string(WTERMSIG(status));
    } else if (m_lastProblem.empty()) {
        m_failure = "the importer could not convert the book";
    } else {
        // "cannot convert <book>: <reason>" is the importer's refusal of the book.
        m_importerFailed = false;
        m_failure = m_lastProblem;
        const std::string refusal = "cannot convert " + m_source + ": ";
        if (m_failure.rfind(refusal, 0) == 0) m_failure.erase(0, refusal.size());
    }
}

void ImportRun::stop() {
    if (m_pid > 0) {
        // A second for the importer to tidy up, then no more: the window is closing.
        kill(-m_pid, SIGTERM);
        int status;
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            ended = waitpid(m_pid, &status, WNOHANG) == m_pid;
            if (!ended) usleep(10000);
        }
        if (!ended) {
            kill(-m_pid, SIGKILL);
            while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
        m_pid = -1;
    }
    if (m_out >= 0) close(m_out);
    if (m_err >= 0) close(m_err);
    m_out = m_err = -1;
    if (m_state == State::Running) m_state = State::Failed;
}

}  // namespace pagly
