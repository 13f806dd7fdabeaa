// A book made here and converted by the book writer with one browser the whole test file
// shares: a scratch folder with the book's source folder (one quiet recording) beside the
// target, and every page and problem the writer reports kept for the test to look at.
#ifndef PAGLY_TOOLS_TESTS_CONVERSIONFIXTURE_H
#define PAGLY_TOOLS_TESTS_CONVERSIONFIXTURE_H

#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>
#include <vector>

#include "tools/import/BookWriter.h"
#include "tools/import/FileTree.h"
#include "tools/import/HeadlessBrowser.h"
#include "tools/tests/ImportFixtures.h"

namespace pagly::testing {

// A started browser for a whole test file to share, or null when none can run here.
inline import::HeadlessBrowser* startSharedBrowser() {
    if (!import::HeadlessBrowser::available()) return nullptr;
    auto* browser = new import::HeadlessBrowser();
    std::string why;
    if (browser->start(why)) return browser;
    delete browser;
    return nullptr;
}

class ConversionTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { s_browser = startSharedBrowser(); }
    static void TearDownTestSuite() {
        delete s_browser;
        s_browser = nullptr;
    }

    void SetUp() override {
        if (!s_browser)
            GTEST_SKIP() << "no headless browser at " << import::HeadlessBrowser::program();
        import::requestCancel(false);
        m_dir = import::makeTemporaryFolder("pagly-import-test-");
        ASSERT_FALSE(m_dir.empty());
        m_source = m_dir + "/source";
        ASSERT_TRUE(import::makeFolder(m_source));
        writeQuietRecording(m_source + "/quiet.wav");
        m_options.browser = s_browser;
        m_options.chromeFolder = PAGLY_BOOK_DIR;
        m_options.problem = [this](const import::ImportProblem& p) { m_problems.push_back(p); };
        m_options.progress = [this](int done, int total) { m_progress.push_back({done, total}); };
    }
    void TearDown() override {
        import::requestCancel(false);
        if (!m_dir.empty()) import::removeTree(m_dir);
    }

    static void writeQuietRecording(const std::string& path) {
        std::string why;
        ASSERT_TRUE(pagly::testing::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 16000,
                                               std::vector<float>(16000, 0.0f), why))
            << why;
    }

    // A document of the source folder named `file` with this HTML, one sentence per id (each
    // timed to the quiet recording).
    import::SourceDocument document(const std::string& file, const std::string& html,
                                    const std::vector<std::string>& ids,
                                    import::SourceLayout layout = import::SourceLayout::Fixed) {
        import::writeFile(m_source + "/" + file, html);
    import::SourceDocument d;
    d.path = m_source + "/" + file;
    d.layout = layout;
    if (layout == import::SourceLayout::Fixed) {
        d.width = 400;
        d.height = 600;
    }
    for (const std::string& id : ids) {
        import::SourceSentence s;
        s.elementId = id;
        s.audioFile = m_source + "/quiet.wav";
        s.clipBegin = 0.1;
        s.clipEnd = 0.5;
        d.sentences.push_back(s);
    }
    return d;
} import::SourceBook book(std::vector<import::SourceDocument> documents) {
    import::SourceBook b;
    b.title = "Made here";
    b.folder = m_source;
    b.documents = std::move(documents);
    b.pagesPerSection = 10;
    return b;
}
// The problems whose reason holds `words`.
int told(const std::string& words) const {
    int count = 0;
    for (const import::ImportProblem& p : m_problems)
        count += p.reason.find(words) != std::string::npos;
    return count;
}
std::string allTold() const {
    std::string out;
    for (const import::ImportProblem& p : m_problems) out += import::describe(p) + "\n";
    return out;
}

static inline import::HeadlessBrowser* s_browser = nullptr;
std::string m_dir, m_source;
import::WriteOptions m_options;
std::vector<import::ImportProblem> m_problems;
std::vector<std::pair<int, int>> m_progress;
};  // namespace pagly::testing

}  // namespace pagly::testing

#endif
