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

// An unpacked EPUB has its container; an unpacked Bloom book its page file.
bool looksLikeUnpackedForeignBook(const std::string& dir) {
    if (isRegular(dir + "/META-INF/container.xml")) return true;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        std::string ext = lowerExtension(entry.path().string());
        if ((ext == ".htm" || ext == ".html") && entry.is_regular_file(ec)) return true;
    }
    return false;
}

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

bool hashFile(EVP_MD_CTX* context, const std::string& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    char buffer[1 << 16];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        EVP_DigestUpdate(context, buffer, got);
    bool ok = !ferror(file);
    fclose(file);
    return ok;
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

std::string bookDigest(const std::string& path, std::string* problem) {
    DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || !EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr)) {
        if (problem) *problem = "no digest available";
        return "";
    }
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        // Name order, symlinks left out (the importer does not follow them either).
        std::vector<std::string> names;
        fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied,
                                            ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_regular_file(ec) && !it->is_symlink(ec))
                names.push_back(fs::relative(it->path(), path, ec).string());
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            EVP_DigestUpdate(context.get(), name.c_str(), name.size() + 1);
            if (!hashFile(context.get(), path + "/" + name)) {
                if (problem) *problem = "cannot read " + path + "/" + name;
                return "";
            }
        }
    } else if (!hashFile(context.get(), path)) {
        if (problem) *problem = "cannot read " + path + ": " + strerror(errno);
        return "";
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context.get(), digest, &length);
    return hexDigits(digest, length);
}

namespace {

// A file's digest is remembered under a stamp of the file (where it is, its size, when it was
// last changed), so a later open of a big book need not read all of it before the first frame.
std::string stampPath(const std::string& path) {
    struct stat st;
    std::error_code ec;
    std::string where = fs::canonical(path, ec).string();
    if (ec || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
    std::string stamp = where + "\n" + std::to_string(st.st_dev) + " " + std::to_string(st.st_ino) +
                        " " + std::to_string(st.st_size) + " " + std::to_string(st.st_mtim.tv_sec) +
                        "." + std::to_string(st.st_mtim.tv_nsec);
    std::string name = md5Hex(stamp);
    return name.empty() ? "" : importCacheFolder() + "/stamps/" + name;
}

bool isDigest(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

std::string convertedFolderFor(const std::string& path, std::string* problem) {
    std::string stamp = stampPath(path);
    if (!stamp.empty()) {
        std::string known;
        std::ifstream(stamp) >> known;
        if (isDigest(known)) return importCacheFolder() + "/" + known;
    }
    std::string digest = bookDigest(path, problem);
    if (digest.empty()) return "";
    if (!stamp.empty()) {
        // A lost stamp only costs the next open a reading of the file.
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
    m_outPending.clear();
    m_errPending.clear();
    m_state = State::Failed;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        m_failure = std::string("cannot start the importer: ") + strerror(errno);
        return false;
    }
    if (pipe2(err, O_CLOEXEC) != 0) {
        m_failure = std::string("cannot start the importer: ") + strerror(errno);
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
        if (line.rfind("cannot use ", 0) == 0) ++m_problemCount;
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
    if (status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 127)
        m_failure = "the importer (pagly-import) could not be run";
    else if (status >= 0 && WIFSIGNALED(status))
        m_failure = "the importer stopped with signal " + std::to_string(WTERMSIG(status));
    else
        m_failure =
            m_lastProblem.empty() ? "the importer could not convert the book" : m_lastProblem;
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
