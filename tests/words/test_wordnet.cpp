// Dictionary forms and meanings against the installed WordNet, and what a missing or damaged
// copy of it gives.
#include <gtest/gtest.h>

#include <string>

#include "DictFixture.h"
#include "LogCapture.h"
#include "words/WordNet.h"

using namespace pagly::words;
using namespace pagly::words::testing;

namespace {

struct FormCase {
    const char* word;
    const char* form;
    LookupStatus status;
    const char* firstDefinition;  // the start of the first sense's definition
};

const FormCase kForms[] = {
    {"runs", "run", LookupStatus::Found, "move fast by using one's feet"},       // -s
    {"children", "child", LookupStatus::Found, "a young person of either sex"},  // irregular plural
    {"boxes", "box", LookupStatus::Found, "a (usually rectangular) container"},  // -xes
    {"walked", "walk", LookupStatus::Found, "use one's feet to advance"},        // past tense
    {"went", "go", LookupStatus::Found, "change location"},                      // irregular past
    {"isn't", "be", LookupStatus::Found, "have the quality of being"},           // contraction
    {"Isn\u2019t", "be", LookupStatus::Found, "have the quality of being"},      // curly
    {"dog's", "dog", LookupStatus::Found, "a member of the genus Canis"},        // possessive
    {"dogs\u2019", "dog", LookupStatus::Found, "a member of the genus Canis"},   // plural one
    {"Dogs", "dog", LookupStatus::Found, "a member of the genus Canis"},  // starts a sentence
    {"\u201cHello,\u201d", "hello", LookupStatus::Found, "an expression of greeting"},
    {"o'clock", "o'clock", LookupStatus::Found, "according to the clock"},  // its own apostrophe
    {"Ice cream", "ice cream", LookupStatus::Found, "frozen dessert"},      // two words
    {"well-being", "well-being", LookupStatus::Found, "a contented state"},
    {"James", "James", LookupStatus::Found, ""},  // a name, not "jam"
    {"Paris", "Paris", LookupStatus::Found, "the capital and largest city of France"},
    {"Kofi", "Kofi", LookupStatus::NotInDictionary, nullptr},  // a name WordNet lacks
    {"blorpt", "blorpt", LookupStatus::NotInDictionary, nullptr},
};

TEST(WordNetTest, DictionaryFormAndMeaningOfATableOfWords) {
    WordNet wordnet;
    LogCapture log;
    for (const FormCase& c : kForms) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(wordnet.dictionaryForm(c.word), c.form);
        Meaning m = wordnet.meaning(c.word);
        EXPECT_EQ(m.status, c.status);
        EXPECT_EQ(m.lemma, c.form);
        if (c.firstDefinition) {
            ASSERT_FALSE(m.senses.empty());
            EXPECT_EQ(m.senses[0].definition.rfind(c.firstDefinition, 0), 0u)
                << m.senses[0].definition;
        } else {
            EXPECT_TRUE(m.senses.empty());
        }
    }
    EXPECT_TRUE(log.lines.empty()) << log.lines[0];
}

TEST(WordNetTest, AMeaningHasItsPartOfSpeechDefinitionAndExample) {
    WordNet wordnet;
    Meaning m = wordnet.meaning("dog", 1);
    ASSERT_EQ(m.senses.size(), 2u);  // one noun sense, one verb sense
    EXPECT_EQ(m.senses[0].pos, PartOfSpeech::Noun);
    EXPECT_EQ(m.senses[0].definition,
              "a member of the genus Canis (probably descended from the common wolf) that has "
              "been domesticated by man since prehistoric times; occurs in many breeds");
    EXPECT_EQ(m.senses[0].example, "the dog barked all night");
    EXPECT_EQ(m.senses[1].pos, PartOfSpeech::Verb);
    EXPECT_EQ(m.senses[1].example, "The policeman chased the mugger down the alley");
    // "run" is used more as a verb than as a noun: the verb comes first.
    EXPECT_EQ(wordnet.meaning("running").senses.at(0).pos, PartOfSpeech::Verb);
}

TEST(WordNetTest, NothingIsReadBeforeTheFirstLookUpAndAMissingWordNetSaysSoOnce) {
    TempFolder empty;
    LogCapture log;
    WordNet wordnet(empty.path());
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(wordnet.meaning("dog").status, LookupStatus::Unavailable);
    EXPECT_EQ(wordnet.meaning("cat").status, LookupStatus::Unavailable);
    EXPECT_EQ(wordnet.dictionaryForm("dogs"), "dogs");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("WordNet is not installed"), std::string::npos);
}

// A WordNet folder with only a noun index and data file of our own making.
struct DamagedWordNet {
    const char* name;
    std::string index;
    std::string data;
};

const std::string kDogRecord =
    "00000000 05 n 01 dog 0 000 | a domesticated animal; \"the dog barked\"  \n";

TEST(WordNetTest, ADamagedWordNetGivesNoMeaningAndOneLogLine) {
    const DamagedWordNet cases[] = {
        {"an offset past the end", "dog n 1 0 1 0 00099999  \n", kDogRecord},
        {"an offset inside a record", "dog n 1 0 1 0 00000005  \n", kDogRecord},
        {"a garbage index line", "dog n zz \x01\x02\n", kDogRecord},
        {"a count larger than the line", "dog n 999999 0 1 0 00000000  \n", kDogRecord},
        {"a garbage data line", "dog n 1 0 1 0 00000000  \n", "00000000 \xff\xfe garbage\n"},
        {"a data file without line breaks", "dog n 1 0 1 0 00000000  \n",
         "00000000 05 n 01 dog 0 000 | " + std::string(200000, 'x')},
    };
    for (const DamagedWordNet& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        folder.write("index.noun", c.index);
        folder.write("data.noun", c.data);
        for (const char* part : {"verb", "adj", "adv"}) {
            folder.write(std::string("index.") + part, "");
            folder.write(std::string("data.") + part, "");
        }
        WordNet wordnet(folder.path());
        LogCapture log;
        Meaning m = wordnet.meaning("dogs");
        EXPECT_EQ(m.status, LookupStatus::Unavailable);
        EXPECT_TRUE(m.senses.empty());
        EXPECT_EQ(log.lines.size(), 1u);
    }
}

TEST(WordNetTest, AnUnsortedOrBinaryIndexEndsTheSearch) {
    TempFolder folder;
    std::string junk;
    for (int i = 0; i < 50000; ++i) junk += char((i * 7919) % 251 + 1);
    folder.write("index.noun", junk + "\nzebra n 1 0 1 0 00000000  \napple n 1 0 1 0 00000000  \n");
    folder.write("data.noun", kDogRecord);
    for (const char* part : {"verb", "adj", "adv"}) {
        folder.write(std::string("index.") + part, "");
        folder.write(std::string("data.") + part, "");
    }
    WordNet wordnet(folder.path());
    LogCapture log;
    EXPECT_NE(wordnet.meaning("dog").status, LookupStatus::Found);
    EXPECT_LE(log.lines.size(), 1u);
}

}  // namespace
