// Catches the dictionaries' log lines for one test.
#pragma once

#include <string>
#include <vector>

#include "words/Log.h"

namespace pagly::words::testing {

class LogCapture {
  public:
    LogCapture() {
        setLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { setLogSink(nullptr); }
    std::vector<std::string> lines;
};

}  // namespace pagly::words::testing
