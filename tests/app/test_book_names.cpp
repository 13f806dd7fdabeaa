// The naming rules that tie a page and a sentence index to the book's files.
#include <gtest/gtest.h>

#include "app/BookNames.h"

using namespace pagly;

namespace {

struct NameCase {
    int page;
    int index;
    const char* button;
    int number;
    const char* caption;
    const char* recording;
};

const NameCase kNameCases[] = {
    {5, 3, "bn053", 53, "str053", "mc053.mp3"},
    {5, 12, "bn0512", 512, "str0512", "mc0512.mp3"},
    {12, 3, "bn123", 123, "str123", "mc123.mp3"},
    {9, 29, "bn0929", 929, "str0929", "mc0929.mp3"},
    {10, 1, "bn101", 101, "str101", "mc101.mp3"},
    {1, 11, "bn0111", 111, "str0111", "mc0111.mp3"},  // page 1 / index 11 and page 11 / index 1
    {11, 1, "bn111", 111, "str111", "mc111.mp3"},     // share a number but never a name
    {77, 29, "bn7729", 7729, "str7729", "mc7729.mp3"},
    {2, 1, "bn021", 21, "str021", "mc021.mp3"},
};

}  // namespace

TEST(BookNames, NamesFollowThePagePrefixRule) {
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << " index " << c.index);
        EXPECT_EQ(sentenceButtonName(c.page, c.index), c.button);
        EXPECT_EQ(sentenceNumber(c.page, c.index), c.number);
        EXPECT_EQ(captionKey(c.page, c.index), c.caption);
        EXPECT_EQ(recordingName(c.page, c.index), c.recording);
        // Written from the sentence number the keys come out the same.
        EXPECT_EQ(captionKeyForNumber(c.page, c.number), c.caption);
        EXPECT_EQ(recordingNameForNumber(c.page, c.number), c.recording);
        EXPECT_EQ(sentenceIndexFromNumber(c.page, c.number), c.index);
    }
}

TEST(BookNames, EveryIndexOfEveryPageDecodesBack) {
    for (int page = 1; page <= 77; ++page) {
        for (int i = 1; i <= 29; ++i) {
            ASSERT_EQ(sentenceIndexFromNumber(page, sentenceNumber(page, i)), i)
                << "page " << page << " index " << i;
        }
    }
}

TEST(BookNames, DecodingMatchesTheWorkedExamples) {
    EXPECT_EQ(sentenceIndexFromNumber(5, 512), 12);
    EXPECT_EQ(sentenceIndexFromNumber(5, 53), 3);
    EXPECT_EQ(sentenceIndexFromNumber(10, 1010), 10);
}

TEST(BookNames, PageDocumentPath) {
    EXPECT_EQ(pageDocumentPath(5), "lessonbundle/lessonbundle_5.json");
    EXPECT_EQ(pageDocumentPath(12), "lessonbundle/lessonbundle_12.json");
    EXPECT_EQ(pageDocumentPath(77), "lessonbundle/lessonbundle_77.json");
}

TEST(BookNames, Md5MatchesKnownDigests) {
    // RFC 1321 test suite plus a recording name of the book.
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(md5Hex("mc053.mp3"), "d62670df12f9d1c2fab7718e2e54ff69");
    EXPECT_EQ(md5Hex(std::string("a\0b", 3)).size(), 32u);  // bytes, not a C string
    EXPECT_NE(md5Hex(std::string("a\0b", 3)), md5Hex("a"));
}

TEST(BookNames, RecordingPathIsTheDigestOfTheName) {
    EXPECT_EQ(recordingPath(5, 3), "epc/d62670df12f9d1c2fab7718e2e54ff69.mp3");
    EXPECT_EQ(recordingPathForName("mc053.mp3"), "epc/d62670df12f9d1c2fab7718e2e54ff69.mp3");
    EXPECT_NE(recordingPath(1, 11), recordingPath(11, 1));
}

TEST(BookNames, KeysWrittenFromTheSentenceNumberMatchTheOnesFromPageAndIndex) {
    // The page reader writes caption keys and recording names from the sentence number, the
    // book checker from page and index: for every page a book may have they must agree.
    for (int page = 1; page <= 9999; page += page < 200 ? 1 : 97) {
        for (int i = 1; i <= 29; ++i) {
            int number = sentenceNumber(page, i);
            ASSERT_EQ(captionKeyForNumber(page, number), captionKey(page, i)) << page << "/" << i;
            ASSERT_EQ(recordingNameForNumber(page, number), recordingName(page, i))
                << page << "/" << i;
            ASSERT_EQ(sentenceIndexFromNumber(page, number), i) << page << "/" << i;
        }
    }
}
