// Where the dictionaries say that a file is missing or damaged: one line per failure, to a
// sink the program sets (the terminal by default).
#pragma once

#include <functional>
#include <string>

namespace pagly::words {

using LogSink = std::function<void(const std::string& line)>;

// An empty sink restores the default (standard error).
void setLogSink(LogSink sink);
void logLine(const std::string& line);

// The first thing that went wrong during one look-up, so that a look-up says at most one line
// however many damaged records it meets.
class Trouble {
  public:
    void note(const std::string& what) {
        if (first_.empty()) first_ = what;
    }
    bool any() const { return !first_.empty(); }
    // Logs the first trouble, if any, and forgets it.
    void report() {
        if (any()) logLine(first_);
        first_.clear();
    }

  private:
    std::string first_;
};

}  // namespace pagly::words
