#include "words/WordNetRecords.h"

#include <cctype>

namespace pagly::words {
namespace {

// Reads space-separated fields from a line; every read says whether it got one.
class Fields {
  public:
    explicit Fields(std::string_view s) : s_(s) {}
    bool next(std::string_view& out) {
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
        if (pos_ >= s_.size()) return false;
        size_t end = s_.find(' ', pos_);
        if (end == std::string_view::npos) end = s_.size();
        out = s_.substr(pos_, end - pos_);
        pos_ = end;
        return true;
    }
    bool number(uint64_t& out, int base, size_t maxDigits) {
        std::string_view f;
        if (!next(f) || f.empty() || f.size() > maxDigits) return false;
        uint64_t v = 0;
        for (char c : f) {
            int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : (base == 16 && c >= 'a' && c <= 'f')      ? c - 'a' + 10
                    : (base == 16 && c >= 'A' && c <= 'F')      ? c - 'A' + 10
                                                                : -1;
            if (d < 0 || d >= base) return false;
            v = v * uint64_t(base) + uint64_t(d);
        }
        out = v;
        return true;
    }
    std::string_view rest() const {
        return pos_ < s_.size() ? s_.substr(pos_) : std::string_view();
    }

  private:
    std::string_view s_;
    size_t pos_ = 0;
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == ';')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == ';' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string readable(std::string_view word) {
    // Adjectives may carry a position marker: "(a)", "(p)" or "(ip)".
    size_t paren = word.find('(');
    if (paren != std::string_view::npos && paren > 0 && word.back() == ')')
        word = word.substr(0, paren);
    std::string s(word);
    for (char& c : s)
        if (c == '_') c = ' ';
    return s;
}

bool validPos(char c) { return c == 'n' || c == 'v' || c == 'a' || c == 's' || c == 'r'; }

}  // namespace

std::optional<IndexEntry> parseIndexLine(std::string_view line) {
    Fields f(line);
    IndexEntry e;
    std::string_view lemma, pos, symbol;
    uint64_t synsets = 0, links = 0, senses = 0, tagged = 0;
    if (!f.next(lemma) || !f.next(pos) || pos.size() != 1 || !validPos(pos[0])) return std::nullopt;
    if (!f.number(synsets, 10, 6) || !f.number(links, 10, 6)) return std::nullopt;
    // Counts larger than the line could hold are damage.
    if (synsets > line.size() / 9 || links > line.size() / 2) return std::nullopt;
    for (uint64_t i = 0; i < links; ++i)
        if (!f.next(symbol)) return std::nullopt;
    if (!f.number(senses, 10, 6) || !f.number(tagged, 10, 9)) return std::nullopt;
    e.lemma = std::string(lemma);
    e.pos = pos[0];
    e.taggedCount = int(tagged);
    for (uint64_t i = 0; i < synsets; ++i) {
        uint64_t offset = 0;
        if (!f.number(offset, 10, 10)) return std::nullopt;
        e.offsets.push_back(offset);
    }
    return e;
}

std::optional<Synset> parseSynsetLine(std::string_view line) {
    size_t bar = line.find(" | ");
    std::string_view head = bar == std::string_view::npos ? line : line.substr(0, bar);
    Fields f(head);
    Synset s;
    std::string_view lexFile, type, word;
    uint64_t count = 0;
    if (!f.number(s.offset, 10, 10) || !f.next(lexFile) || !f.next(type) || type.size() != 1 ||
        !validPos(type[0]))
        return std::nullopt;
    s.type = type[0];
    if (!f.number(count, 16, 2) || count == 0) return std::nullopt;
    for (uint64_t i = 0; i < count; ++i) {
        uint64_t lexId = 0;
        if (!f.next(word) || !f.number(lexId, 16, 2)) return std::nullopt;
        s.words.push_back(readable(word));
    }
    if (!f.number(count, 10, 3)) return std::nullopt;
    for (uint64_t i = 0; i < count; ++i) {
        SynsetLink link;
        std::string_view symbol, pos, sourceTarget;
        if (!f.next(symbol) || !f.number(link.offset, 10, 10) || !f.next(pos) || pos.size() != 1 ||
            !validPos(pos[0]) || !f.next(sourceTarget))
            return std::nullopt;
        link.symbol = std::string(symbol);
        link.pos = pos[0];
        s.links.push_back(std::move(link));
    }
    if (bar != std::string_view::npos) splitGloss(line.substr(bar + 3), s.definition, s.example);
    return s;
}

void splitGloss(std::string_view gloss, std::string& definition, std::string& example) {
    size_t quote = gloss.find('"');
    definition = std::string(trim(gloss.substr(0, quote)));
    example.clear();
    if (quote == std::string_view::npos) return;
    size_t close = gloss.find('"', quote + 1);
    if (close == std::string_view::npos) close = gloss.size();
    example = std::string(trim(gloss.substr(quote + 1, close - quote - 1)));
}

}  // namespace pagly::words
