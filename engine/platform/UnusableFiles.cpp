#include "engine/platform/UnusableFiles.h"

#include <sys/stat.h>

#include <set>

#include "engine/base/CCObject.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly::engine {

namespace {
std::set<std::string>& reported() {
    static auto* files = new std::set<std::string>();
    return *files;
}
}  // namespace

std::string bookFileName(const std::string& path) {
    const std::string& root = CCFileUtils::sharedFileUtils()->getResourceRoot();
    if (!root.empty() && path.size() > root.size() && path.compare(0, root.size(), root) == 0)
        return path.substr(root.size());
    return path;
}

bool firstTimeMet(const std::string& path, const std::string& problem) {
    return reported().insert(bookFileName(path) + '\n' + problem).second;
}

bool reportUnusableFile(const std::string& path, const std::string& reason) {
    if (!firstTimeMet(path, reason)) return false;
    CCLog("cannot use %s: %s", bookFileName(path).c_str(), reason.c_str());
    return true;
}

std::string whyUnreadable(const std::string& path) {
    // A name that did not resolve comes back bare; what lies under the root decides.
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string fullPath = files->isAbsolutePath(path) ? path : files->getResourceRoot() + path;
    struct stat st;
    if (stat(fullPath.c_str(), &st) != 0) return "it is missing";
    if (S_ISDIR(st.st_mode)) return "it is a folder, not a file";
    return "it cannot be read";
}

void forgetUnusableFiles() { reported().clear(); }

}  // namespace pagly::engine
