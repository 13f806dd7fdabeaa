// Folder chores of the importer: temporary folders, removing and copying trees, writing a
// file whole, and putting a finished folder in place at once.
#ifndef PAGLY_TOOLS_IMPORT_FILETREE_H
#define PAGLY_TOOLS_IMPORT_FILETREE_H

#include <string>
#include <vector>

namespace pagly::import {

// A new empty folder named `prefix` + six random characters under $TMPDIR (or /tmp); "" on
// failure.
std::string makeTemporaryFolder(const std::string& prefix);
// A new empty folder beside `target` (same parent, so it can be renamed onto it); "" on failure.
std::string makeSiblingFolder(const std::string& target);

// Removes a file or a folder with everything in it; symbolic links are removed, never followed.
void removeTree(const std::string& path);

// Copies the regular files and folders under `from` into `to` (made when missing), leaving out
// the top-level names in `skip`. Symbolic links and special files are not copied.
bool copyTree(const std::string& from, const std::string& to, const std::vector<std::string>& skip,
              std::string& why);

bool writeFile(const std::string& path, const std::string& bytes);
bool readFile(const std::string& path, std::string& bytes, size_t largest = 64u << 20);
bool isFolder(const std::string& path);
bool isFile(const std::string& path);
bool makeFolder(const std::string& path);

// Puts the finished folder `ready` at `target`: a plain rename when `target` is absent, else an
// atomic exchange followed by removing the old folder. False with `why` set on failure, when
// `ready` is left where it was.
bool putInPlace(const std::string& ready, const std::string& target, std::string& why);

// "a/b/c.ext" -> "c"
std::string stemOf(const std::string& path);
// The absolute, lexically cleaned form of `path` (no symbolic links resolved).
std::string absolutePath(const std::string& path);

}  // namespace pagly::import

#endif
