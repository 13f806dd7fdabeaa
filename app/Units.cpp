#include "app/Units.h"

namespace pagly {

// The blanks after the two recycle units are part of their labels.
const char* const unitNames[kUnitCount] = {"Unit 1", "Unit 2", "Unit 3", "Recycle 1 ",
                                           "Unit 4", "Unit 5", "Unit 6", "Recycle 2 "};

const PageRange unitPageRanges[kUnitCount + 1] = {
    {2, 11}, {12, 21}, {22, 31}, {32, 35}, {36, 45}, {46, 55}, {56, 65}, {66, 69}, {70, 76},
};

const int wordListPages[kWordListLineCount] = {70, 71, 72, 74, 75, 76};

}  // namespace pagly
