#pragma once

#include <string>
#include <vector>

namespace pagly::engine {

// Resolves resource names against the resource root (the book folder) and reads files.
class CCFileUtils {
  public:
    static CCFileUtils* sharedFileUtils();

    // The folder relative names resolve against. Defaults to the book installed beside the
    // executable, else the source tree's book folder.
    const std::string& getResourceRoot() const { return m_root; }
    // `shared`: the root is installed data (the install layout's share folder), read by
    // everyone and never written, whoever runs the reader (root included).
    void setResourceRoot(const std::string& root, bool shared = false);
    bool isResourceRootShared() const { return m_rootShared; }

    // The full path of an existing file, or the bare name when nothing is found.
    std::string fullPathForFilename(const char* filename) const;
    std::string fullPathForFilename(const std::string& filename) const {
        return fullPathForFilename(filename.c_str());
    }
    bool isFileExist(const std::string& path) const;
    bool isAbsolutePath(const std::string& path) const { return !path.empty() && path[0] == '/'; }

    // Whole-file read; false when the file cannot be opened or is not a regular file.
    bool readFile(const std::string& fullPath, std::string& out) const;
    // Resolves, then reads. Empty string when unreadable.
    std::string getFileData(const char* filename, bool* ok = nullptr) const;

    // The user's data folder for files the reader writes when the resource root is read-only.
    std::string getWritablePath() const;

    // Where an installed reader looks for its book, in order, given the folder that holds the
    // executable: beside it (a copied folder), then the install layout's ../share/pagly/book.
    static std::vector<std::string> installedBookFolders(const std::string& executableFolder);

  private:
    CCFileUtils();
    std::string m_root;
    bool m_rootShared = false;
};

}  // namespace pagly::engine
