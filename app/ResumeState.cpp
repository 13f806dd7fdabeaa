// The state file: reading it, writing it safely, and what this run remembers (ResumeState.h).
#include "app/ResumeState.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "app/ReadingSession.h"
#include "app/SpeechSpeed.h"
#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const char* const kStateName = "state.txt";
const char* const kHeader = "pagly-state 2";
const char* const kFirstHeader = "pagly-state 1";  // one page, for whatever book was read
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

ResumeState ignored(const std::string& path, const char* why) {
    CCLog("state file %s ignored: %s", path.c_str(), why);
    return ResumeState();
}

// Whether something other than a regular file stands at `path` (a missing one is fine).
bool isNotAFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
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

// Writes the file; "" or what went wrong.
std::string writeStateFile(const std::string& path, const ResumeState& state) {
    if (isNotAFile(path)) return "could not write the state file " + path + ": it is not a file";
    std::string text = stateText(state);
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return "could not write the state file " + path + ": " + strerror(errno);
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
    return "could not write the state file " + path + ": " + strerror(error);
}

std::string realFolder(const std::string& folder) {
    char real[PATH_MAX];
    if (realpath(folder.c_str(), real)) return real;
    return folder;
}
}  // namespace

int ResumeState::pageOf(const std::string& book) const {
    for (const auto& entry : pages)
        if (entry.first == book) return entry.second;
    return 0;
}

void ResumeState::setPage(const std::string& book, int page) {
    for (auto it = pages.begin(); it != pages.end(); ++it) {
        if (it->first == book) {
            pages.erase(it);
            break;
        }
    }
    pages.insert(pages.begin(), {book, page});
    if ((int)pages.size() > kMostBooks) pages.resize(kMostBooks);
}

bool ResumeState::operator==(const ResumeState& other) const {
    return speed == other.speed && pages == other.pages && unclaimedPage == other.unclaimedPage;
}

std::string resumeStatePath() {
    return CCFileUtils::sharedFileUtils()->getWritablePath() + kStateName;
}

ResumeState readResumeState(const std::string& path, bool* notAFile) {
    if (notAFile) *notAFile = false;
    if (isNotAFile(path)) {
        if (notAFile) *notAFile = true;
        return ResumeState();
    }
    // Not blocking, and checked again once open: something may have taken the file's place.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return ResumeState();  // a first run: nothing remembered yet
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        if (notAFile) *notAFile = true;
        return ResumeState();
    }
    std::string text;
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
    if (readError) return ignored(path, "it cannot be read");
    if ((long)text.size() > kLargestStateFile) return ignored(path, "it is too large");
    if (text.find('\0') != std::string::npos) return ignored(path, "it is not text");

    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || (line != kHeader && line != kFirstHeader))
        return ignored(path, "it is not a pagly state file");
    bool first = line == kFirstHeader;
    ResumeState state;
    std::string book;  // the book the next page line belongs to
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        size_t space = line.find(' ');
        std::string name = line.substr(0, space);
        std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        int v = 0;
        if (name == "page" && first) {
            if (!parseInt(value, v) || v < kFirstVersionFirstPage || v > kFirstVersionLastPage)
                return ignored(path, "its page is damaged");
            state.unclaimedPage = v;
        } else if (name == "page") {
            if (book.empty()) return ignored(path, "a page names no book");
            if (!parseInt(value, v) || v < 1 || v > kHighestPage)
                return ignored(path, "its page is damaged");
            if (!state.pageOf(book) && (int)state.pages.size() < ResumeState::kMostBooks)
                state.pages.push_back({book, v});
            book.clear();
        } else if (name == "book" && !first) {
            if (value.empty() || value[0] != '/') return ignored(path, "a book is damaged");
            book = value;
        } else if (name == "mode" && first) {
            // Kept by the first version; every run now starts reading on.
            if (!parseInt(value, v) || v < ReadByTouch || v > ReadOn)
                return ignored(path, "its reading mode is damaged");
        } else if (name == "speed") {
            char* end = nullptr;
            float speed = value.empty() ? 0 : strtof(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !isOfferedSpeechSpeed(speed))
                return ignored(path, "its speech speed is damaged");
            state.speed = speed;
        }
        // Any other field belongs to a later version: skipped.
    }
    return state;
}

bool writeResumeState(const std::string& path, const ResumeState& state) {
    std::string problem = writeStateFile(path, state);
    if (problem.empty()) return true;
    CCLog("%s", problem.c_str());
    return false;
}

// ---------------------------------------------------------------- this run's memory

void ResumeMemory::restore(const std::string& path, const std::string& bookFolder) {
    m_restored = true;
    m_path = path;
    m_book = realFolder(bookFolder);
    bool notAFile = false;
    m_state = readResumeState(path, &notAFile);
    if (notAFile) {
        m_off = true;
        CCLog("the state file %s is not a file: nothing is remembered in this run", path.c_str());
    }
    if (m_state.unclaimedPage) {
        if (!m_state.pageOf(m_book)) m_state.setPage(m_book, m_state.unclaimedPage);
        m_state.unclaimedPage = 0;
    }
    m_written = m_state;
}

void ResumeMemory::ensureRestored() {
    // A run that did not read the file (a test of one screen) remembers afresh.
    if (m_restored) return;
    m_restored = true;
    m_path = resumeStatePath();
    m_book = realFolder(CCFileUtils::sharedFileUtils()->getResourceRoot());
}

void ResumeMemory::flush() {
    m_writer.flush();
    logWriteProblems();
}

void ResumeMemory::logWriteProblems() {
    for (const std::string& problem : m_writer.takeProblems()) CCLog("%s", problem.c_str());
}

int ResumeMemory::page() const { return m_state.pageOf(m_book); }

float ResumeMemory::speed() const { return m_state.speed > 0 ? m_state.speed : 1.0f; }

void ResumeMemory::rememberPage(int page) {
    ensureRestored();
    if (page == this->page()) return;
    m_state.setPage(m_book, page);
    writeIfChanged();
}

void ResumeMemory::rememberSpeed(float speed) {
    ensureRestored();
    m_state.speed = speed;
    writeIfChanged();
}

void ResumeMemory::writeIfChanged() {
    logWriteProblems();
    if (m_off || m_state == m_written) return;
    m_written = m_state;
    std::string path = m_path;
    ResumeState state = m_state;
    m_writer.post([path, state] { return writeStateFile(path, state); });
}

int rememberedPage() {
    const ReadingSession& s = session();
    int page = s.resume.page();
    return s.book.hasPage(page) ? page : 0;
}

void rememberPage(int page) {
    ReadingSession& s = session();
    if (s.book.hasPage(page)) s.resume.rememberPage(page);
}

float rememberedSpeechSpeed() { return session().resume.speed(); }

void rememberSpeechSpeed(float speed) {
    if (isOfferedSpeechSpeed(speed)) session().resume.rememberSpeed(speed);
}

}  // namespace pagly
