// The state file on disk: reading it, writing it whole through a renamed temporary file, and
// merging one run's change into it under a lock (ResumeStateFile.h).
#include "app/ResumeStateFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "app/ReadingSession.h"
#include "app/SpeechSpeed.h"
#include "engine/base/CCObject.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const char* const kHeader = "pagly-state 2";
const char* const kFirstHeader = "pagly-state 1";  // one page, for whatever book was read
// Beside the state file; it is never removed, since a reader waiting on a removed lock file
// would hold a lock nobody else sees.
const char* const kLockSuffix = ".lock";
// A state file is a few lines; anything much bigger is not ours.
const long kLargestStateFile = 16 * 1024;
// The first version knew only the course book's pages.
const int kFirstVersionFirstPage = 2, kFirstVersionLastPage = 77;
const int kHighestPage = 99999;

bool parseInt(const std::string& text, int& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < -1000000 || v > 1000000) return false;
    out = (int)v;
    return true;
}

// Whether something other than a regular file stands at `path` (a missing one is fine).
bool isNotAFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string cannotWrite(const std::string& path, const std::string& why) {
    return "could not write the state file " + path + ": " + why;
}

// The file's bytes; "" or why they cannot be had. Opens nothing but a regular file.
std::string readBytes(const std::string& path, std::string& text, bool& notAFile, bool& missing) {
    // Not blocking, and checked again once open: something may have taken the file's place.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    missing = fd < 0;
    if (missing) return "";  // a first run: nothing remembered yet
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        notAFile = true;
        return "";
    }
    char buffer[4096];
    ssize_t n;
    bool readError = false;
    while ((n = read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0) {
            if (errno == EINTR) continue;
            readError = true;
            break;
        }
        text.append(buffer, (size_t)n);
        if ((long)text.size() > kLargestStateFile) break;
    }
    close(fd);
    if (readError) return "it cannot be read";
    if ((long)text.size() > kLargestStateFile) return "it is too large";
    if (text.find('\0') != std::string::npos) return "it is not text";
    return "";
}

// The lines of a state file; "" or why they are not one.
std::string parseState(const std::string& text, ResumeState& state) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || (line != kHeader && line != kFirstHeader))
        return "it is not a pagly state file";
    bool first = line == kFirstHeader;
    std::string book;  // the book the next page line belongs to
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        size_t space = line.find(' ');
        std::string name = line.substr(0, space);
        std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        int v = 0;
        if (name == "page" && first) {
            if (!parseInt(value, v) || v < kFirstVersionFirstPage || v > kFirstVersionLastPage)
                return "its page is damaged";
            state.unclaimedPage = v;
        } else if (name == "page") {
            if (book.empty()) return "a page names no book";
            if (!parseInt(value, v) || v < 1 || v > kHighestPage) return "its page is damaged";
            if (!state.pageOf(book) && (int)state.pages.size() < ResumeState::kMostBooks)
                state.pages.push_back({book, v});
            book.clear();
        } else if (name == "book" && !first) {
            if (value.empty() || value[0] != '/') return "a book is damaged";
            book = value;
        } else if (name == "mode" && first) {
            // Kept by the first version; every run now starts reading on.
            if (!parseInt(value, v) || v < ReadByTouch || v > ReadOn)
                return "its reading mode is damaged";
        } else if (name == "speed") {
            char* end = nullptr;
            float speed = value.empty() ? 0 : strtof(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !isOfferedSpeechSpeed(speed))
                return "its speech speed is damaged";
            state.speed = speed;
        }
        // Any other field belongs to a later version: skipped.
    }
    return "";
}

std::string stateText(const ResumeState& state) {
    std::string text = std::string(kHeader) + "\n";
    if (state.speed > 0) {
        char line[32];
        snprintf(line, sizeof line, "speed %.2f\n", state.speed);
        text += line;
    }
    for (const auto& entry : state.pages)
        text += "book " + entry.first + "\npage " + std::to_string(entry.second) + "\n";
    return text;
}

// Writes the file through a temporary file of this process's own, renamed over it, so that a
// crash or a full disk leaves the old file whole. The caller holds the lock.
std::string replaceFile(const std::string& path, const ResumeState& state) {
    if (isNotAFile(path)) return cannotWrite(path, "it is not a file");
    std::string text = stateText(state);
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return cannotWrite(path, strerror(errno));
    bool ok = fchmod(fd, 0644) == 0;
    size_t done = 0;
    while (ok && done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += (size_t)n;
    }
    ok = ok && fsync(fd) == 0;
    int error = errno;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) return "";
    if (ok) error = errno;
    unlink(temporary.c_str());
    return cannotWrite(path, strerror(error));
}

// An exclusive lock on the lock file beside the state file, held for the object's life. Every
// writer of the state file, in every process, takes it around its read, change and rename.
class StateFileLock {
  public:
    explicit StateFileLock(const std::string& path) {
        std::string lockPath = path + kLockSuffix;
        // Not blocking on open (a pipe put there), and never following a link.
        m_fd = open(lockPath.c_str(),
                    O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            problem = cannotWrite(path, std::string("its lock: ") + strerror(errno));
            return;
        }
        struct stat st;
        if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            problem = cannotWrite(path, "its lock " + lockPath + " is not a file");
            return;
        }
        int result;
        while ((result = flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (result != 0) problem = cannotWrite(path, std::string("its lock: ") + strerror(errno));
    }
    ~StateFileLock() {
        if (m_fd >= 0) close(m_fd);  // lets the lock go
    }
    StateFileLock(const StateFileLock&) = delete;
    StateFileLock& operator=(const StateFileLock&) = delete;

    std::string problem;  // "" while held

  private:
    int m_fd = -1;
};
}  // namespace

std::string readStateFile(const std::string& path, ResumeState& state, bool& notAFile) {
    state = ResumeState();
    notAFile = isNotAFile(path);
    if (notAFile) return "";
    std::string text;
    bool missing = false;
    std::string why = readBytes(path, text, notAFile, missing);
    if (why.empty() && !notAFile && !missing) why = parseState(text, state);
    if (!why.empty()) state = ResumeState();
    return why;
}

std::string writeStateFile(const std::string& path, const ResumeState& state) {
    StateFileLock lock(path);
    if (!lock.problem.empty()) return lock.problem;
    return replaceFile(path, state);
}

bool mergeStateFile(const std::string& path, const ResumeChange& change, std::string& problem) {
    StateFileLock lock(path);
    problem = lock.problem;
    if (!problem.empty()) return false;
    ResumeState state;
    bool notAFile = false;
    // A damaged file was said when the run started; the whole file written here replaces it.
    readStateFile(path, state, notAFile);
    if (notAFile) return problem = cannotWrite(path, "it is not a file"), false;
    change.applyTo(state);
    problem = replaceFile(path, state);
    return problem.empty();
}

ResumeState readResumeState(const std::string& path, bool* notAFile) {
    ResumeState state;
    bool other = false;
    std::string why = readStateFile(path, state, other);
    if (notAFile) *notAFile = other;
    if (!why.empty()) CCLog("state file %s ignored: %s", path.c_str(), why.c_str());
    return state;
}

bool writeResumeState(const std::string& path, const ResumeState& state) {
    std::string problem = writeStateFile(path, state);
    if (problem.empty()) return true;
    CCLog("%s", problem.c_str());
    return false;
}

}  // namespace pagly
