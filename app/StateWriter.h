#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Runs small file writes (the state file) on a helper thread of its own, so that the engine
// thread never waits for the disk between a key and the frame that answers it. Only the newest
// pending write is kept: each of the state file's writes takes all that is unwritten when it
// runs, so the one it replaces would have found nothing left to do.
namespace pagly {

class StateWriter {
  public:
    StateWriter() = default;
    StateWriter(const StateWriter&) = delete;
    StateWriter& operator=(const StateWriter&) = delete;
    // Finishes the pending write, then stops the thread.
    ~StateWriter();

    // Has `write` run on the helper thread (started on first use). It returns "" or what went
    // wrong, which is kept for the engine thread to log (the log is not the helper's to use).
    void post(std::function<std::string()> write);
    // Returns once every posted write has run.
    void flush();
    // What went wrong in the writes since the last call.
    std::vector<std::string> takeProblems();

  private:
    void run();

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::function<std::string()> m_pending;
    std::vector<std::string> m_problems;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace pagly
