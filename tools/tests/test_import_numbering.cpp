// Page numbers and units of converted books: no two sentences may share a recording name, and
// the units keep within what the reader lists.
#include <gtest/gtest.h>

#include <set>

#include "app/Book.h"
#include "app/BookNames.h"
#include "tools/import/PageNumbering.h"

using namespace pagly;
using namespace pagly::import;

namespace {

std::set<std::string> allNames(int first, const std::vector<int>& counts) {
    std::set<std::string> names;
    for (size_t p = 0; p < counts.size(); ++p)
        for (int i = 1; i <= counts[p]; ++i) names.insert(recordingName(first + (int)p, i));
    return names;
}

size_t total(const std::vector<int>& counts) {
    size_t n = 0;
    for (int c : counts) n += (size_t)c;
    return n;
}

TEST(ImportNumbering, TheNamingRulesLetPagesFromTenOnCollide) {
    // The fault the numbering avoids, as the book's rules have it.
    EXPECT_EQ(recordingName(11, 12), recordingName(111, 2));
    EXPECT_EQ(recordingName(12, 29), recordingName(122, 9));
    EXPECT_NE(recordingName(1, 11), recordingName(11, 1));
}

TEST(ImportNumbering, EverySentenceOfABookGetsItsOwnRecordingName) {
    struct Case {
        const char* what;
        std::vector<int> counts;
        int expectedFirst;  // 0: any collision-free start
    };
    std::vector<int> small(30, 29);
    std::vector<int> collide(111, 1);
    collide[10] = 12;  // page 11: sentence 12 ...
    collide[110] = 2;  // ... and page 111: sentence 2
    std::vector<int> dense(400, 29);
    std::vector<int> sparse(400, 9);  // below ten sentences a page nothing can collide
    Case cases[] = {
        {"30 full pages start at 1", small, 1},
        {"page 11 and page 111 would share mc1112.mp3", collide, 0},
        {"400 full pages", dense, 0},
        {"400 pages of 9 sentences start at 1", sparse, 1},
    };
    for (const Case& c : cases) {
        int first = firstCollisionFreePage(c.counts);
        ASSERT_GT(first, 0) << c.what;
        if (c.expectedFirst) {
            EXPECT_EQ(c.expectedFirst, first) << c.what;
        }
        EXPECT_EQ(total(c.counts), allNames(first, c.counts).size()) << c.what;
        EXPECT_LE(first + (int)c.counts.size() - 1, Book::kHighestPage) << c.what;
    }
    EXPECT_FALSE(recordingNamesUnique(1, collide));
    EXPECT_GT(firstCollisionFreePage(collide), 1);
}

TEST(ImportNumbering, ABookTooLargeForThePageNumbersHasNoStart) {
    EXPECT_EQ(0, firstCollisionFreePage(std::vector<int>(Book::kHighestPage + 1, 1)));
}

TEST(ImportNumbering, UnitsFollowSectionsOrGroupsOfPages) {
    std::vector<UnitPlan> grouped = planUnits(1, std::vector<std::string>(23), 10);
    ASSERT_EQ(3u, grouped.size());
    EXPECT_EQ("Pages 1-10", grouped[0].name);
    EXPECT_EQ("Pages 21-23", grouped[2].name);
    EXPECT_EQ((std::vector<int>{21, 22, 23}), grouped[2].pages);

    std::vector<UnitPlan> titled = planUnits(5, {"", "", "One", "", "Two"}, 10);
    ASSERT_EQ(3u, titled.size());
    EXPECT_EQ("Pages 5-6", titled[0].name);
    EXPECT_EQ("One", titled[1].name);
    EXPECT_EQ((std::vector<int>{7, 8}), titled[1].pages);
    EXPECT_EQ("Two", titled[2].name);

    // Too many sections for the main page: groups instead, still every page once.
    std::vector<std::string> many(450);
    for (size_t i = 0; i < many.size(); ++i) many[i] = "S" + std::to_string(i);
    std::vector<UnitPlan> capped = planUnits(1, many, 10);
    EXPECT_LE(capped.size(), 200u);
    size_t pages = 0;
    for (const UnitPlan& u : capped) pages += u.pages.size();
    EXPECT_EQ(450u, pages);
}

}  // namespace
