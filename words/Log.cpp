#include "words/Log.h"

#include <cstdio>
#include <mutex>

namespace pagly::words {
namespace {
std::mutex sinkMutex;
LogSink& currentSink() {
    static LogSink sink;
    return sink;
}
}  // namespace

void setLogSink(LogSink sink) {
    std::lock_guard<std::mutex> lock(sinkMutex);
    currentSink() = std::move(sink);
}

void logLine(const std::string& line) {
    LogSink sink;
    {
        std::lock_guard<std::mutex> lock(sinkMutex);
        sink = currentSink();
    }
    if (sink)
        sink(line);
    else
        fprintf(stderr, "words: %s\n", line.c_str());
}

}  // namespace pagly::words
