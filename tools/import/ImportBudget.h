// What one conversion may spend: time, pages and bytes written, each grown from the book's
// real content (the bytes of its files and the documents it lists, each counted once), so
// that a small book that announces a huge one ends soon, with a line saying which limit it
// passed. The rules and the clock are the caller's to choose (tests count with their own).
#ifndef PAGLY_TOOLS_IMPORT_IMPORTBUDGET_H
#define PAGLY_TOOLS_IMPORT_IMPORTBUDGET_H

#include <cstdint>
#include <functional>
#include <string>

namespace pagly::import {

struct BudgetRules {
    double baseSeconds = 120;
    double secondsPerDocument = 10;
    double secondsPerMegabyte = 10;  // of the book's files
    int basePages = 50;
    int pagesPerDocument = 4;
    int pagesPerMegabyte = 250;
    std::uint64_t baseBytes = std::uint64_t(64) << 20;
    double bytesPerContentByte = 16;
    std::uint64_t mostBytes = std::uint64_t(4) << 30;  // whatever the book holds
    // Monotonic seconds; empty: the system's monotonic clock.
    std::function<double()> clock;
};

class ImportBudget {
  public:
    ImportBudget(const BudgetRules& rules, std::uint64_t contentBytes, int documents);

    double seconds() const { return m_seconds; }
    int pages() const { return m_pages; }
    std::uint64_t bytes() const { return m_bytes; }

    void spendPages(int count) { m_pagesSpent += count; }
    void spendBytes(std::uint64_t count) { m_bytesSpent += count; }
    double secondsSpent() const;
    double secondsLeft() const { return m_seconds - secondsSpent(); }

    // What was passed, as the end of "the conversion passed ...", or "" while within.
    std::string exceeded() const;

  private:
    BudgetRules m_rules;
    double m_seconds = 0;
    int m_pages = 0;
    std::uint64_t m_bytes = 0;
    double m_start = 0;
    int m_pagesSpent = 0;
    std::uint64_t m_bytesSpent = 0;
};

// The bytes of the regular files under `folder` (links not followed).
std::uint64_t contentBytesOf(const std::string& folder);

}  // namespace pagly::import

#endif
