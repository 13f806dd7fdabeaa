// The two kinds of WordNet record, parsed from one line each: an index line (a lemma, its
// part of speech and the byte offsets of its senses in the data file) and a data line (one
// synset: its words, its links and its gloss). Bad lines give nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagly::words {

struct IndexEntry {
    std::string lemma;
    char pos = 0;
    // How often the lemma was seen in the tagged corpus in this part of speech.
    int taggedCount = 0;
    // The senses' offsets in the data file, most common first.
    std::vector<uint64_t> offsets;
};

struct SynsetLink {
    std::string symbol;  // "@" a more general meaning, "~" a narrower one, ...
    uint64_t offset = 0;
    char pos = 0;
};

struct Synset {
    uint64_t offset = 0;
    char type = 0;                   // n, v, a, s (adjective satellite) or r
    std::vector<std::string> words;  // spaces for WordNet's underscores, adjective markers off
    std::vector<SynsetLink> links;
    std::string definition;  // the gloss before its examples
    std::string example;     // the first quoted example, without its quotes
};

std::optional<IndexEntry> parseIndexLine(std::string_view line);
std::optional<Synset> parseSynsetLine(std::string_view line);
// Splits a gloss into its definition and its first quoted example.
void splitGloss(std::string_view gloss, std::string& definition, std::string& example);

}  // namespace pagly::words
