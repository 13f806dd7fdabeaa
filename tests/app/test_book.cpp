// The book's rules in one place: the course book's layout, books that describe their own units
// and pages, and descriptions that cannot be used.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Book.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "support/Harness.h"

using namespace pagly;

namespace {

TEST(BookTest, TheCourseBookHasItsUnitsWordListAndPages) {
    Book book = Book::standard();
    ASSERT_EQ(9, book.unitCount());
    EXPECT_EQ(2, book.firstPage());
    EXPECT_EQ(77, book.lastPage()) << "stepping reaches one page past the word list";
    EXPECT_EQ(2, book.startPage());
    EXPECT_EQ("Recycle 1 ", book.unit(3).name) << "the blank is part of the label";
    EXPECT_EQ(32, book.unit(3).first);
    EXPECT_EQ(35, book.unit(3).last);
    EXPECT_EQ(4u, book.unit(3).lines.size());
    const BookUnit& words = book.unit(8);
    EXPECT_TRUE(words.wordList);
    EXPECT_EQ((std::vector<int>{70, 71, 72, 74, 75, 76}), words.lines) << "no line for 73";
    EXPECT_EQ(70, words.first);
    EXPECT_EQ(76, words.last);
    for (int page : {69, 70, 73, 76, 77})
        EXPECT_EQ(page >= 70 && page <= 76, book.keepsButtonLook(page)) << page;
    EXPECT_EQ(&book.unit(0), &book.unit(-1)) << "a stale choice opens the first unit";
    EXPECT_EQ(&book.unit(0), &book.unit(9));
}

TEST(BookTest, ABookDescribesItsOwnUnitsAndPages) {
    Book book;
    std::string why;
    ASSERT_TRUE(Book::fromDescription(R"({"title": "Frog and Toad", "keepButtonLook": true,
        "units": [{"name": "Spring", "pages": [1, 2, 3], "titles": ["Up", 7, "Down", "Extra"]},
                  {"pages": [4, 5]},
                  {"name": "Words", "pages": [9, 7], "wordList": true}]})",
                                      book, why))
        << why;
    EXPECT_EQ("Frog and Toad", book.title());
    ASSERT_EQ(3, book.unitCount());
    EXPECT_EQ("unit 2", book.unit(1).name) << "a unit without a name gets one";
    EXPECT_EQ(1, book.firstPage());
    EXPECT_EQ(9, book.lastPage());
    EXPECT_EQ(1, book.startPage());
    EXPECT_EQ(7, book.unit(2).first);
    EXPECT_EQ(9, book.unit(2).last);
    EXPECT_EQ((std::vector<int>{9, 7}), book.unit(2).lines) << "lines keep their order";
    EXPECT_TRUE(book.keepsButtonLook(4)) << "every page, as the book asks";
    // Page titles line by line: anything but a string is none, and none past the last page.
    EXPECT_EQ((std::vector<std::string>{"Up", "", "Down"}), book.unit(0).titles);
    EXPECT_TRUE(book.unit(1).titles.empty()) << "titles are optional";
}

TEST(BookTest, ADescriptionThatCannotBeUsedSaysWhy) {
    struct Case {
        const char* text;
        const char* why;
    } cases[] = {
        {"", "empty"},
        {"[1, 2]", "not a JSON object"},
        {"{}", "no \"units\""},
        {R"({"units": []})", "no \"units\""},
        {R"({"units": [3]})", "unit 1 is not an object"},
        {R"({"units": [{"name": "A"}]})", "unit 1 lists no pages"},
        {R"({"units": [{"pages": []}]})", "unit 1 lists no pages"},
        {R"({"units": [{"pages": [1]}, {"pages": [0]}]})", "unit 2 names a page"},
        {R"({"units": [{"pages": [1e12]}]})", "unit 1 names a page"},
        {R"({"units": [{"pages": ["2"]}]})", "unit 1 names a page"},
        {R"({"units": [{"pages": [2.5]}]})", "unit 1 names a page"},
    };
    for (const Case& c : cases) {
        Book book = Book::standard();
        std::string why;
        EXPECT_FALSE(Book::fromDescription(c.text, book, why)) << c.text;
        EXPECT_NE(std::string::npos, why.find(c.why)) << c.text << " -> " << why;
        EXPECT_EQ(9, book.unitCount()) << "the book is left as it was: " << c.text;
    }
    std::string many = R"({"units": [)";
    for (int i = 0; i < 201; ++i) many += std::string(i ? "," : "") + R"({"pages": [1]})";
    Book book;
    std::string why;
    EXPECT_FALSE(Book::fromDescription(many + "]}", book, why));
    EXPECT_NE(std::string::npos, why.find("more than 200 units"));
}

class BookFolderTest : public pagly::test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        char templ[] = "/tmp/pagly-bookdesc-XXXXXX";
        m_dir = mkdtemp(templ);
        engine::forgetUnusableFiles();
    }
    void TearDown() override {
        std::filesystem::remove_all(m_dir);
        EngineTest::TearDown();
    }
    std::string m_dir;
};

TEST_F(BookFolderTest, AFolderWithoutADescriptionIsTheCourseBookAndABrokenOneIsNamed) {
    EXPECT_EQ(77, Book::forFolder(m_dir).lastPage());
    EXPECT_TRUE(logLines().empty());

    std::ofstream(m_dir + "/book.json") << R"({"units": [{"pages": [3, 4]}]})";
    EXPECT_EQ(4, Book::forFolder(m_dir + "/").lastPage());

    std::ofstream(m_dir + "/book.json") << "{\"units\": [";
    Book broken = Book::forFolder(m_dir);
    EXPECT_EQ(77, broken.lastPage()) << "read as the course book";
    ASSERT_EQ(1u, logLines().size());
    EXPECT_EQ(0u, logLines()[0].find("cannot use " + m_dir + "/book.json: ")) << logLines()[0];

    std::filesystem::remove(m_dir + "/book.json");
    std::filesystem::create_directory(m_dir + "/book.json");
    clearLog();
    EXPECT_EQ(77, Book::forFolder(m_dir).lastPage());
    ASSERT_EQ(1u, logLines().size());
    EXPECT_NE(std::string::npos, logLines()[0].find("it is not a file")) << logLines()[0];
}

}  // namespace
