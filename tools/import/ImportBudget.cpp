// What one conversion may spend (see ImportBudget.h).
#include "tools/import/ImportBudget.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "tools/import/Interruption.h"

namespace pagly::import {

namespace {

std::string megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", (double)bytes / (1024.0 * 1024.0));
    return text;
}

void addFolder(const std::string& folder, std::uint64_t& total, int depth) {
    DIR* dir = depth < 64 ? opendir(folder.c_str()) : nullptr;
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
        if (cancelRequested()) break;
        std::string path = folder + "/" + entry->d_name;
        struct stat st;
        if (lstat(path.c_str(), &st) != 0) continue;
        if (S_ISREG(st.st_mode)) total += (std::uint64_t)st.st_size;
        if (S_ISDIR(st.st_mode)) addFolder(path, total, depth + 1);
    }
    closedir(dir);
}

}  // namespace

ImportBudget::ImportBudget(const BudgetRules& rules, std::uint64_t contentBytes, int documents)
    : m_rules(rules) {
    if (!m_rules.clock) m_rules.clock = monotonicSeconds;
    double megabytesOfContent = (double)contentBytes / (1024.0 * 1024.0);
    documents = std::max(documents, 0);
    m_seconds = rules.baseSeconds + rules.secondsPerDocument * documents +
                rules.secondsPerMegabyte * megabytesOfContent;
    double pages = rules.basePages + (double)rules.pagesPerDocument * documents +
                   rules.pagesPerMegabyte * megabytesOfContent;
    m_pages = (int)std::min(pages, 1e9);
    double bytes = (double)rules.baseBytes + rules.bytesPerContentByte * (double)contentBytes;
    m_bytes = (std::uint64_t)std::min(bytes, (double)rules.mostBytes);
    m_start = m_rules.clock();
}

double ImportBudget::secondsSpent() const { return m_rules.clock() - m_start; }

std::string ImportBudget::exceeded() const {
    if (m_pagesSpent > m_pages)
        return "its budget of " + std::to_string(m_pages) + " pages for a book of this size";
    if (m_bytesSpent > m_bytes)
        return "its budget of " + megabytes(m_bytes) + " written for a book of this size";
    if (secondsSpent() > m_seconds)
        return "its budget of " + std::to_string((long)std::lround(m_seconds)) +
               " seconds for a book of this size";
    return "";
}

std::uint64_t contentBytesOf(const std::string& folder) {
    std::uint64_t total = 0;
    addFolder(folder, total, 0);
    return total;
}

}  // namespace pagly::import
