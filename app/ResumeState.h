#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/StateWriter.h"

namespace pagly {

// Where the learner stopped: the page last opened in each book (keyed by the book folder's real
// path) and the speech speed, kept across runs in a small text file in the user's data folder.
// The file is a header line, then "name value" lines; a "page" line belongs to the "book" line
// before it. Fields this version does not know are skipped, so a later version can add some.
struct ResumeState {
    static constexpr int kMostBooks = 50;  // the oldest books are forgotten beyond this

    float speed = 0;  // 0: none remembered; else one of the offered speech speeds
    // Most recently read first.
    std::vector<std::pair<std::string, int>> pages;
    // A page from a file of the first version, which kept one page for whatever book was read:
    // it goes to the book this run opens.
    int unclaimedPage = 0;

    // 0 when nothing is remembered for `book`.
    int pageOf(const std::string& book) const;
    // Remembers `page` for `book` as the most recent.
    void setPage(const std::string& book, int page);
};

// What one run changed since its last write. It is merged into the file as the file is then,
// so that two readers of two books at once keep each other's page, and the speed is the one
// chosen last: a run that did not change it never writes back the value it read at start.
struct ResumeChange {
    std::string book;  // "": no page was opened
    int page = 0;
    float speed = 0;  // 0: the speed was not changed

    bool empty() const { return book.empty() && speed == 0; }
    // Takes `later` on top of this change: what it sets wins.
    void add(const ResumeChange& later);
    void applyTo(ResumeState& state) const;
};

// The state file's path (in the user's data folder).
std::string resumeStatePath();

// Reads the state file. A missing file gives the empty state silently; a damaged or foreign
// file gives the empty state and a log line. Something other than a regular file at the path
// (a pipe, a folder, a device) is never opened: `notAFile` (when given) is set and nothing is
// logged here.
ResumeState readResumeState(const std::string& path, bool* notAFile = nullptr);
// Writes `state` whole through a temporary file of this process's own, renamed over the file
// while holding the lock file beside it ("state.txt.lock"), so a crash, a full disk or a second
// reader writing at once leaves one whole file. False (logged) when it could not; never writes
// over something that is not a regular file.
bool writeResumeState(const std::string& path, const ResumeState& state);

// What this run remembers for its book, written by a helper thread so that no page turn waits
// for the disk. Each write merges this run's changes into the file under its lock.
class ResumeMemory {
  public:
    // Reads the state file for the book in `bookFolder`. Something other than a file at the
    // state path is logged once, and the run goes on without remembering.
    void restore(const std::string& path, const std::string& bookFolder);
    // The remembered page of this run's book (0: none).
    int page() const;
    // Remembers the page opened and writes the file when it changed.
    void rememberPage(int page);
    // The remembered speech speed: 1 (as recorded) when none was remembered.
    float speed() const;
    void rememberSpeed(float speed);
    // Waits until what was remembered is on disk.
    void flush();

  private:
    // Finds the file and the book on first use when restore was not called.
    void ensureRestored();
    // Keeps `change` for the helper thread to write.
    void write(const ResumeChange& change);
    // On the helper thread: merges what is unwritten into the file at `path`.
    std::string writeUnwritten(const std::string& path);
    // Logs, on the engine thread, what went wrong in the helper's writes so far.
    void logWriteProblems();

    bool m_restored = false;
    bool m_off = false;  // something that is not a file stands at the path
    std::string m_path;
    std::string m_book;
    ResumeState m_state;  // what this run knows: its book's page and the speed
    // The changes no write has taken yet (a failed write puts its change back). Shared with
    // the helper thread, and declared before the writer, which may still use them as it stops.
    std::mutex m_unwrittenLock;
    ResumeChange m_unwritten;
    StateWriter m_writer;
};

// The session's memory (see ReadingSession).
int rememberedPage();
void rememberPage(int page);
float rememberedSpeechSpeed();
void rememberSpeechSpeed(float speed);

}  // namespace pagly
