// Translations from the installed FreeDict dictionaries (dictd format): a sorted index of
// "headword TAB offset TAB length" lines (numbers in base 64) over a dictzip text. Each
// language pair is opened on its first look-up.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "words/DictZip.h"
#include "words/LineFile.h"
#include "words/WordNet.h"

namespace pagly::words {

struct LanguagePair {
    std::string code;  // "spa"
    std::string name;  // "Spanish"
    std::string indexPath, textPath;
};

struct Translation {
    LookupStatus status = LookupStatus::NotInDictionary;
    std::string headword;  // the form the dictionary has
    std::string via;       // a related English word the translation was found by, if any
    std::vector<std::string> lines;
};

struct DictdIndexLine {
    std::string headword;
    uint64_t offset = 0, length = 0;
};

std::optional<uint64_t> decodeDictdNumber(std::string_view digits);
std::optional<DictdIndexLine> parseDictdIndexLine(std::string_view line);
// An entry's lines for reading: without its headword and pronunciation line, its
// cross-references and English synonyms, and blank lines.
std::vector<std::string> entryLines(std::string_view entry, std::string_view headword);
// "Spanish" for "spa"; the code itself for a language not in the table.
std::string languageName(const std::string& code);

class FreeDict {
  public:
    static constexpr const char* kDefaultFolder = "/usr/share/dictd";

    explicit FreeDict(std::string folder = kDefaultFolder);
    ~FreeDict();

    // The installed English-to-X pairs, by code.
    std::vector<LanguagePair> pairs() const;
    // The entries of the first of `forms` the dictionary has (the word as written, then its
    // dictionary forms), at most `maxEntries` of them.
    Translation translate(const std::vector<std::string>& forms, const std::string& code,
                          size_t maxEntries = 6);

  private:
    struct Pair {
        std::unique_ptr<LineFile> index;
        std::unique_ptr<DictZip> text;
    };
    Pair* pairFor(const std::string& code);

    std::string folder_;
    std::map<std::string, Pair> open_;
};

// A word's translation: the word as written, its dictionary forms, and else the English
// words WordNet gives for its first senses and their more general meanings ("mummy" ->
// "mother"), so that a child's word the small dictionaries lack still gets one.
Translation translateWord(WordNet& wordnet, FreeDict& freedict, std::string_view word,
                          const std::string& code, size_t maxEntries = 6);

}  // namespace pagly::words
