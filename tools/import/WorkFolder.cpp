// The folders a conversion works in (see WorkFolder.h).
#include "tools/import/WorkFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/import/FileTree.h"

namespace pagly::import {

const char* const kWorkLock = ".pagly-busy";
const char* const kWorkProcessGroup = ".pagly-group";

namespace {

std::string temporaryRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// Whether `folder` is a work folder of this user that no living conversion holds.
bool abandoned(const std::string& folder) {
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return false;
    int fd = open((folder + "/" + kWorkLock).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;  // not ours, or one being made this very moment
    bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return free;
}

// A browser a killed conversion started may outlive it: its process group, named in the
// folder, is ended when its command line still names the folder (so never a stranger that
// took the number since).
void endOrphanedGroup(const std::string& folder) {
    std::string text, command;
    if (!readFile(folder + "/" + kWorkProcessGroup, text, 64)) return;
    long group = std::strtol(text.c_str(), nullptr, 10);
    if (group <= 1) return;
    // /proc says its files are empty: read to the end instead.
    std::string path = "/proc/" + std::to_string(group) + "/cmdline";
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return;
    char chunk[4096];
    command.clear();
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) command.append(chunk, n);
    std::fclose(f);
    if (command.find(folder) == std::string::npos) return;
    kill(-(pid_t)group, SIGKILL);
    // Gone before its folder is removed, so that nothing writes there again (a moment at most).
    for (int i = 0; i < 100 && kill(-(pid_t)group, 0) == 0; ++i) usleep(10000);
}

int removeAbandonedIn(const std::string& parent, bool (*matches)(const std::string&)) {
    int removed = 0;
    DIR* dir = opendir(parent.c_str());
    if (!dir) return 0;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (!matches(name)) continue;
        std::string path = parent + "/" + name;
        if (!abandoned(path)) continue;
        endOrphanedGroup(path);
        removeTree(path);
        ++removed;
    }
    closedir(dir);
    return removed;
}

bool temporaryName(const std::string& name) { return name.rfind("pagly-", 0) == 0; }

bool unfinishedName(const std::string& name) {
    return name.size() > 1 && name[0] == '.' &&
           name.find(".pagly-import-unfinished-") != std::string::npos;
}

}  // namespace

bool WorkFolder::lock() {
    // Made and locked before anything else goes in; closed on exec, so the browser never
    // holds it.
    m_lock = open((m_path + "/" + kWorkLock).c_str(),
                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_lock < 0 || flock(m_lock, LOCK_EX | LOCK_NB) != 0) {
        remove();
        return false;
    }
    return true;
}

bool WorkFolder::makeTemporary(const std::string& prefix) {
    remove();
    m_path = makeTemporaryFolder(prefix);
    return !m_path.empty() && lock();
}

bool WorkFolder::makeBeside(const std::string& target) {
    remove();
    m_path = makeSiblingFolder(target);
    return !m_path.empty() && lock();
}

void WorkFolder::unmark() {
    if (!m_path.empty()) unlink((m_path + "/" + kWorkLock).c_str());
}

void WorkFolder::handOver() {
    if (m_lock >= 0) close(m_lock);
    m_lock = -1;
    m_path.clear();
}

void WorkFolder::remove() {
    if (!m_path.empty()) removeTree(m_path);
    handOver();
}

int removeLeftovers(const std::string& target) {
    int removed = removeAbandonedIn(temporaryRoot(), temporaryName);
    if (!target.empty()) {
        std::string clean = absolutePath(target);
        std::string parent = clean.substr(0, clean.rfind('/'));
        removed += removeAbandonedIn(parent.empty() ? "/" : parent, unfinishedName);
    }
    return removed;
}

}  // namespace pagly::import
