#include "app/ResumeState.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "app/ReadingState.h"
#include "app/SpeechSpeed.h"
#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const char* const kStateName = "state.txt";
const char* const kHeader = "pagly-state 1";
// A state file is a few lines; anything much bigger is not ours.
const long kLargestStateFile = 16 * 1024;
const int kFirstPage = 2;
const int kLastPage = 77;

ResumeState g_remembered;  // what this run remembers
ResumeState g_written;     // what the file holds as far as this run knows

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
}  // namespace

std::string resumeStatePath() {
    return CCFileUtils::sharedFileUtils()->getWritablePath() + kStateName;
}

ResumeState readResumeState(const std::string& path) {
    FILE* in = fopen(path.c_str(), "rb");
    if (!in) return ResumeState();  // a first run: nothing remembered yet
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), in)) > 0) {
        text.append(buffer, n);
        if ((long)text.size() > kLargestStateFile) break;
    }
    bool readError = ferror(in) != 0;
    fclose(in);
    if (readError) return ignored(path, "it cannot be read");
    if ((long)text.size() > kLargestStateFile) return ignored(path, "it is too large");
    if (text.find('\0') != std::string::npos) return ignored(path, "it is not text");

    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != kHeader)
        return ignored(path, "it is not a pagly state file");
    ResumeState state;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        size_t space = line.find(' ');
        std::string name = line.substr(0, space);
        std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        int v = 0;
        if (name == "page") {
            if (!parseInt(value, v) || v < kFirstPage || v > kLastPage)
                return ignored(path, "its page is damaged");
            state.page = v;
        } else if (name == "mode") {
            if (!parseInt(value, v) || v < ReadByTouch || v > ReadOn)
                return ignored(path, "its reading mode is damaged");
            state.mode = v;
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
    std::string text = std::string(kHeader) + "\n";
    if (state.page) text += "page " + std::to_string(state.page) + "\n";
    if (state.mode) text += "mode " + std::to_string(state.mode) + "\n";
    if (state.speed > 0) {
        char line[32];
        snprintf(line, sizeof line, "speed %.2f\n", state.speed);
        text += line;
    }
    std::string temporary = path + ".new";
    FILE* out = fopen(temporary.c_str(), "wb");
    if (!out) {
        CCLog("could not write the state file %s: %s", temporary.c_str(), strerror(errno));
        return false;
    }
    bool ok = fwrite(text.data(), 1, text.size(), out) == text.size();
    ok = fflush(out) == 0 && ok;
    ok = fsync(fileno(out)) == 0 && ok;
    ok = fclose(out) == 0 && ok;
    if (!ok || rename(temporary.c_str(), path.c_str()) != 0) {
        CCLog("could not write the state file %s: %s", path.c_str(), strerror(errno));
        remove(temporary.c_str());
        return false;
    }
    return true;
}

int rememberedPage() { return g_remembered.page; }

void restoreResumeState() {
    g_remembered = readResumeState(resumeStatePath());
    g_written = g_remembered;
    if (g_remembered.mode) readingMode = (ReadingMode)g_remembered.mode;
}

static void writeIfChanged() {
    if (g_remembered.page == g_written.page && g_remembered.mode == g_written.mode &&
        g_remembered.speed == g_written.speed)
        return;
    if (writeResumeState(resumeStatePath(), g_remembered)) g_written = g_remembered;
}

void rememberPage(int page) {
    if (page < kFirstPage || page > kLastPage) return;
    g_remembered.page = page;
    g_remembered.mode = readingMode;
    writeIfChanged();
}

void rememberReadingMode() {
    g_remembered.mode = readingMode;
    writeIfChanged();
}

float rememberedSpeechSpeed() { return g_remembered.speed > 0 ? g_remembered.speed : 1.0f; }

void rememberSpeechSpeed(float speed) {
    if (!isOfferedSpeechSpeed(speed)) return;
    g_remembered.speed = speed;
    writeIfChanged();
}

void forgetResumeState() {
    g_remembered = ResumeState();
    g_written = ResumeState();
}

}  // namespace pagly
