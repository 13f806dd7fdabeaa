#include "tools/import/EpubOverlays.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "tools/import/BookHref.h"
#include "tools/import/SmilClock.h"
#include "tools/import/SoundLength.h"

namespace pagly::import::epub {

namespace fs = std::filesystem;

namespace {

std::string seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", s);
    return text;
}

std::string parentOf(const std::string& path) { return fs::path(path).parent_path().string(); }

template <typename Par>
Par parOf(const pugi::xml_node& node) {
    Par par;
    pugi::xml_node text = childNamed(node, "text");
    pugi::xml_node audio = childNamed(node, "audio");
    par.textSrc = text.attribute("src").value();
    par.audioSrc = audio.attribute("src").value();
    pugi::xml_attribute begin = audio.attribute("clipBegin");
    pugi::xml_attribute end = audio.attribute("clipEnd");
    par.hasBegin = !begin.empty();
    par.hasEnd = !end.empty();
    par.clipBegin = begin.value();
    par.clipEnd = end.value();
    return par;
}

// Pars in document order, at any depth of seq (and of other time containers). A seq naming
// an element (textref with #id) that holds nothing but pars is kept together: it may be one
// sentence timed word by word. Containers nested deeper than any book nests them are not
// entered (`tooDeep` is set): a hostile overlay cannot run the stack out.
const int kDeepestContainer = 64;

template <typename Par>
void collectPars(const pugi::xml_node& container, std::vector<Par>& pars, bool& tooDeep,
                 int depth = 0) {
    if (depth > kDeepestContainer) {
        tooDeep = true;
        return;
    }
    for (pugi::xml_node node : container.children()) {
        if (node.type() != pugi::node_element) continue;
        if (isNamed(node, "par")) {
            pars.push_back(parOf<Par>(node));
            continue;
        }
        std::string textref = isNamed(node, "seq") ? attributeNamed(node, "textref") : "";
        bool onlyPars = textref.find('#') != std::string::npos;
        for (pugi::xml_node inner : node.children())
            if (inner.type() == pugi::node_element && !isNamed(inner, "par")) onlyPars = false;
        if (!onlyPars) {
            collectPars(node, pars, tooDeep, depth + 1);
            continue;
        }
        Par seq;
        seq.textref = textref;
        for (pugi::xml_node inner : node.children())
            if (inner.type() == pugi::node_element) seq.words.push_back(parOf<Par>(inner));
        if (!seq.words.empty()) pars.push_back(std::move(seq));
    }
}

bool isInside(pugi::xml_node node, const pugi::xml_node& ancestor) {
    for (node = node.parent(); node; node = node.parent())
        if (node == ancestor) return true;
    return false;
}

}  // namespace

EpubOverlays::EpubOverlays(std::string bookFolder, ProblemList& problems)
    : folder_(std::move(bookFolder)), problems_(problems) {}

EpubOverlays::~EpubOverlays() = default;

const EpubOverlays::Overlay& EpubOverlays::overlay(const std::string& smilPath) {
    auto found = overlays_.find(smilPath);
    if (found != overlays_.end()) return *found->second;
    auto made = std::make_unique<Overlay>();
    pugi::xml_document doc;
    std::string why;
    if (!loadXml(smilPath, doc, why)) {
        problems_.add(bookRelative(folder_, smilPath),
                      why + "; its page is read without recordings");
    } else {
        made->ok = true;
        pugi::xml_node body = childNamed(doc.document_element(), "body");
        if (!body) body = doc.document_element();
        bool tooDeep = false;
        collectPars(body, made->pars, tooDeep);
        if (tooDeep)
            problems_.add(bookRelative(folder_, smilPath),
                          "its time containers nest more than " +
                              std::to_string(kDeepestContainer) +
                              " deep; what lies deeper is left out");
    }
    return *overlays_.emplace(smilPath, std::move(made)).first->second;
}

double EpubOverlays::soundSeconds(const std::string& audioPath, const std::string& smilName) {
    auto found = sounds_.find(audioPath);
    if (found != sounds_.end()) return found->second;
    std::string why;
    double length = -1.0;
    std::error_code ec;
    if (!fs::is_regular_file(audioPath, ec)) {
        why = "is missing";
    } else {
        length = decodedSoundSeconds(audioPath, why);
    }
    if (length < 0.0)
        problems_.add(bookRelative(folder_, audioPath),
                      why + " (named by " + smilName + "); its sentences are left out");
    sounds_[audioPath] = length;
    return length;
}

bool EpubOverlays::clip(const Par& par, const std::string& smilName, const std::string& audioPath,
                        SourceSentence& sentence) {
    const std::string where = " in the par for " + par.textSrc;
    double begin = 0.0;
    double end = -1.0;
    if (par.hasBegin && !parseSmilClock(par.clipBegin, begin)) {
        problems_.add(smilName, "clipBegin \"" + par.clipBegin + "\"" + where +
                                    " is not a time; the sentence is left out");
        return false;
    }
    if (par.hasEnd && !parseSmilClock(par.clipEnd, end)) {
        problems_.add(smilName, "clipEnd \"" + par.clipEnd + "\"" + where +
                                    " is not a time; the sentence is left out");
        return false;
    }
    double length = soundSeconds(audioPath, smilName);
    if (length < 0.0) return false;
    const std::string audioName = bookRelative(folder_, audioPath);
    if (begin >= length) {
        problems_.add(smilName, "clipBegin " + seconds(begin) + where + " lies past the end of " +
                                    audioName + " (" + seconds(length) +
                                    "); the sentence is left out");
        return false;
    }
    if (par.hasEnd && end <= begin) {
        problems_.add(smilName, "clipEnd " + seconds(end) + where + " is not after its clipBegin " +
                                    seconds(begin) + "; the sentence is left out");
        return false;
    }
    if (end > length) {
        if (end > length + kEndSlack)
            problems_.add(smilName, "clipEnd " + seconds(end) + where + " lies past the end of " +
                                        audioName + " (" + seconds(length) +
                                        "); the clip is cut at the recording's end");
        end = length;
    }
    sentence.audioFile = audioPath;
    sentence.clipBegin = begin;
    sentence.clipEnd = end;
    return true;
}

std::vector<SourceSentence> EpubOverlays::sentencesOf(
    const std::string& smilPath, const std::string& docPath,
    const std::unordered_map<std::string, pugi::xml_node>& ids,
    const std::vector<std::string>& sharedWith) {
    std::vector<SourceSentence> out;
    const Overlay& smil = overlay(smilPath);
    if (!smil.ok) return out;
    const std::string smilName = bookRelative(folder_, smilPath);
    const std::string docName = bookRelative(folder_, docPath);
    const std::string smilFolder = parentOf(smilPath);
    std::set<std::string> taken;
    auto takePar = [&](const Par& par) {
        if (par.audioSrc.empty()) return;  // text without narration: nothing to hear
        std::string file, id, why;
        splitFragment(par.textSrc, file, id);
        std::string target = resolveHref(folder_, smilFolder, file, why);
        if (target.empty()) {
            problems_.add(smilName, "a par's text " + why + "; the sentence is left out");
            return;
        }
        if (target != docPath) {
            std::error_code ec;
            if (!fs::exists(target, ec))
                problems_.add(smilName, "a par's text names " + bookRelative(folder_, target) +
                                            ", which is missing; the sentence is left out");
            else if (std::find(sharedWith.begin(), sharedWith.end(), target) == sharedWith.end())
                problems_.add(smilName, "a par's text names " + bookRelative(folder_, target) +
                                            ", which does not name this overlay; the sentence "
                                            "is left out");
            return;
        }
        id = percentDecoded(id);
        auto element = ids.find(id);
        if (id.empty()) {
            problems_.add(smilName, "a par names \"" + par.textSrc +
                                        "\" without an element id (#id); the sentence is left out");
            return;
        }
        if (element == ids.end()) {
            problems_.add(smilName, "a par names \"" + par.textSrc + "\", but " + docName +
                                        " has no element with id \"" + id +
                                        "\"; the sentence is left out");
            return;
        }
        if (!taken.insert(id).second) {
            problems_.add(smilName, "a second par names \"" + par.textSrc +
                                        "\" (one button cannot play two clips); the second is "
                                        "left out");
            return;
        }
        std::string audioPath = resolveHref(folder_, smilFolder, par.audioSrc, why);
        if (audioPath.empty()) {
            problems_.add(smilName, "a par's audio " + why + "; the sentence is left out");
            return;
        }
        SourceSentence sentence;
        sentence.elementId = id;
        sentence.text = collapsedText(element->second);
        if (!clip(par, smilName, audioPath, sentence)) return;
        out.push_back(std::move(sentence));
    };
    for (const Par& par : smil.pars) {
        if (par.words.empty()) {
            takePar(par);
            continue;
        }
        SourceSentence sentence;
        if (wordSentence(par, smilFolder, docPath, ids, smilName, sentence)) {
            if (sentence.elementId.empty()) continue;  // told why already
            if (taken.insert(sentence.elementId).second) {
                out.push_back(std::move(sentence));
            } else {
                problems_.add(smilName, "a second seq names \"" + par.textref +
                                            "\" (one button cannot play two clips); the second "
                                            "is left out");
            }
            continue;
        }
        for (const Par& word : par.words) takePar(word);
    }
    return out;
}

bool EpubOverlays::wordSentence(const Par& seq, const std::string& smilFolder,
                                const std::string& docPath,
                                const std::unordered_map<std::string, pugi::xml_node>& ids,
                                const std::string& smilName, SourceSentence& sentence) {
    std::string file, id, why;
    splitFragment(seq.textref, file, id);
    id = percentDecoded(id);
    auto element = ids.find(id);
    if (id.empty() || element == ids.end() ||
        resolveHref(folder_, smilFolder, file, why) != docPath)
        return false;
    std::vector<SourceWord> words;
    double previousEnd = -1.0;
    for (const Par& par : seq.words) {
        std::string wordFile, wordId;
        splitFragment(par.textSrc, wordFile, wordId);
        wordId = percentDecoded(wordId);
        auto word = ids.find(wordId);
        double begin = 0, end = 0;
        // Every word timed, from the same recording, in order, close together, inside the
        // sentence's element: anything else is a list of sentences that happen to share a seq.
        if (par.audioSrc.empty() || par.audioSrc != seq.words.front().audioSrc || !par.hasBegin ||
            !par.hasEnd || !parseSmilClock(par.clipBegin, begin) ||
            !parseSmilClock(par.clipEnd, end) || end <= begin || wordId.empty() ||
            word == ids.end() || !isInside(word->second, element->second) ||
            resolveHref(folder_, smilFolder, wordFile, why) != docPath)
            return false;
        if (previousEnd >= 0 &&
            (begin < previousEnd - 1e-3 || begin > previousEnd + kLongestWordGap))
            return false;
        previousEnd = end;
        words.push_back({wordId, collapsedText(word->second), begin, end});
    }
    if (words.empty()) return false;
    std::string audioPath = resolveHref(folder_, smilFolder, seq.words.front().audioSrc, why);
    if (audioPath.empty()) {
        problems_.add(smilName, "a seq's audio " + why + "; the sentence is left out");
        return true;  // its words would only fail the same way one by one
    }
    Par whole = seq.words.front();
    whole.textSrc = seq.textref;
    whole.clipEnd = seq.words.back().clipEnd;
    sentence.elementId = id;
    sentence.text = collapsedText(element->second);
    if (!clip(whole, smilName, audioPath, sentence)) {
        sentence.elementId.clear();
        return true;
    }
    double length = sentence.clipEnd - sentence.clipBegin;
    for (SourceWord& w : words) {
        w.begin = std::min(w.begin - sentence.clipBegin, length);
        w.end = std::min(w.end - sentence.clipBegin, length);
    }
    sentence.words = std::move(words);
    return true;
}

}  // namespace pagly::import::epub
