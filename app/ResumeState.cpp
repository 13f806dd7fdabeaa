// What this run remembers, and how its changes reach the state file (ResumeState.h).
#include "app/ResumeState.h"

#include <climits>
#include <cstdlib>

#include "app/ReadingSession.h"
#include "app/ResumeStateFile.h"
#include "app/SpeechSpeed.h"
#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const char* const kStateName = "state.txt";

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

std::string resumeStatePath() {
    return CCFileUtils::sharedFileUtils()->getWritablePath() + kStateName;
}

void ResumeChange::add(const ResumeChange& later) {
    if (!later.book.empty()) {
        book = later.book;
        page = later.page;
    }
    if (later.speed > 0) speed = later.speed;
}

void ResumeChange::applyTo(ResumeState& state) const {
    if (!book.empty()) state.setPage(book, page);
    if (speed > 0) state.speed = speed;
}

// ---------------------------------------------------------------- this run's memory

void ResumeMemory::restore(const std::string& path, const std::string& bookFolder) {
    // What an earlier file was owed goes there first.
    flush();
    {
        std::lock_guard<std::mutex> hold(m_unwrittenLock);
        m_unwritten = ResumeChange();
    }
    m_restored = true;
    m_off = false;
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
    ResumeChange change;
    change.book = m_book;
    change.page = page;
    write(change);
}

void ResumeMemory::rememberSpeed(float speed) {
    ensureRestored();
    if (speed == m_state.speed) return;
    m_state.speed = speed;
    ResumeChange change;
    change.speed = speed;
    write(change);
}

void ResumeMemory::write(const ResumeChange& change) {
    logWriteProblems();
    if (m_off) return;
    {
        std::lock_guard<std::mutex> hold(m_unwrittenLock);
        m_unwritten.add(change);
    }
    // Each write takes all that is unwritten, so the writer dropping a pending one for this
    // loses nothing.
    m_writer.post([this, path = m_path] { return writeUnwritten(path); });
}

std::string ResumeMemory::writeUnwritten(const std::string& path) {
    ResumeChange change;
    {
        std::lock_guard<std::mutex> hold(m_unwrittenLock);
        std::swap(change, m_unwritten);
    }
    if (change.empty()) return "";  // an earlier write took it
    std::string problem;
    if (mergeStateFile(path, change, problem)) return "";
    // Tried again with the next change, under whatever came meanwhile.
    std::lock_guard<std::mutex> hold(m_unwrittenLock);
    change.add(m_unwritten);
    m_unwritten = change;
    return problem;
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
