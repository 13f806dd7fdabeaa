// Turning a word as printed in a book into the strings to look up: trimmed of punctuation,
// apostrophes made straight, contractions and possessives taken off, and WordNet's suffix
// rules for finding a dictionary form ("runs" -> "run", "boxes" -> "box").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pagly::words {

enum class PartOfSpeech { Noun, Verb, Adjective, Adverb };
constexpr PartOfSpeech kPartsOfSpeech[] = {PartOfSpeech::Noun, PartOfSpeech::Verb,
                                           PartOfSpeech::Adjective, PartOfSpeech::Adverb};

// "noun", "verb", "adjective", "adverb".
const char* partName(PartOfSpeech pos);
// WordNet's file suffix: "noun", "verb", "adj", "adv".
const char* partFileName(PartOfSpeech pos);
// WordNet's letter in its records: 'n', 'v', 'a', 'r'.
char partLetter(PartOfSpeech pos);

// The word without surrounding punctuation or spaces, with curly and modifier apostrophes
// made straight and inner runs of spaces made one; case is kept.
std::string cleanWord(std::string_view raw);
// ASCII lower case (WordNet and the FreeDict indexes are ASCII-folded).
std::string foldCase(std::string_view word);
// The word without a contraction or possessive ending: "isn't" -> "is", "won't" -> "will",
// "dog's" -> "dog", "dogs'" -> "dogs", "we'll" -> "we", "I'm" -> "I". Case is kept.
std::string withoutClitic(const std::string& word);
// Candidate dictionary forms by WordNet's detachment rules for one part of speech, for a
// folded word; not yet checked against the dictionary.
std::vector<std::string> detachSuffixes(const std::string& folded, PartOfSpeech pos);

}  // namespace pagly::words
