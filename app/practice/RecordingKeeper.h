#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pagly {

// Keeps the learner's recordings of each sentence in the user's data folder, as FLAC files
// ("recordings/<book>/<sentence>-<number>.flac"), the newest three per sentence. The files are
// written on a helper thread of its own, so that practice never waits for the disk; a full
// disk or a folder that cannot be written loses the keeping (a log line), never the practice.
class RecordingKeeper {
  public:
    static constexpr int kKeptPerSentence = 3;
    // Recordings waiting to be written beyond this are not kept (the disk is stuck).
    static constexpr size_t kMostPending = 8;

    RecordingKeeper() = default;
    RecordingKeeper(const RecordingKeeper&) = delete;
    RecordingKeeper& operator=(const RecordingKeeper&) = delete;
    // Writes what is pending, then stops the thread.
    ~RecordingKeeper();

    // The folder for the book in `bookFolder` under the user's data folder.
    static std::string folderForBook(const std::string& bookFolder);

    // Keeps `samples` (mono, `sampleRate`) as the newest recording of `sentence` (a file-name
    // stem such as "mc0191") in `folder` (made when needed).
    void keep(const std::string& folder, const std::string& sentence, std::vector<float> samples,
              int sampleRate);
    // Returns once every recording handed over has been written or given up.
    void flush();
    // What went wrong since the last call.
    std::vector<std::string> takeProblems();
    // The kept recordings of `sentence` in `folder`, oldest first (full paths).
    static std::vector<std::string> keptFiles(const std::string& folder,
                                              const std::string& sentence);

  private:
    struct Job {
        std::string folder;
        std::string sentence;
        std::vector<float> samples;
        int sampleRate;
    };
    void run();
    // Writes one recording and drops the older ones; "" or what went wrong.
    std::string write(const Job& job) const;

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    std::vector<std::string> m_problems;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace pagly
