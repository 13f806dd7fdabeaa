// A conversion's budget: time, pages and bytes grow with what the book really holds, a
// document listed again is drawn once, a book announcing far more than it holds ends within
// its budget with one line, and an archive folded 900 folders deep or padded entry by entry
// is refused at once.
#include <gtest/gtest.h>

#include "tools/import/ImportBudget.h"
#include "tools/import/SafeZip.h"
#include "tools/tests/ConversionFixture.h"
#include "tools/tests/ImportFixtures.h"

namespace pt = pagly::testing;
using namespace pagly::import;

namespace {

TEST(ImportBudgetRules, LimitsGrowWithTheBookAndEachIsToldWhenPassed) {
    double now = 0;
    BudgetRules rules;
    rules.clock = [&now] { return now; };
    rules.baseSeconds = 100;
    rules.secondsPerDocument = 10;
    rules.secondsPerMegabyte = 20;
    rules.basePages = 10;
    rules.pagesPerDocument = 2;
    rules.pagesPerMegabyte = 100;
    rules.baseBytes = 1000;
    rules.bytesPerContentByte = 4;
    const std::uint64_t megabyte = 1 << 20;
    ImportBudget budget(rules, megabyte / 2, 3);
    EXPECT_DOUBLE_EQ(100 + 30 + 10, budget.seconds());
    EXPECT_EQ(10 + 6 + 50, budget.pages());
    EXPECT_EQ(1000 + 2 * megabyte, budget.bytes());
    EXPECT_EQ("", budget.exceeded());

    struct Case {
        int pages;
        std::uint64_t bytes;
        double seconds;
        const char* told;  // "" while within
    } cases[] = {
        {66, 0, 0, ""},
        {67, 0, 0, "its budget of 66 pages"},
        {0, 1000 + 2 * megabyte, 0, ""},
        {0, 1001 + 2 * megabyte, 0, "its budget of 2.0 MB written"},
        {0, 0, 140, ""},
        {0, 0, 140.5, "its budget of 140 seconds"},
    };
    for (const Case& c : cases) {
        now = 0;
        ImportBudget spent(rules, megabyte / 2, 3);
        spent.spendPages(c.pages);
        spent.spendBytes(c.bytes);
        now = c.seconds;
        std::string line = spent.exceeded();
        if (*c.told == '\0') {
            EXPECT_EQ("", line) << c.pages << " " << c.bytes << " " << c.seconds;
        } else {
            EXPECT_NE(std::string::npos, line.find(c.told)) << line;
        }
    }
    // However much a book holds, the bytes it may write stop somewhere.
    EXPECT_EQ(rules.mostBytes, ImportBudget(rules, std::uint64_t(1) << 40, 1).bytes());
}

TEST(ImportBudgetZip, AnArchiveFoldedNineHundredFoldersDeepIsRefusedAtItsFirstEntry) {
    pt::ScratchFolder scratch;
    std::string deep;
    for (int i = 0; i < 900; ++i) deep += "d/";
    std::vector<pt::ZipEntry> entries;
    for (int i = 0; i < 2000; ++i) entries.push_back({deep + "f" + std::to_string(i), "x"});
    ASSERT_TRUE(pt::writeZip(scratch / "deep.epub", entries));
    std::vector<ImportProblem> problems;
    EXPECT_FALSE(extractZip(scratch / "deep.epub", scratch / "out", problems));
    ASSERT_EQ(1u, problems.size()) << pt::told(problems);
    EXPECT_NE(std::string::npos, problems[0].reason.find("900 folders deep")) << problems[0].reason;
    // Not one folder of it was made.
    EXPECT_TRUE(pt::treeOf(scratch / "out").empty());
}

TEST(ImportBudgetZip, EntriesEachJustUnderTheRatioFloorAreCountedTogether) {
    pt::ScratchFolder scratch;
    const std::string zeros((1 << 20) - 1, '\0');
    std::vector<pt::ZipEntry> entries;
    for (int i = 0; i < 12; ++i) entries.push_back({"pad/" + std::to_string(i) + ".bin", zeros});
    ASSERT_TRUE(pt::writeZip(scratch / "padded.epub", entries));
    std::vector<ImportProblem> problems;
    EXPECT_FALSE(extractZip(scratch / "padded.epub", scratch / "out", problems));
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(std::string::npos, problems.back().reason.find("times its packed size"))
        << pt::told(problems);
    // Refused after two entries, not twelve megabytes later.
    EXPECT_LE(pt::treeOf(scratch / "out/pad").size(), 2u);
}

class ImportBudgetBook : public pt::ConversionTest {
  protected:
    // A flowing document whose one wide element announces 2000 pages.
    SourceDocument announcingThousands() {
        return document("wide.html",
                        "<!DOCTYPE html><html><body><p id=\"s1\">A short book.</p>"
                        "<div style=\"width:900000px;height:10px;background:#c0ffee\"></div>"
                        "</body></html>",
                        {"s1"}, SourceLayout::Reflow);
    }
    std::string target() const { return m_dir + "/book"; }
};

TEST_F(ImportBudgetBook, ADocumentListedThreeTimesIsDrawnOnce) {
    std::string deep = "<!DOCTYPE html><html><body><p id=\"s1\">Deep</p>";
    for (int i = 0; i < 2000; ++i) deep += "<div>";
    deep += "bottom</body></html>";
    SourceDocument d = document("deep.html", deep, {"s1"});
    std::string why;
    ASSERT_TRUE(writeBook(book({d, d, d}), target(), m_options, why)) << why;
    ASSERT_FALSE(m_progress.empty());
    EXPECT_EQ(std::make_pair(1, 1), m_progress.back());
    // Told once: the same line for each listing again.
    EXPECT_EQ(1, told("listed more than once")) << allTold();
}

TEST_F(ImportBudgetBook, AThousandPageAnnouncementEndsWithinEachBudgetWithALine) {
    double now = 0;
    struct Case {
        const char* name;
        std::function<void(BudgetRules&)> rules;
        int pages;  // written; 0: refused
        const char* told;
    } cases[] = {
        {"pages",
         [](BudgetRules& r) { r.basePages = 6, r.pagesPerDocument = 0, r.pagesPerMegabyte = 0; }, 6,
         "its budget of 6 pages"},
        {"bytes", [](BudgetRules& r) { r.baseBytes = 1, r.bytesPerContentByte = 0; }, 0,
         "MB written"},
        // Each page "takes" 100 s on this clock: 250 s pass during the fourth.
        {"time",
         [&now](BudgetRules& r) {
             r.baseSeconds = 250, r.secondsPerDocument = 0, r.secondsPerMegabyte = 0;
             r.clock = [&now] { return now; };
         },
         3, "its budget of 250 seconds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        now = 0;
        m_problems.clear();
        m_progress.clear();
        m_options.budget = BudgetRules();
        c.rules(m_options.budget);
        m_options.progress = [&](int done, int total) {
            m_progress.push_back({done, total});
            now += 100;
        };
        std::string why;
        bool written = writeBook(book({announcingThousands()}), target(), m_options, why);
        if (c.pages == 0) {
            EXPECT_FALSE(written);
            EXPECT_NE(std::string::npos, why.find(c.told)) << why;
            continue;
        }
        ASSERT_TRUE(written) << why;
        ASSERT_FALSE(m_progress.empty());
        EXPECT_EQ(c.pages, m_progress.back().first);
        EXPECT_EQ(1, told(c.told)) << allTold();
        EXPECT_EQ(1, told("the rest of the book is left out")) << allTold();
    }
}

TEST_F(ImportBudgetBook, WithTheRealBudgetAShortBookStopsFarBeforeItsAnnouncedPages) {
    std::string why;
    ASSERT_TRUE(writeBook(book({announcingThousands()}), target(), m_options, why)) << why;
    ImportBudget real(BudgetRules(), contentBytesOf(m_source), 1);
    ASSERT_FALSE(m_progress.empty());
    EXPECT_EQ(2000, m_progress.front().second);  // what it announced
    EXPECT_EQ(real.pages(), m_progress.back().first);
    EXPECT_EQ(1, told("pages for a book of this size")) << allTold();
}

TEST_F(ImportBudgetBook, ABrowserBusyPastItsTimeStaysBusyUntilStartedAfresh) {
    // What the writer meets after a page that kept the browser busy: every later command
    // times out too, so it starts the browser again before the next page.
    double patience = s_browser->timeoutSeconds;
    s_browser->timeoutSeconds = 2;
    Json::Value value;
    std::string why;
    EXPECT_FALSE(s_browser->evaluate("for (;;) {}", value, why));
    EXPECT_TRUE(s_browser->timedOut()) << why;
    EXPECT_FALSE(s_browser->evaluate("1 + 1", value, why));
    EXPECT_TRUE(s_browser->timedOut()) << why;
    // The fresh start gets the usual patience: a loaded machine may take more than 2 s to start.
    s_browser->timeoutSeconds = patience;
    ASSERT_TRUE(s_browser->start(why)) << why;
    EXPECT_TRUE(s_browser->evaluate("1 + 1", value, why)) << why;
    EXPECT_FALSE(s_browser->timedOut());
    EXPECT_EQ(2, value.asInt());
}

}  // namespace
