// Word timing files: what the reader accepts, what it refuses (and says why), and which word
// a moment of the recording belongs to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/WordTimings.h"

using namespace pagly;

namespace {
const std::string kHeader = std::string(WordTimings::kHeader) + "\n";
}

TEST(WordTimings, ReadsAGoodFile) {
    WordTimings t;
    std::vector<std::string> problems;
    ASSERT_TRUE(t.parse(kHeader + "0.005 0.412 Hello,\r\n0.530 0.871 Amy!\n\n", problems))
        << problems.front();
    ASSERT_EQ(2u, t.words().size());
    EXPECT_DOUBLE_EQ(0.005, t.words()[0].start);
    EXPECT_DOUBLE_EQ(0.871, t.words()[1].end);
    EXPECT_EQ("Amy!", t.words()[1].text);
    EXPECT_TRUE(problems.empty());
}

TEST(WordTimings, RefusesBadFilesWithAReasonAndNoWords) {
    struct Case {
        std::string text;
        const char* reason;  // a part of the first problem's text
    };
    const Case cases[] = {
        {"", "empty"},
        {"0.1 0.2 Hi\n", "first line is not"},
        {"pagly-words 2\n0.1 0.2 Hi\n", "first line is not"},
        {kHeader, "no words"},
        {kHeader + "0.1 0.2\n", "expected \"start end word\""},
        {kHeader + "0.1\n", "expected \"start end word\""},
        {kHeader + "zero 0.2 Hi\n", "are not two numbers"},
        {kHeader + "0.1 0.2x Hi\n", "are not two numbers"},
        {kHeader + "nan 0.2 Hi\n", "are not two numbers"},
        {kHeader + "0.1 inf Hi\n", "are not two numbers"},
        {kHeader + "0.1 1e999 Hi\n", "are not two numbers"},
        {kHeader + "-0.5 0.2 Hi\n", "outside 0..600 s"},
        {kHeader + "0.1 90000 Hi\n", "outside 0..600 s"},
        {kHeader + "0.4 0.2 Hi\n", "ends before it starts"},
        {kHeader + "0.5 0.9 there\n0.1 0.4 Hi\n", "out of order"},
        {kHeader + "0.1 0.5 Hi\n0.3 0.9 there\n", "out of order"},
        {kHeader + std::string("0.1 0.2 H\0i\n", 12), "not text"},
        {kHeader + std::string(70 * 1024, 'x'), "more than a timing file can be"},
    };
    for (const Case& c : cases) {
        WordTimings t;
        std::vector<std::string> problems;
        EXPECT_FALSE(t.parse(c.text, problems)) << c.text;
        EXPECT_TRUE(t.empty()) << c.text;
        ASSERT_FALSE(problems.empty()) << c.text;
        EXPECT_NE(std::string::npos, problems.front().find(c.reason))
            << c.text << "\ngave: " << problems.front();
    }
}

TEST(WordTimings, TooManyWordsAreRefused) {
    std::string text = kHeader;
    for (size_t i = 0; i <= WordTimings::kMostWords; ++i)
        text += std::to_string(i * 0.01) + " " + std::to_string(i * 0.01 + 0.005) + " w\n";
    WordTimings t;
    std::vector<std::string> problems;
    EXPECT_FALSE(t.parse(text, problems));
    EXPECT_TRUE(t.empty());
}

TEST(WordTimings, EachProblemLineIsReported) {
    WordTimings t;
    std::vector<std::string> problems;
    EXPECT_FALSE(t.parse(kHeader + "0.1 0.2 a\nx 0.3 b\n0.4 0.3 c\n0.5 0.6 d\n", problems));
    ASSERT_EQ(2u, problems.size());
    EXPECT_EQ(0u, problems[0].find("line 3:"));
    EXPECT_EQ(0u, problems[1].find("line 4:"));
}

TEST(WordTimings, TheWordAtATimeIsTheOneWhoseSpanHoldsIt) {
    WordTimings t;
    std::vector<std::string> problems;
    ASSERT_TRUE(t.parse(kHeader + "0.0 0.3 I'm\n0.3 0.6 Tom.\n0.8 1.0 Hi\n", problems));
    const struct {
        double at;
        int word;
    } cases[] = {{-0.1, -1}, {0.0, 0}, {0.299, 0}, {0.3, 1}, {0.7, -1}, {0.8, 2}, {1.0, -1}};
    for (const auto& c : cases) EXPECT_EQ(c.word, t.wordAt(c.at)) << c.at;
}

TEST(WordTimings, PathAndSentenceWords) {
    EXPECT_EQ("epc/d62670df12f9d1c2fab7718e2e54ff69.words",
              WordTimings::pathForRecording("epc/d62670df12f9d1c2fab7718e2e54ff69.mp3"));
    EXPECT_EQ("a.b/c.words", WordTimings::pathForRecording("a.b/c"));
    auto ranges = sentenceWordRanges("  Nice to meet you,  too! ");
    ASSERT_EQ(5u, ranges.size());
    EXPECT_EQ(2u, ranges[0].first);
    EXPECT_EQ(6u, ranges[0].second);
    EXPECT_EQ(21u, ranges[4].first);
    EXPECT_EQ(25u, ranges[4].second);
    EXPECT_TRUE(sentenceWordRanges(" \t ").empty());
}

// A converted book's timing file carries each word's rectangle on its picture-only button; old
// files stay as they were, and what format() writes reads back the same.
TEST(WordTimings, WordRectanglesReadAndWriteBack) {
    const std::string boxes = std::string(WordTimings::kBoxHeader) + "\n";
    WordTimings t;
    std::vector<std::string> problems;
    ASSERT_TRUE(t.parse(boxes + "0.000 0.295 4.50 3.00 38.20 30.10 The\n"
                                "0.355 0.694 46.5 3 40 30.1 red fox\n",
                        problems))
        << problems.front();
    ASSERT_EQ(2u, t.words().size());
    EXPECT_TRUE(t.hasBoxes());
    EXPECT_DOUBLE_EQ(46.5, t.words()[1].x);
    EXPECT_DOUBLE_EQ(30.1, t.words()[1].height);
    EXPECT_EQ("red fox", t.words()[1].text);  // the rest of the line, as in plain files
    WordTimings again;
    ASSERT_TRUE(again.parse(WordTimings::format(t.words()), problems));
    ASSERT_EQ(2u, again.words().size());
    EXPECT_DOUBLE_EQ(38.2, again.words()[0].width);
    EXPECT_DOUBLE_EQ(0.694, again.words()[1].end);

    WordTimings plain;
    ASSERT_TRUE(plain.parse(kHeader + "0.1 0.2 4 3 2 1\n", problems));  // a word "4 3 2 1"
    EXPECT_FALSE(plain.hasBoxes());
    EXPECT_EQ("4 3 2 1", plain.words()[0].text);
    EXPECT_EQ(kHeader + "0.100 0.200 4 3 2 1\n", WordTimings::format(plain.words()));

    const char* bad[] = {"0.1 0.2 Hi\n",           "0.1 0.2 1 2 3 Hi\n",
                         "0.1 0.2 1 2 0 5 Hi\n",   "0.1 0.2 1 2 -3 5 Hi\n",
                         "0.1 0.2 1 2 nan 5 Hi\n", "0.1 0.2 1e9 2 3 5 Hi\n"};
    for (const char* line : bad) {
        WordTimings b;
        std::vector<std::string> why;
        EXPECT_FALSE(b.parse(boxes + line, why)) << line;
        ASSERT_FALSE(why.empty()) << line;
        EXPECT_TRUE(why.front().find("rectangle") != std::string::npos ||
                    why.front().find("expected") != std::string::npos)
            << line << " gave: " << why.front();
    }
}
