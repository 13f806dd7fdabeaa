// Page numbers and units for a converted book. The book's naming rules write a recording's
// name as its page's digits followed by its index's, so from page 10 on two sentences can share
// a name: (page 11, sentence 12) and (page 111, sentence 2) are both "mc1112.mp3". The pages
// are numbered in one unbroken run (the reader steps page by page) that starts where no two
// sentences of the book meet.
#ifndef PAGLY_TOOLS_IMPORT_PAGENUMBERING_H
#define PAGLY_TOOLS_IMPORT_PAGENUMBERING_H

#include <string>
#include <vector>

namespace pagly::import {

// The number of the first page such that the pages first, first + 1, ... with these sentence
// counts give every sentence its own recording name and stay within the reader's highest page.
// 0 when there is no such number.
int firstCollisionFreePage(const std::vector<int>& sentenceCounts);

// Whether pages numbered from `first` with these sentence counts give every sentence its own
// recording name.
bool recordingNamesUnique(int first, const std::vector<int>& sentenceCounts);

struct UnitPlan {
    std::string name;
    std::vector<int> pages;
};

// The units of the main page: a page whose title is not empty starts a unit of that name; with
// no titles at all, groups of `perUnit` pages named "Pages 1-10". Keeps within the reader's
// limits on units and pages per unit.
std::vector<UnitPlan> planUnits(int firstPage, const std::vector<std::string>& sectionTitles,
                                int perUnit);

}  // namespace pagly::import

#endif
