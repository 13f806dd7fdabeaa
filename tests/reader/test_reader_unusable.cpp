// Documents the reader cannot use (fully or in part) are named in one log line with the
// reason, once per run; the reader's fixed error line stays as it is.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "reader/ReaderFixture.h"

using namespace pagly::gui;

namespace {

class ReaderUnusableTest : public pagly::test::ReaderTest {
  protected:
    // Writes `text` as a document in the fixture's temp folder; returns its path.
    static std::string write(const std::string& name, const std::string& text) {
        std::string path = testing::TempDir() + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The log lines that name `file`.
    std::vector<std::string> linesNaming(const std::string& file) const {
        std::vector<std::string> lines;
        for (const std::string& line : logLines())
            if (line.find(file) != std::string::npos) lines.push_back(line);
        return lines;
    }
};

std::string nested(int levels, const std::string& open, const std::string& close,
                   const std::string& inner) {
    std::string text = inner;
    for (int i = 0; i < levels; ++i) text = open + text + close;
    return text;
}

TEST_F(ReaderUnusableTest, EachProblemIsNamedWithItsReasonOnce) {
    const std::string panel = R"({"classname": "Panel", "options": {"name": "p"}})";
    struct Case {
        const char* name;
        std::string text;
        const char* reason;  // what the log line says after "cannot use <file>: "
        bool fixedLine;      // the reader also prints its "read json file" line
    };
    const Case cases[] = {
        {"u_empty.json", "", "it is empty", true},
        {"u_zero.json", std::string("\0{}", 3), "it starts with a zero byte", true},
        {"u_cut.json", R"({"designWidth": 10, "widgetTree": {"classname": "Pan)",
         "it is not valid JSON (Line 1, Column ", false},
        {"u_array.json", R"([{"widgetTree": 1}])", "its root is not a JSON object", false},
        {"u_notree.json", R"({"designWidth": 10, "designHeight": 10})",
         "it has no \"widgetTree\" object", false},
        {"u_treetype.json", R"({"widgetTree": "Panel"})", "it has no \"widgetTree\" object", false},
        {"u_class.json", R"({"widgetTree": {"classname": "Window"}})",
         "its \"widgetTree\" names no widget class the reader knows", false},
        {"u_json_deep.json",
         R"({"widgetTree": )" + panel + R"(, "x": )" + nested(300, "[", "]", "1") + "}",
         "it nests arrays and objects deeper than 256 levels", false},
        {"u_widget_deep.json",
         R"({"widgetTree": )" +
             nested(CCSGUIReader::kMaxWidgetDepth + 1, R"({"classname": "Panel", "children": [)",
                    "]}", panel) +
             "}",
         "its widgets nest deeper than 100 levels; the deeper ones are left out", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = write(c.name, c.text);
        clearLog();
        for (int read = 0; read < 3; ++read) {
            testing::internal::CaptureStdout();
            load(path.c_str());
            std::string out = testing::internal::GetCapturedStdout();
            // The fixed line is printed at every read, exactly as before.
            EXPECT_EQ(c.fixedLine, out.find("read json file[" + path + "] error!\n") == 0) << out;
            destroySingletons();
        }
        std::vector<std::string> lines = linesNaming(c.name);
        ASSERT_EQ(1u, lines.size())
            << "named once in three reads: " << testing::PrintToString(logLines());
        EXPECT_EQ(0u, lines[0].find("cannot use " + path + ": " + c.reason)) << lines[0];
    }
}

TEST_F(ReaderUnusableTest, ADocumentUnderTheBookFolderIsNamedAsTheBookNamesIt) {
    // The fixture folder is the resource root; "missing/page.json" is not there at all.
    testing::internal::CaptureStdout();
    EXPECT_EQ(nullptr, load("missing/page.json"));
    EXPECT_EQ(nullptr, load("images"));  // a folder
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(logged("cannot use missing/page.json: it is missing"))
        << testing::PrintToString(logLines());
    EXPECT_TRUE(logged("cannot use images: it is a folder, not a file"))
        << testing::PrintToString(logLines());
}

TEST_F(ReaderUnusableTest, SoundDocumentsNameNothing) {
    std::string path = write("u_sound.json", R"({"designWidth": 10, "designHeight": 10,
        "widgetTree": {"classname": "Panel", "children": [{"classname": "Button"}]}})");
    ASSERT_NE(nullptr, load(path.c_str()));
    EXPECT_TRUE(linesNaming("u_sound.json").empty()) << testing::PrintToString(logLines());
}

}  // namespace
