// Which folders the importer may replace: only one it wrote and nobody changed since. A marker
// file any archive can carry does not make a folder the importer's, and the book being
// converted is never its own target.
#include <unistd.h>

#include "tools/import/Importer.h"
#include "tools/tests/ConversionFixture.h"
#include "tools/tests/ImportFixtures.h"

namespace pt = pagly::testing;
using namespace pagly::import;

namespace {

class ImportMarker : public pt::ConversionTest {
  protected:
    SourceBook onePage() {
        return book({document(
            "p.html", "<!DOCTYPE html><html><body><p id=\"s1\">One</p></body></html>", {"s1"})});
    }
    std::string notes() const { return pt::readFile(m_dir + "/mine/notes.txt"); }
};

TEST_F(ImportMarker, APlantedMarkerIsRefusedAndTheNotesSurvive) {
    // A real seal of another folder, as a book could copy it from one converted elsewhere.
    std::string why;
    ASSERT_TRUE(writeBook(onePage(), m_dir + "/converted", m_options, why)) << why;
    std::string copied = pt::readFile(m_dir + "/converted/" + kImportMarker);
    const std::string planted[] = {
        "pagly-import\n/somewhere/book.epub\n",
        "pagly-import 2\n/somewhere/book.epub\n" + std::string(64, '0') + "\n",
        copied,
    };
    for (const std::string& marker : planted) {
        SCOPED_TRACE(marker);
        removeTree(m_dir + "/mine");
        ASSERT_TRUE(makeFolder(m_dir + "/mine"));
        ASSERT_TRUE(writeFile(m_dir + "/mine/notes.txt", "keep me"));
        ASSERT_TRUE(writeFile(m_dir + "/mine/" + kImportMarker, marker));
        EXPECT_FALSE(isImportedFolder(m_dir + "/mine"));
        EXPECT_FALSE(writeBook(onePage(), m_dir + "/mine", m_options, why));
        EXPECT_NE(std::string::npos, why.find("not a book that pagly-import wrote")) << why;
        EXPECT_EQ("keep me", notes());
    }
}

TEST_F(ImportMarker, AConvertedFolderIsReplacedUntilSomeoneAddsToIt) {
    std::string why;
    ASSERT_TRUE(writeBook(onePage(), m_dir + "/mine", m_options, why)) << why;
    EXPECT_TRUE(isImportedFolder(m_dir + "/mine"));
    ASSERT_TRUE(writeBook(onePage(), m_dir + "/mine", m_options, why)) << why;
    ASSERT_TRUE(writeFile(m_dir + "/mine/notes.txt", "keep me"));
    EXPECT_FALSE(isImportedFolder(m_dir + "/mine"));
    EXPECT_FALSE(writeBook(onePage(), m_dir + "/mine", m_options, why));
    EXPECT_EQ("keep me", notes());
}

TEST(ImportOverlap, TheBookBeingConvertedIsNeverItsOwnTarget) {
    pt::ScratchFolder scratch;
    ASSERT_TRUE(makeFolder(scratch / "a") && makeFolder(scratch / "a/b"));
    ASSERT_TRUE(writeFile(scratch / "a/x.epub", "zip"));
    struct Case {
        const char* source;
        const char* target;
        bool harms;
    } cases[] = {
        {"a", "a", true},      {"a/b", "a", true},  {"a/x.epub", "a", true},
        {"a", "a/b/..", true}, {"a", "ab", false},  {"a/x.epub", "a/x", false},
        {"a/b", "a/c", false}, {"a", "a/b", false},  // a new folder inside the book harms nothing
                                                     // of it
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.harms, !overlapWith(scratch / c.source, scratch / c.target).empty())
            << c.source << " -> " << c.target;
}

TEST_F(ImportMarker, AnUnpackedBookWithAPlantedMarkerIsNotReplacedByItsOwnConversion) {
    const pt::EpubFixtureBooks& books = pt::epubFixtures();
    ASSERT_TRUE(books.made);
    std::string why;
    ASSERT_TRUE(copyTree(books.fixedFolder, m_dir + "/story", {}, why)) << why;
    // The seal of a folder this user converted, so that only the overlap can refuse it.
    ASSERT_TRUE(writeBook(onePage(), m_dir + "/converted", m_options, why)) << why;
    ASSERT_TRUE(sealFolder(m_dir + "/story", m_dir + "/story"));
    ASSERT_TRUE(isImportedFolder(m_dir + "/story"));
    std::set<std::string> before = pt::treeOf(m_dir + "/story");
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, chdir(m_dir.c_str()));
    // FOLDER left out: the book's own name, here.
    ImportResult result = importBook("story", defaultFolderFor("story"), m_options, why);
    ASSERT_EQ(0, chdir(cwd));
    EXPECT_EQ(ImportResult::Refused, result);
    EXPECT_NE(std::string::npos, why.find("holds the book being converted")) << why;
    EXPECT_EQ(before, pt::treeOf(m_dir + "/story"));
}

}  // namespace
