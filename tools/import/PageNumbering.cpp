// Page numbers free of recording-name collisions, and the units (see PageNumbering.h).
#include "tools/import/PageNumbering.h"

#include <algorithm>
#include <unordered_set>

#include "app/Book.h"
#include "app/BookNames.h"

namespace pagly::import {

namespace {
// The reader's bounds on a book's description.
const int kMostUnits = 200;
const int kMostPagesPerUnit = 1000;

std::string rangeName(int first, int last) {
    return first == last ? "Page " + std::to_string(first)
                         : "Pages " + std::to_string(first) + "-" + std::to_string(last);
}
}  // namespace

bool recordingNamesUnique(int first, const std::vector<int>& sentenceCounts) {
    std::unordered_set<std::string> names;
    for (size_t p = 0; p < sentenceCounts.size(); ++p) {
        int page = first + (int)p;
        for (int i = 1; i <= sentenceCounts[p]; ++i)
            if (!names.insert(recordingName(page, i)).second) return false;
    }
    return true;
}

int firstCollisionFreePage(const std::vector<int>& sentenceCounts) {
    int count = (int)sentenceCounts.size();
    for (int first = 1; first + count - 1 <= Book::kHighestPage; ++first) {
        // Pages below 10 and pages up to 100 never meet; larger books try later starts (a
        // start of n/9 + 1 always works, since page p and page 10p + 1 are then never both in).
        if (recordingNamesUnique(first, sentenceCounts)) return first;
    }
    return 0;
}

std::vector<UnitPlan> planUnits(int firstPage, const std::vector<std::string>& sectionTitles,
                                int perUnit) {
    int count = (int)sectionTitles.size();
    std::vector<UnitPlan> units;
    if (count == 0) return units;
    bool titled = std::any_of(sectionTitles.begin(), sectionTitles.end(),
                              [](const std::string& t) { return !t.empty(); });
    if (titled) {
        for (int k = 0; k < count; ++k) {
            if (units.empty() || !sectionTitles[(size_t)k].empty()) {
                units.push_back({sectionTitles[(size_t)k], {}});
            }
            units.back().pages.push_back(firstPage + k);
        }
        // Pages before the first section are named by their range.
        if (units.front().name.empty())
            units.front().name = rangeName(units.front().pages.front(), units.front().pages.back());
        // A section longer than the reader lists is cut into parts.
        std::vector<UnitPlan> parts;
        for (UnitPlan& unit : units) {
            for (size_t at = 0; at < unit.pages.size(); at += kMostPagesPerUnit) {
                size_t end = std::min(unit.pages.size(), at + kMostPagesPerUnit);
                UnitPlan part{unit.name,
                              {unit.pages.begin() + (long)at, unit.pages.begin() + (long)end}};
                if (at > 0) part.name += " (" + std::to_string(at / kMostPagesPerUnit + 1) + ")";
                parts.push_back(std::move(part));
            }
        }
        if ((int)parts.size() <= kMostUnits) return parts;
        units.clear();  // too many sections to list: groups of pages instead
    }
    int size = std::max(perUnit > 0 ? perUnit : 10, (count + kMostUnits - 1) / kMostUnits);
    size = std::min(size, kMostPagesPerUnit);
    for (int k = 0; k < count; k += size) {
        UnitPlan unit;
        int last = std::min(count, k + size);
        for (int j = k; j < last; ++j) unit.pages.push_back(firstPage + j);
        unit.name = rangeName(unit.pages.front(), unit.pages.back());
        units.push_back(std::move(unit));
    }
    return units;
}

}  // namespace pagly::import
