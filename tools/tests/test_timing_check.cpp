// pagly-check on word timing files: each fault of a file named in a line of its own, and the
// checker finding a damaged timing file in a book.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/BookNames.h"
#include "app/WordTimings.h"
#include "tools/pagly-check/BookChecker.h"
#include "tools/pagly-check/TimingCheck.h"

using namespace pagly;
namespace fs = std::filesystem;

namespace {
const std::string kHeader = std::string(WordTimings::kHeader) + "\n";

bool has(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& l : lines)
        if (l.find(text) != std::string::npos) return true;
    return false;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}
}  // namespace

TEST(TimingCheck, AGoodFileHasNoProblems) {
    auto problems = wordTimingProblems(
        kHeader + "0.00 0.30 Nice\n0.30 0.50 to\n0.50 0.80 meet\n0.80 1.10 you.\n", 1.2, "bn023",
        "Nice to meet you.");
    EXPECT_TRUE(problems.empty()) << joined(problems);
}

TEST(TimingCheck, NamesEachFault) {
    struct Case {
        std::string file;
        double length;
        const char* text;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        // Out of order: the reader would refuse the file.
        {kHeader + "0.5 0.8 to\n0.0 0.3 Hello\n", 1.0, "Hello to", {"out of order"}},
        // Past the recording's end (one line per word).
        {kHeader + "0.0 0.3 Hi\n0.3 1.4 there\n1.4 1.9 Amy\n",
         1.2,
         "Hi there Amy",
         {"word 2 \"there\" ends at 1.400 s, after the recording's end at 1.200 s",
          "word 3 \"Amy\" ends at 1.900 s"}},
        // A word more or less than the button shows.
        {kHeader + "0.0 0.3 Hi\n0.3 0.6 there\n",
         1.0,
         "Hi there, Amy!",
         {"times 2 words, but bn023 shows 3 (\"Hi there, Amy!\")"}},
        // Both at once.
        {kHeader + "0.0 2.0 Hi\n", 1.0, "Hi Amy", {"ends at 2.000 s", "times 1 words"}},
        // Not a timing file.
        {"garbage\n", 1.0, "Hi", {"first line is not"}},
    };
    for (const Case& c : cases) {
        auto problems = wordTimingProblems(c.file, c.length, "bn023", c.text);
        EXPECT_EQ(c.expected.size(), problems.size()) << c.file << joined(problems);
        for (const char* e : c.expected)
            EXPECT_TRUE(has(problems, e)) << e << "\n" << joined(problems);
    }
}

TEST(TimingCheck, TheCheckerReportsADamagedTimingFileOfABook) {
    fs::path book = fs::temp_directory_path() / "pagly-timing-check-book";
    fs::remove_all(book);
    fs::copy(PAGLY_BOOK_DIR, book, fs::copy_options::recursive);
    std::string timing = WordTimings::pathForRecording(recordingPath(2, 3));
    {
        std::ofstream out(book / timing, std::ios::binary | std::ios::trunc);
        out << kHeader << "0.9 1.2 I'm\n0.1 0.3 Tom.\n";
    }
    CheckOptions options;
    options.firstPage = 2;
    options.lastPage = 2;
    CheckReport report = BookChecker(book.string(), options).run();
    int found = 0;
    for (const Problem& p : report.problems) {
        if (p.file != timing) continue;
        ++found;
        EXPECT_EQ(Severity::Error, p.severity);
        EXPECT_NE(std::string::npos, p.message.find("word timings of bn023: line 3:")) << p.line();
        EXPECT_NE(std::string::npos, p.message.find("out of order")) << p.line();
    }
    EXPECT_EQ(1, found);
    fs::remove_all(book);
}

// A converted book's button has no label (its words are in the page picture): its file is not
// counted against a label, but must say where each word is; times are still checked.
TEST(TimingCheck, APictureOnlyButtonNeedsWordRectanglesNotACount) {
    const std::string boxes = std::string(WordTimings::kBoxHeader) + "\n";
    auto good = wordTimingProblems(boxes + "0.00 0.30 3 3 40 30 The\n0.35 0.70 46 3 40 30 fox.\n",
                                   1.0, "bn023", "");
    EXPECT_TRUE(good.empty()) << joined(good);
    auto plain = wordTimingProblems(kHeader + "0.00 0.30 The\n0.35 0.70 fox.\n", 1.0, "bn023", "");
    EXPECT_TRUE(has(plain, "bn023 has no label")) << joined(plain);
    auto late = wordTimingProblems(boxes + "0.00 1.30 3 3 40 30 The\n", 1.0, "bn023", "");
    EXPECT_TRUE(has(late, "after the recording's end")) << joined(late);
}
