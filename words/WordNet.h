// English words from WordNet's own files: dictionary forms by its exception lists and suffix
// rules checked against its indexes, and meanings read from its data files by byte offset.
// Nothing is read before the first look-up, and no file is loaded whole. One object serves
// one thread.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "words/LineFile.h"
#include "words/Morphology.h"
#include "words/WordNetRecords.h"

namespace pagly::words {

// What a look-up came to. `Unavailable` is a missing or damaged dictionary (already
// logged); `NotInDictionary` is a good dictionary without the word.
enum class LookupStatus { Found, NotInDictionary, Unavailable };

// A look-up that found something found it, even past some damage; one that found nothing
// because of damage says so.
inline LookupStatus statusOf(bool found, const Trouble& trouble) {
    if (found) return LookupStatus::Found;
    return trouble.any() ? LookupStatus::Unavailable : LookupStatus::NotInDictionary;
}

struct Lemma {
    std::string form;
    PartOfSpeech pos = PartOfSpeech::Noun;
    int taggedCount = 0;
};

struct Sense {
    PartOfSpeech pos = PartOfSpeech::Noun;
    std::string definition;
    std::string example;             // may be empty
    std::vector<std::string> words;  // the sense's words, synonyms included
    std::vector<uint64_t> broader;   // offsets of its more general senses (same part)
};

struct Meaning {
    LookupStatus status = LookupStatus::NotInDictionary;
    std::string word;   // as looked up: cleaned, contraction off ("isn't" -> "is")
    std::string lemma;  // the dictionary form, or the word itself when there is none
    std::vector<Sense> senses;
};

class WordNet {
  public:
    static constexpr const char* kDefaultFolder = "/usr/share/wordnet";

    explicit WordNet(std::string folder = kDefaultFolder);

    // The word's dictionary forms, most used first; empty if WordNet has none.
    std::vector<Lemma> lemmas(std::string_view word);
    // The first dictionary form, or the cleaned word itself (a name stays as written).
    std::string dictionaryForm(std::string_view word);
    // The first `sensesPerPart` senses of each of the word's dictionary forms.
    Meaning meaning(std::string_view word, size_t sensesPerPart = 2);
    // The senses of a lemma already known to be one (`lemmas` gives them).
    std::vector<Sense> senses(const Lemma& lemma, size_t limit);
    // Whether the word as written is a name WordNet knows ("James", "Paris"), not a word
    // that happens to begin a sentence.
    bool isName(std::string_view word);
    // One synset by its offset, or nothing when the data file does not hold one there.
    std::optional<Synset> synsetAt(PartOfSpeech pos, uint64_t offset);

  private:
    struct Part {
        std::unique_ptr<LineFile> index, data, exceptions;
    };
    // False (logged once) when WordNet's files are not all there.
    bool ready();
    std::vector<Lemma> lemmasOf(const std::string& word, Trouble& trouble);
    // Whether WordNet's first noun sense of the word writes it with these capitals.
    bool isProperName(const std::string& word, Trouble& trouble);
    std::optional<IndexEntry> indexEntry(PartOfSpeech pos, const std::string& lemma,
                                         Trouble& trouble);
    std::vector<Sense> sensesOf(const IndexEntry& entry, PartOfSpeech pos, size_t limit,
                                Trouble& trouble);
    std::string formAsWritten(const std::string& word, const std::vector<Lemma>& found,
                              Trouble& trouble);

    std::string folder_;
    std::array<Part, 4> parts_;
    int ready_ = -1;  // not checked yet
};

}  // namespace pagly::words
