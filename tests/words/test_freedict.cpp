// Translations from the installed FreeDict dictionaries, and what a missing or damaged one
// gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DictFixture.h"
#include "LogCapture.h"
#include "words/FreeDict.h"

using namespace pagly::words;
using namespace pagly::words::testing;

namespace {

bool hasLine(const Translation& t, const std::string& text) {
    return std::any_of(t.lines.begin(), t.lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

TEST(FreeDictTest, ListsTheInstalledPairsWithTheirLanguagesNames) {
    std::vector<LanguagePair> pairs = FreeDict().pairs();
    auto spanish = std::find_if(pairs.begin(), pairs.end(),
                                [](const LanguagePair& p) { return p.code == "spa"; });
    ASSERT_NE(spanish, pairs.end());
    EXPECT_EQ(spanish->name, "Spanish");
    EXPECT_EQ(spanish->textPath, "/usr/share/dictd/freedict-eng-spa.dict.dz");
    EXPECT_TRUE(FreeDict("/nonexistent").pairs().empty());
}

TEST(FreeDictTest, TranslatesWordsIntoSpanish) {
    struct Case {
        const char* word;
        const char* translation;
        const char* via;  // the English word the translation was found by
    } cases[] = {
        {"dog", "perro", ""},         {"Dogs", "perro", ""},     {"mother", "madre", ""},
        {"mummy", "madre", "mother"},  // eng-spa has no "mummy": its WordNet sense's broader word
        {"run", "correr", ""},        {"running", "correr", ""}, {"went", "ir", ""},
    };
    WordNet wordnet;
    FreeDict freedict;
    LogCapture log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        Translation t = translateWord(wordnet, freedict, c.word, "spa");
        EXPECT_EQ(t.status, LookupStatus::Found);
        EXPECT_TRUE(hasLine(t, c.translation)) << (t.lines.empty() ? "" : t.lines[0]);
        EXPECT_EQ(t.via, c.via);
        // The headword and its pronunciation are not a translation.
        for (const std::string& line : t.lines)
            EXPECT_EQ(line.find('/'), std::string::npos) << line;
    }
    Translation none = translateWord(wordnet, freedict, "blorpt", "spa");
    EXPECT_EQ(none.status, LookupStatus::NotInDictionary);
    EXPECT_TRUE(none.lines.empty());
    // A name is not translated through a word it looks like ("James" is not "jam").
    EXPECT_EQ(translateWord(wordnet, freedict, "James", "spa").status,
              LookupStatus::NotInDictionary);
    EXPECT_TRUE(log.lines.empty());
}

TEST(FreeDictTest, AnEntryKeepsItsTranslationsAndExamplesOnly) {
    EXPECT_EQ(entryLines("run /r\xca\x8cn/\n1. atropellar\n2. arranque\n", "run"),
              (std::vector<std::string>{"1. atropellar", "2. arranque"}));
    EXPECT_EQ(entryLines("Dog /d\xcb\x88\xc9\x92\xc9\xa1/\nal-kalb\n", "dog"),
              (std::vector<std::string>{"al-kalb"}));
    EXPECT_EQ(entryLines("mummy /m/\n [Br.] Mutti <fem>,  Mama <fem>\n   Synonyms: {ma}, {mum}\n\n"
                         " see: {mommies}\n",
                         "mummy"),
              (std::vector<std::string>{"[Br.] Mutti <fem>, Mama <fem>"}));
    EXPECT_EQ(
        entryLines("dog /d/\nHund <masc>\n      \"train a dog\"  - einen Hund abrichten\n", "dog"),
        (std::vector<std::string>{"Hund <masc>", "\"train a dog\" - einen Hund abrichten"}));
}

TEST(FreeDictTest, AMissingLanguageSaysSoOnce) {
    FreeDict freedict;
    LogCapture log;
    EXPECT_EQ(freedict.translate({"dog"}, "xxx").status, LookupStatus::Unavailable);
    EXPECT_EQ(freedict.translate({"cat"}, "xxx").status, LookupStatus::Unavailable);
    EXPECT_EQ(log.lines.size(), 1u);
}

}  // namespace
