// The README's key table, the F1 card and the learner's card say the same: every key of the
// page's F1 list is in the table, and every button of the card is named there with its key.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/LearnerCard.h"
#include "app/PageBindings.h"

using namespace pagly;

namespace {

std::string keyTable() {
    std::ifstream in(keyTableFile(""));
    std::string line, table;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line == "| to | do |")
            inside = true;
        else if (inside && (line.empty() || line[0] != '|'))
            break;
        if (inside) table += line + "\n";
    }
    return table;
}

// "Left / Right" -> {"Left", "Right"}; "F1 or ?" -> {"F1", "?"}.
std::vector<std::string> keysOf(const std::string& line) {
    std::string keys = line.substr(0, line.find(": "));
    std::vector<std::string> out;
    size_t at = 0;
    while (at < keys.size()) {
        size_t slash = keys.find(" / ", at), orWord = keys.find(" or ", at);
        size_t end = std::min(slash, orWord);
        out.push_back(keys.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + (end == slash ? 3 : 4);
    }
    return out;
}

TEST(KeyTableTest, EveryKeyOfThePagesListIsInTheReadmesTable) {
    std::string table = keyTable();
    ASSERT_FALSE(table.empty());
    for (const char* const* line = pageKeyHelpLines(); *line; ++line)
        for (const std::string& key : keysOf(*line))
            EXPECT_NE(std::string::npos, table.find(key)) << key << " (" << *line << ")";
}

TEST(KeyTableTest, EveryButtonOfTheLearnersCardIsInTheTableAndTheF1List) {
    std::string table = keyTable(), lines;
    for (const char* const* line = pageKeyHelpLines(); *line; ++line)
        lines += *line + std::string("\n");
    for (int b = 0; b < LearnerCard::Close; ++b) {
        std::string name = LearnerCard::nameOf((LearnerCard::Button)b);
        EXPECT_NE(std::string::npos, table.find("\"" + name + "\"")) << name;
        EXPECT_NE(std::string::npos, lines.find(name)) << name;
    }
}

}  // namespace
