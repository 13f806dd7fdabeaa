#include "words/WordNet.h"

#include <algorithm>
#include <cctype>
#include <sys/stat.h>

namespace pagly::words {
namespace {

size_t indexOf(PartOfSpeech pos) { return size_t(pos); }

bool isFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// WordNet writes multi-word lemmas with underscores (and keeps hyphens: "well-being").
std::string indexKey(const std::string& folded) {
    std::string key = folded;
    std::replace(key.begin(), key.end(), ' ', '_');
    return key;
}

}  // namespace

WordNet::WordNet(std::string folder) : folder_(std::move(folder)) {
    for (PartOfSpeech pos : kPartsOfSpeech) {
        std::string name = partFileName(pos);
        Part& part = parts_[indexOf(pos)];
        part.index = std::make_unique<LineFile>(folder_ + "/index." + name);
        part.data = std::make_unique<LineFile>(folder_ + "/data." + name);
        part.exceptions = std::make_unique<LineFile>(folder_ + "/" + name + ".exc");
    }
}

bool WordNet::ready() {
    if (ready_ >= 0) return ready_ == 1;
    std::string missing;
    for (const Part& part : parts_)
        for (const LineFile* file : {part.index.get(), part.data.get()})
            if (!isFile(file->path())) missing += (missing.empty() ? "" : ", ") + file->path();
    ready_ = missing.empty() ? 1 : 0;
    if (!ready_) logLine("WordNet is not installed (missing " + missing + ")");
    return ready_ == 1;
}

std::optional<IndexEntry> WordNet::indexEntry(PartOfSpeech pos, const std::string& lemma,
                                              Trouble& trouble) {
    LineFile& index = *parts_[indexOf(pos)].index;
    for (const std::string& line : index.findLines(lemma, ' ', false, 1, trouble)) {
        auto entry = parseIndexLine(line);
        if (!entry) {
            trouble.note(index.path() + ": a bad line for \"" + lemma + "\"");
            return std::nullopt;
        }
        return entry;
    }
    return std::nullopt;
}

std::vector<Lemma> WordNet::lemmasOf(const std::string& word, Trouble& trouble) {
    std::vector<Lemma> found;
    std::string key = indexKey(foldCase(word));
    if (key.empty()) return found;
    auto add = [&](const std::string& form, PartOfSpeech pos) {
        for (const Lemma& l : found)
            if (l.form == form && l.pos == pos) return;
        if (auto entry = indexEntry(pos, form, trouble))
            found.push_back({form, pos, entry->taggedCount});
    };
    for (PartOfSpeech pos : kPartsOfSpeech) {
        // The exception list first ("went go"), then the word itself, then the rules.
        Part& part = parts_[indexOf(pos)];
        Trouble quiet;  // an exception list is optional
        for (const std::string& line : part.exceptions->findLines(key, ' ', false, 4, quiet)) {
            size_t at = line.find(' ');
            while (at != std::string::npos) {
                size_t end = line.find(' ', at + 1);
                std::string base =
                    line.substr(at + 1, end == std::string::npos ? end : end - at - 1);
                if (!base.empty() && base.size() < 200) add(base, pos);
                at = end;
            }
        }
        add(key, pos);
        for (const std::string& base : detachSuffixes(key, pos)) add(base, pos);
    }
    // The most used form first; equal counts keep the part-of-speech order.
    std::stable_sort(found.begin(), found.end(),
                     [](const Lemma& a, const Lemma& b) { return a.taggedCount > b.taggedCount; });
    // A name is its own dictionary form: "James" is not "jam", "Paris" stays.
    if (std::isupper(static_cast<unsigned char>(word[0]))) {
        auto name = std::find_if(found.begin(), found.end(), [&](const Lemma& l) {
            return l.pos == PartOfSpeech::Noun && l.form == key && isProperName(word, trouble);
        });
        if (name != found.end()) std::rotate(found.begin(), name, name + 1);
    }
    for (Lemma& l : found) std::replace(l.form.begin(), l.form.end(), '_', ' ');
    return found;
}

bool WordNet::isProperName(const std::string& word, Trouble& trouble) {
    auto entry = indexEntry(PartOfSpeech::Noun, indexKey(foldCase(word)), trouble);
    if (!entry || entry->offsets.empty()) return false;
    std::string line;
    if (!parts_[0].data->lineAt(entry->offsets[0], line, trouble)) return false;
    auto synset = parseSynsetLine(line);
    if (!synset) return false;
    // WordNet writes names with their capitals in the synset ("James", "Paris").
    return std::find(synset->words.begin(), synset->words.end(), word) != synset->words.end();
}

bool WordNet::isName(std::string_view word) {
    std::string cleaned = cleanWord(word);
    if (cleaned.empty() || !std::isupper(static_cast<unsigned char>(cleaned[0])) || !ready())
        return false;
    Trouble trouble;
    bool name = isProperName(cleaned, trouble);
    trouble.report();
    return name;
}

std::vector<Lemma> WordNet::lemmas(std::string_view word) {
    if (!ready()) return {};
    Trouble trouble;
    std::string cleaned = cleanWord(word);
    // A word with an apostrophe of its own ("o'clock") before taking a contraction off.
    std::vector<Lemma> found = lemmasOf(cleaned, trouble);
    if (found.empty()) {
        std::string stem = withoutClitic(cleaned);
        if (stem != cleaned) found = lemmasOf(stem, trouble);
    }
    trouble.report();
    return found;
}

std::string WordNet::formAsWritten(const std::string& word, const std::vector<Lemma>& found,
                                   Trouble& trouble) {
    if (found.empty()) return word;  // a name WordNet lacks stays as written
    // A name keeps its capitals ("Paris"); a word that starts a sentence does not ("Hello").
    if (foldCase(found[0].form) == foldCase(word) &&
        std::isupper(static_cast<unsigned char>(word[0])) && isProperName(word, trouble))
        return word;
    return found[0].form;
}

std::string WordNet::dictionaryForm(std::string_view word) {
    std::string cleaned = cleanWord(word);
    std::vector<Lemma> found = lemmas(cleaned);
    std::string base = withoutClitic(cleaned);
    if (!found.empty() && foldCase(found[0].form) == foldCase(cleaned)) base = cleaned;
    Trouble trouble;
    std::string form = formAsWritten(base, found, trouble);
    trouble.report();
    return form;
}

std::optional<Synset> WordNet::synsetAt(PartOfSpeech pos, uint64_t offset) {
    if (!ready()) return std::nullopt;
    Trouble trouble;
    LineFile& data = *parts_[indexOf(pos)].data;
    std::string line;
    std::optional<Synset> s;
    if (data.lineAt(offset, line, trouble)) {
        s = parseSynsetLine(line);
        if (!s || s->offset != offset) {
            trouble.note(data.path() + ": no record at offset " + std::to_string(offset));
            s.reset();
        }
    }
    trouble.report();
    return s;
}

std::vector<Sense> WordNet::sensesOf(const IndexEntry& entry, PartOfSpeech pos, size_t limit,
                                     Trouble& trouble) {
    std::vector<Sense> out;
    LineFile& data = *parts_[indexOf(pos)].data;
    std::string line;
    for (uint64_t offset : entry.offsets) {
        if (out.size() >= limit) break;
        if (!data.lineAt(offset, line, trouble)) continue;
        auto synset = parseSynsetLine(line);
        // The index's offset must land on the start of that very record.
        if (!synset || synset->offset != offset) {
            trouble.note(data.path() + ": no record at offset " + std::to_string(offset));
            continue;
        }
        Sense sense{pos, synset->definition, synset->example, synset->words, {}};
        for (const SynsetLink& link : synset->links)
            if (link.symbol == "@" && link.pos == partLetter(pos))
                sense.broader.push_back(link.offset);
        out.push_back(std::move(sense));
    }
    return out;
}

std::vector<Sense> WordNet::senses(const Lemma& lemma, size_t limit) {
    if (!ready()) return {};
    Trouble trouble;
    std::vector<Sense> out;
    if (auto entry = indexEntry(lemma.pos, indexKey(lemma.form), trouble))
        out = sensesOf(*entry, lemma.pos, limit, trouble);
    trouble.report();
    return out;
}

Meaning WordNet::meaning(std::string_view word, size_t sensesPerPart) {
    Meaning m;
    std::string cleaned = cleanWord(word);
    m.word = withoutClitic(cleaned);
    m.lemma = m.word;
    if (!ready()) {
        m.status = LookupStatus::Unavailable;
        return m;
    }
    Trouble trouble;
    std::vector<Lemma> found = lemmasOf(cleaned, trouble);
    if (found.empty() && m.word != cleaned) found = lemmasOf(m.word, trouble);
    if (!found.empty() && m.word != cleaned && foldCase(found[0].form) == foldCase(cleaned))
        m.word = cleaned;  // a word with its own apostrophe ("o'clock")
    m.lemma = formAsWritten(m.word, found, trouble);
    for (const Lemma& lemma : found) {
        if (auto entry = indexEntry(lemma.pos, indexKey(lemma.form), trouble)) {
            auto senses = sensesOf(*entry, lemma.pos, sensesPerPart, trouble);
            m.senses.insert(m.senses.end(), senses.begin(), senses.end());
        }
    }
    m.status = statusOf(!m.senses.empty(), trouble);
    trouble.report();
    return m;
}

}  // namespace pagly::words
