// The folders a conversion works in (the unpacked copy of a packed book, the browser's
// profile, the unfinished book beside its target). While the conversion lives it holds a lock
// on a file inside each; a later start removes every such folder whose lock nobody holds any
// more, so that even a conversion killed outright leaves nothing for good.
#ifndef PAGLY_TOOLS_IMPORT_WORKFOLDER_H
#define PAGLY_TOOLS_IMPORT_WORKFOLDER_H

#include <string>

namespace pagly::import {

class WorkFolder {
  public:
    WorkFolder() = default;
    ~WorkFolder() { remove(); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // A new folder `prefix` + six random characters under $TMPDIR (or /tmp); false on failure.
    bool makeTemporary(const std::string& prefix);
    // A new folder beside `target` (same parent, so that it can be renamed onto it).
    bool makeBeside(const std::string& target);

    const std::string& path() const { return m_path; }
    bool empty() const { return m_path.empty(); }

    // Takes the lock file out, keeping the lock until handOver() or remove(): the folder is
    // about to become something finished and must not carry it.
    void unmark();
    // The folder was moved into place: it is no longer this conversion's to remove.
    void handOver();
    // Removes the folder with everything in it. Safe to call twice.
    void remove();

  private:
    bool lock();

    std::string m_path;
    int m_lock = -1;
};

// The name of the lock file inside a work folder.
extern const char* const kWorkLock;  // ".pagly-busy"
// A file inside a work folder naming the process group of a program started to work in it
// (the browser in its profile): removing the abandoned folder ends that group too.
extern const char* const kWorkProcessGroup;  // ".pagly-group"

// Removes the work folders of conversions that ended without removing them (killed):
// those under $TMPDIR whose names start with "pagly-", and the unfinished folders beside
// `target` (empty: none). Only folders of this user holding a lock file nobody holds go.
// Returns how many were removed.
int removeLeftovers(const std::string& target);

}  // namespace pagly::import

#endif
