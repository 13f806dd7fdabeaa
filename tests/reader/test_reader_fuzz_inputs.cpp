#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/ReaderFuzzInput.h"
#include "reader/ReaderFixture.h"

namespace {

class ReaderFuzzInputsTest : public pagly::test::ReaderTest {};

// Every seed of the fuzz corpus and every input that ever crashed the reader goes through the
// fuzz target's whole path (read, stage, draw, timelines, clean-up) without a crash, a leak or
// a node posed at NaN or infinity.
TEST_F(ReaderFuzzInputsTest, SeedsAndRegressionsReadCleanly) {
    namespace fs = std::filesystem;
    pagly::fuzz::setUp(fixtures());
    fs::path root = fs::path(PAGLY_FIXTURES_DIR).parent_path().parent_path() / "fuzz";
    int inputs = 0;
    for (const char* folder : {"corpus/reader", "regressions/reader"}) {
        ASSERT_TRUE(fs::is_directory(root / folder)) << (root / folder);
        for (const fs::directory_entry& entry : fs::directory_iterator(root / folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
            files->setResourceRoot(fixtures());
            testing::internal::CaptureStdout();
            pagly::fuzz::Outcome outcome = pagly::fuzz::readDocument(
                reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            testing::internal::GetCapturedStdout();
            EXPECT_NE(pagly::fuzz::Outcome::Leaked, outcome)
                << entry.path() << " left engine objects alive";
            EXPECT_NE(pagly::fuzz::Outcome::NonFinitePose, outcome)
                << entry.path() << " posed a node at NaN or infinity";
            ++inputs;
        }
    }
    pagly::fuzz::tearDown();
    EXPECT_GT(inputs, 10);
}

}  // namespace
