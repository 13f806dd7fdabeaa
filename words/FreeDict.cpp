#include "words/FreeDict.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>

namespace pagly::words {
namespace {

const char kPrefix[] = "freedict-eng-";
const char kIndexSuffix[] = ".index";

bool isFile(const std::string& path) {
    LineFile f(path);
    return f.open();
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view s, std::string_view head) {
    return s.size() >= head.size() && s.substr(0, head.size()) == head;
}

}  // namespace

std::string languageName(const std::string& code) {
    static const std::map<std::string, std::string> kNames = {
        {"ara", "Arabic"},     {"bul", "Bulgarian"}, {"ces", "Czech"},     {"cym", "Welsh"},
        {"dan", "Danish"},     {"deu", "German"},    {"ell", "Greek"},     {"fin", "Finnish"},
        {"fra", "French"},     {"gle", "Irish"},     {"hin", "Hindi"},     {"hrv", "Croatian"},
        {"hun", "Hungarian"},  {"ita", "Italian"},   {"jpn", "Japanese"},  {"lat", "Latin"},
        {"lit", "Lithuanian"}, {"nld", "Dutch"},     {"nor", "Norwegian"}, {"pol", "Polish"},
        {"por", "Portuguese"}, {"ron", "Romanian"},  {"rus", "Russian"},   {"spa", "Spanish"},
        {"srp", "Serbian"},    {"swe", "Swedish"},   {"swh", "Swahili"},   {"tur", "Turkish"},
        {"ukr", "Ukrainian"},  {"zho", "Chinese"}};
    auto it = kNames.find(code);
    return it == kNames.end() ? code : it->second;
}

std::optional<uint64_t> decodeDictdNumber(std::string_view digits) {
    static const std::string kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    // Ten digits already pass any real dictionary's size; more would overflow.
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    uint64_t v = 0;
    for (char c : digits) {
        size_t d = kDigits.find(c);
        if (d == std::string::npos) return std::nullopt;
        v = v * 64 + d;
    }
    return v;
}

std::optional<DictdIndexLine> parseDictdIndexLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos || tab1 == 0) return std::nullopt;
    size_t tab2 = line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos) return std::nullopt;
    std::string_view lengthField = line.substr(tab2 + 1);
    lengthField = lengthField.substr(0, lengthField.find('\t'));  // a fourth field may follow
    auto offset = decodeDictdNumber(line.substr(tab1 + 1, tab2 - tab1 - 1));
    auto length = decodeDictdNumber(lengthField);
    if (!offset || !length) return std::nullopt;
    return DictdIndexLine{std::string(line.substr(0, tab1)), *offset, *length};
}

std::vector<std::string> entryLines(std::string_view entry, std::string_view headword) {
    std::vector<std::string> out;
    std::string head = foldCase(headword);
    bool first = true;
    while (!entry.empty()) {
        size_t nl = entry.find('\n');
        std::string_view line = trimmed(entry.substr(0, nl));
        entry = nl == std::string_view::npos ? std::string_view() : entry.substr(nl + 1);
        if (line.empty()) continue;
        // "dog /dɔg/": the headword and its pronunciation open the entry.
        bool isHead = first && startsWith(foldCase(line), head);
        first = false;
        if (isHead) continue;
        if (startsWith(line, "see:") || startsWith(line, "Synonym:") ||
            startsWith(line, "Synonyms:"))
            continue;
        std::string text;
        for (char c : line)
            if (!(c == ' ' && !text.empty() && text.back() == ' ')) text += c;
        out.push_back(std::move(text));
    }
    return out;
}

FreeDict::FreeDict(std::string folder) : folder_(std::move(folder)) {}
FreeDict::~FreeDict() = default;

std::vector<LanguagePair> FreeDict::pairs() const {
    std::vector<LanguagePair> out;
    DIR* dir = opendir(folder_.c_str());
    if (!dir) return out;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        size_t prefix = sizeof(kPrefix) - 1, suffix = sizeof(kIndexSuffix) - 1;
        if (name.size() <= prefix + suffix || name.compare(0, prefix, kPrefix) != 0 ||
            name.compare(name.size() - suffix, suffix, kIndexSuffix) != 0)
            continue;
        std::string code = name.substr(prefix, name.size() - prefix - suffix);
        std::string base = folder_ + "/" + name.substr(0, name.size() - suffix);
        std::string text = base + ".dict.dz";
        if (!isFile(text)) text = base + ".dict";
        if (!isFile(text)) continue;
        out.push_back({code, languageName(code), base + kIndexSuffix, text});
    }
    closedir(dir);
    std::sort(out.begin(), out.end(),
              [](const LanguagePair& a, const LanguagePair& b) { return a.code < b.code; });
    return out;
}

FreeDict::Pair* FreeDict::pairFor(const std::string& code) {
    auto it = open_.find(code);
    if (it != open_.end()) return it->second.index ? &it->second : nullptr;
    Pair& pair = open_[code];
    for (const LanguagePair& p : pairs()) {
        if (p.code != code) continue;
        pair.index = std::make_unique<LineFile>(p.indexPath);
        pair.text = std::make_unique<DictZip>(p.textPath);
        return &pair;
    }
    logLine("no English-" + languageName(code) + " dictionary in " + folder_);
    return nullptr;
}

Translation FreeDict::translate(const std::vector<std::string>& forms, const std::string& code,
                                size_t maxEntries) {
    Translation t;
    Pair* pair = pairFor(code);
    if (!pair) {
        t.status = LookupStatus::Unavailable;
        return t;
    }
    Trouble trouble;
    for (const std::string& form : forms) {
        if (form.empty()) continue;
        for (const std::string& line :
             pair->index->findLines(form, '\t', true, maxEntries, trouble)) {
            auto entry = parseDictdIndexLine(line);
            if (!entry) {
                trouble.note(pair->index->path() + ": a bad line for \"" + form + "\"");
                continue;
            }
            std::string text;
            if (!pair->text->read(entry->offset,
                                  size_t(std::min<uint64_t>(entry->length, SIZE_MAX)), text,
                                  trouble))
                continue;
            for (std::string& l : entryLines(text, entry->headword))
                if (std::find(t.lines.begin(), t.lines.end(), l) == t.lines.end())
                    t.lines.push_back(std::move(l));
            t.headword = entry->headword;
        }
        if (!t.lines.empty()) break;
    }
    t.status = statusOf(!t.lines.empty(), trouble);
    trouble.report();
    return t;
}

Translation translateWord(WordNet& wordnet, FreeDict& freedict, std::string_view word,
                          const std::string& code, size_t maxEntries) {
    std::string cleaned = cleanWord(word), stem = withoutClitic(cleaned);
    // A name is translated as itself or not at all ("James" is not "jam").
    if (wordnet.isName(stem)) return freedict.translate({stem}, code, maxEntries);
    std::vector<std::string> forms = {cleaned, stem};
    std::vector<Lemma> lemmas = wordnet.lemmas(cleaned);
    for (const Lemma& l : lemmas) forms.push_back(l.form);
    Translation t = freedict.translate(forms, code, maxEntries);
    // One- and two-letter words have too many unrelated senses ("I" is also iodine).
    if (t.status != LookupStatus::NotInDictionary || stem.size() < 3) return t;
    // Words of the same sense first, then of the more general sense.
    std::vector<std::string> related;
    auto addRelated = [&](const std::string& w) {
        if (std::find(forms.begin(), forms.end(), w) == forms.end() &&
            std::find(related.begin(), related.end(), w) == related.end())
            related.push_back(w);
    };
    std::vector<Sense> senses;
    for (const Lemma& l : lemmas)
        for (Sense& s : wordnet.senses(l, 2)) senses.push_back(std::move(s));
    for (const Sense& s : senses)
        for (const std::string& w : s.words) addRelated(w);
    for (const Sense& s : senses)
        for (uint64_t offset : s.broader)
            if (auto general = wordnet.synsetAt(s.pos, offset))
                for (const std::string& w : general->words) addRelated(w);
    for (const std::string& w : related) {
        Translation r = freedict.translate({w}, code, maxEntries);
        if (r.status == LookupStatus::Found) {
            r.via = w;
            return r;
        }
    }
    return t;
}

}  // namespace pagly::words
