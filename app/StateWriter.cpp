// The state file's writer thread (see StateWriter.h).
#include "app/StateWriter.h"

namespace pagly {

StateWriter::~StateWriter() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void StateWriter::post(std::function<std::string()> write) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_pending = std::move(write);
        if (!m_thread.joinable()) m_thread = std::thread(&StateWriter::run, this);
    }
    m_changed.notify_all();
}

void StateWriter::flush() {
    std::unique_lock<std::mutex> hold(m_lock);
    m_changed.wait(hold, [this] { return !m_pending && !m_busy; });
}

std::vector<std::string> StateWriter::takeProblems() {
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<std::string> problems;
    problems.swap(m_problems);
    return problems;
}

void StateWriter::run() {
    std::unique_lock<std::mutex> hold(m_lock);
    for (;;) {
        m_changed.wait(hold, [this] { return m_pending || m_stopping; });
        if (!m_pending) return;  // stopping, and nothing left to write
        std::function<std::string()> write = std::move(m_pending);
        m_pending = nullptr;
        m_busy = true;
        hold.unlock();
        std::string problem = write();
        hold.lock();
        if (!problem.empty()) m_problems.push_back(problem);
        m_busy = false;
        m_changed.notify_all();
    }
}

}  // namespace pagly
