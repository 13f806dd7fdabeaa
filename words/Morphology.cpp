#include "words/Morphology.h"

#include <cctype>

namespace pagly::words {
namespace {

struct Rule {
    const char* suffix;
    const char* ending;
};

// WordNet's detachment rules, tried in this order for each part of speech.
const Rule kNounRules[] = {{"s", ""},      {"ses", "s"},   {"xes", "x"},   {"zes", "z"},
                           {"ches", "ch"}, {"shes", "sh"}, {"men", "man"}, {"ies", "y"}};
const Rule kVerbRules[] = {{"s", ""},   {"ies", "y"}, {"es", "e"},  {"es", ""},
                           {"ed", "e"}, {"ed", ""},   {"ing", "e"}, {"ing", ""}};
const Rule kAdjectiveRules[] = {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

bool endsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool isWordByte(unsigned char c) { return std::isalnum(c) || c >= 0x80 || c == '\''; }

}  // namespace

namespace {
struct PartNames {
    const char* name;
    const char* file;
    char letter;
};
// In the order of PartOfSpeech.
const PartNames kPartNames[] = {{"noun", "noun", 'n'},
                                {"verb", "verb", 'v'},
                                {"adjective", "adj", 'a'},
                                {"adverb", "adv", 'r'}};
}  // namespace

const char* partName(PartOfSpeech pos) { return kPartNames[size_t(pos)].name; }
const char* partFileName(PartOfSpeech pos) { return kPartNames[size_t(pos)].file; }
char partLetter(PartOfSpeech pos) { return kPartNames[size_t(pos)].letter; }

std::string cleanWord(std::string_view raw) {
    std::string s;
    s.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        // U+2019 and U+2018 (E2 80 99 / 98) and U+02BC (CA BC) are apostrophes in books.
        unsigned char c1 = i + 1 < raw.size() ? static_cast<unsigned char>(raw[i + 1]) : 0;
        unsigned char c2 = i + 2 < raw.size() ? static_cast<unsigned char>(raw[i + 2]) : 0;
        if (raw[i] == '\xE2' && c1 == 0x80 && (c2 == 0x99 || c2 == 0x98)) {
            s += '\'';
            i += 2;
        } else if (raw[i] == '\xE2' && c1 == 0x80 && c2 >= 0x93 && c2 <= 0xA6) {
            // Curly double quotes, dashes and the ellipsis are punctuation, not letters.
            s += (c2 == 0x93 || c2 == 0x94) ? '-' : '"';
            i += 2;
        } else if (raw[i] == '\xC2' && (c1 == 0xAB || c1 == 0xBB)) {
            s += '"';  // guillemets
            i += 1;
        } else if (i + 1 < raw.size() && raw[i] == '\xCA' && raw[i + 1] == '\xBC') {
            s += '\'';
            i += 1;
        } else if (std::isspace(static_cast<unsigned char>(raw[i]))) {
            if (!s.empty() && s.back() != ' ') s += ' ';
        } else {
            s += raw[i];
        }
    }
    // Quotes, brackets and sentence punctuation around the word are not part of it; an
    // apostrophe at the end may be a plural possessive ("dogs'"), one at the start is a quote.
    size_t begin = 0, end = s.size();
    while (begin < end && !isWordByte(static_cast<unsigned char>(s[begin]))) ++begin;
    while (begin < end && s[begin] == '\'') ++begin;
    while (end > begin && !isWordByte(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(begin, end - begin);
}

std::string foldCase(std::string_view word) {
    std::string s(word);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string withoutClitic(const std::string& word) {
    std::string folded = foldCase(word);
    // Negations whose stem changes.
    static const struct {
        const char* word;
        const char* stem;
    } kIrregular[] = {{"won't", "will"}, {"can't", "can"}, {"shan't", "shall"}, {"ain't", "am"}};
    for (const auto& n : kIrregular)
        if (folded == n.word) {
            std::string stem = n.stem;
            if (std::isupper(static_cast<unsigned char>(word[0])))
                stem[0] = char(std::toupper(stem[0]));
            return stem;
        }
    for (const char* tail : {"n't", "'s", "'re", "'ll", "'ve", "'d", "'m"}) {
        if (endsWith(folded, tail) && folded.size() > std::string_view(tail).size())
            return word.substr(0, word.size() - std::string_view(tail).size());
    }
    if (endsWith(folded, "s'") && folded.size() > 2) return word.substr(0, word.size() - 1);
    return word;
}

std::vector<std::string> detachSuffixes(const std::string& folded, PartOfSpeech pos) {
    std::vector<std::string> out;
    const Rule* begin = nullptr;
    const Rule* end = nullptr;
    switch (pos) {
        case PartOfSpeech::Noun:
            // Short words and "-ss" nouns ("glass") are not plurals.
            if (folded.size() <= 2 || endsWith(folded, "ss")) return out;
            begin = std::begin(kNounRules), end = std::end(kNounRules);
            break;
        case PartOfSpeech::Verb:
            begin = std::begin(kVerbRules), end = std::end(kVerbRules);
            break;
        case PartOfSpeech::Adjective:
            begin = std::begin(kAdjectiveRules), end = std::end(kAdjectiveRules);
            break;
        case PartOfSpeech::Adverb:
            return out;
    }
    for (const Rule* r = begin; r != end; ++r) {
        if (!endsWith(folded, r->suffix)) continue;
        std::string base = folded.substr(0, folded.size() - std::string_view(r->suffix).size());
        base += r->ending;
        if (base.empty() || base == folded) continue;
        bool seen = false;
        for (const auto& o : out) seen = seen || o == base;
        if (!seen) out.push_back(base);
    }
    return out;
}

}  // namespace pagly::words
