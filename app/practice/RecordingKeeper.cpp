// Keeping the learner's recordings (see RecordingKeeper.h).
#include "app/practice/RecordingKeeper.h"

#include <dirent.h>
#include <limits.h>
#include <sndfile.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/BookNames.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly {

namespace {
const char kExtension[] = ".flac";

// Makes every level of `folder`; "" or why not.
std::string makeFolders(const std::string& folder) {
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && folder[i] != '/') continue;
        std::string level = folder.substr(0, i);
        if (mkdir(level.c_str(), 0755) != 0 && errno != EEXIST)
            return "cannot make the folder " + level + ": " + std::strerror(errno);
    }
    return std::string();
}

// The numbers of `sentence`'s recordings in `folder` ("<sentence>-<number>.flac").
std::vector<long> keptNumbers(const std::string& folder, const std::string& sentence) {
    std::vector<long> numbers;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return numbers;
    std::string prefix = sentence + "-";
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() <= prefix.size() + sizeof kExtension - 1) continue;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.compare(name.size() - (sizeof kExtension - 1), std::string::npos, kExtension))
            continue;
        std::string digits =
            name.substr(prefix.size(), name.size() - prefix.size() - (sizeof kExtension - 1));
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        numbers.push_back(std::strtol(digits.c_str(), nullptr, 10));
    }
    closedir(dir);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::string fileName(const std::string& folder, const std::string& sentence, long number) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%06ld", number);
    return folder + "/" + sentence + "-" + digits + kExtension;
}
}  // namespace

RecordingKeeper::~RecordingKeeper() {
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::string RecordingKeeper::folderForBook(const std::string& bookFolder) {
    char real[PATH_MAX];
    std::string book = realpath(bookFolder.c_str(), real) ? std::string(real) : bookFolder;
    // One folder per book, named by its place on disk (as the remembered pages are).
    return engine::CCFileUtils::sharedFileUtils()->getWritablePath() + "recordings/" +
           md5Hex(book).substr(0, 16);
}

void RecordingKeeper::keep(const std::string& folder, const std::string& sentence,
                           std::vector<float> samples, int sampleRate) {
    if (samples.empty() || sampleRate <= 0 || sentence.empty() || folder.empty()) return;
    std::string where = folder;
    while (where.size() > 1 && where.back() == '/') where.pop_back();
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_jobs.size() >= kMostPending) {
            m_problems.push_back("a recording of " + sentence +
                                 " is not kept: the ones before it are still being written");
            return;
        }
        m_jobs.push_back(Job{where, sentence, std::move(samples), sampleRate});
        if (!m_thread.joinable()) m_thread = std::thread(&RecordingKeeper::run, this);
    }
    m_changed.notify_all();
}

void RecordingKeeper::flush() {
    std::unique_lock<std::mutex> hold(m_lock);
    m_changed.wait(hold, [this] { return m_jobs.empty() && !m_busy; });
}

std::vector<std::string> RecordingKeeper::takeProblems() {
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<std::string> problems;
    problems.swap(m_problems);
    return problems;
}

std::vector<std::string> RecordingKeeper::keptFiles(const std::string& folder,
                                                    const std::string& sentence) {
    std::vector<std::string> files;
    for (long n : keptNumbers(folder, sentence)) files.push_back(fileName(folder, sentence, n));
    return files;
}

void RecordingKeeper::run() {
    std::unique_lock<std::mutex> hold(m_lock);
    for (;;) {
        m_changed.wait(hold, [this] { return !m_jobs.empty() || m_stopping; });
        if (m_jobs.empty()) return;  // stopping, and nothing left to write
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        hold.unlock();
        std::string problem = write(job);
        hold.lock();
        if (!problem.empty()) m_problems.push_back(problem);
        m_busy = false;
        m_changed.notify_all();
    }
}

std::string RecordingKeeper::write(const Job& job) const {
    const std::string& folder = job.folder;
    std::string problem = makeFolders(folder);
    if (!problem.empty()) return "a recording of " + job.sentence + " is not kept: " + problem;
    std::vector<long> numbers = keptNumbers(folder, job.sentence);
    long number = numbers.empty() ? 1 : numbers.back() + 1;
    std::string path = fileName(folder, job.sentence, number);
    // Written beside its place and renamed into it: a full disk leaves no half file behind.
    std::string temporary = path + ".part";
    SF_INFO info{};
    info.samplerate = job.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(temporary.c_str(), SFM_WRITE, &info);
    if (!file)
        return "a recording of " + job.sentence + " is not kept: cannot write " + temporary + ": " +
               sf_strerror(nullptr);
    sf_count_t written = sf_writef_float(file, job.samples.data(), (sf_count_t)job.samples.size());
    std::string writeError = written == (sf_count_t)job.samples.size() ? "" : sf_strerror(file);
    int closed = sf_close(file);
    if (!writeError.empty() || closed != 0) {
        unlink(temporary.c_str());
        return "a recording of " + job.sentence + " is not kept: writing " + temporary + " failed" +
               (writeError.empty() ? "" : ": " + writeError);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        std::string why = std::strerror(errno);
        unlink(temporary.c_str());
        return "a recording of " + job.sentence + " is not kept: " + why;
    }
    numbers.push_back(number);
    for (size_t i = 0; i + kKeptPerSentence < numbers.size(); ++i)
        unlink(fileName(folder, job.sentence, numbers[i]).c_str());
    return std::string();
}

}  // namespace pagly
