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
        // Pars in document order, at any depth of seq (and of other time containers).
        struct Walker : pugi::xml_tree_walker {
            std::vector<Par>* pars;
            bool for_each(pugi::xml_node& node) override {
                if (!isNamed(node, "par")) return true;
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
                pars->push_back(par);
                return true;
            }
        } walker;
        walker.pars = &made->pars;
        body.traverse(walker);
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
    for (const Par& par : smil.pars) {
        if (par.audioSrc.empty()) continue;  // text without narration: nothing to hear
        std::string file, id, why;
        splitFragment(par.textSrc, file, id);
        std::string target = resolveHref(folder_, smilFolder, file, why);
        if (target.empty()) {
            problems_.add(smilName, "a par's text " + why + "; the sentence is left out");
            continue;
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
            continue;
        }
        id = percentDecoded(id);
        auto element = ids.find(id);
        if (id.empty()) {
            problems_.add(smilName, "a par names \"" + par.textSrc +
                                        "\" without an element id (#id); the sentence is left out");
            continue;
        }
        if (element == ids.end()) {
            problems_.add(smilName, "a par names \"" + par.textSrc + "\", but " + docName +
                                        " has no element with id \"" + id +
                                        "\"; the sentence is left out");
            continue;
        }
        if (!taken.insert(id).second) {
            problems_.add(smilName, "a second par names \"" + par.textSrc +
                                        "\" (one button cannot play two clips); the second is "
                                        "left out");
            continue;
        }
        std::string audioPath = resolveHref(folder_, smilFolder, par.audioSrc, why);
        if (audioPath.empty()) {
            problems_.add(smilName, "a par's audio " + why + "; the sentence is left out");
            continue;
        }
        SourceSentence sentence;
        sentence.elementId = id;
        sentence.text = collapsedText(element->second);
        if (!clip(par, smilName, audioPath, sentence)) continue;
        out.push_back(std::move(sentence));
    }
    return out;
}

}  // namespace pagly::import::epub
