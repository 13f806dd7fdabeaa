#pragma once

// The book's units: the main page's entries and the pages each one opens.
namespace pagly {

const int kUnitCount = 8;
const int kWordListEntry = 8;  // the ninth main-page entry
extern const char* const unitNames[kUnitCount];

struct PageRange {
    int first;
    int last;
};
// One range per main-page entry, indexed by selectedUnit (8 = the word list).
extern const PageRange unitPageRanges[kUnitCount + 1];

const int kWordListLineCount = 6;
// The pages the word-list lines open, in line order (page 73 has no line).
extern const int wordListPages[kWordListLineCount];

// Menu entries carry their identity in their z-order.
const int kEntryZOrderBase = 10000;

}  // namespace pagly
