// Reads the media overlays (SMIL) of an EPUB 3 book into the sentences of its documents:
// each <par> (at any depth of <seq>) whose text names an element of the document and whose
// audio names a clip of a recording that decodes. A par that cannot be used is left out,
// with a problem naming the overlay and the reason; the rest of the page keeps its sentences.
#ifndef PAGLY_TOOLS_IMPORT_EPUBOVERLAYS_H
#define PAGLY_TOOLS_IMPORT_EPUBOVERLAYS_H

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/import/EpubXml.h"
#include "tools/import/SourceBook.h"

namespace pagly::import::epub {

class EpubOverlays {
  public:
    // A clip ending at most this far past its recording's end is cut at the end without a
    // word: encoders and rounding move the end of a recording by a few milliseconds.
    static constexpr double kEndSlack = 0.1;

    EpubOverlays(std::string bookFolder, ProblemList& problems);
    ~EpubOverlays();

    // The sentences of the document at docPath (absolute) from the overlay at smilPath, in
    // the overlay's order. ids: the document's elements by id. sharedWith: the other
    // documents that name the same overlay (its pars for them are theirs, not strays).
    std::vector<SourceSentence> sentencesOf(
        const std::string& smilPath, const std::string& docPath,
        const std::unordered_map<std::string, pugi::xml_node>& ids,
        const std::vector<std::string>& sharedWith);

  private:
    struct Par {
        std::string textSrc, audioSrc, clipBegin, clipEnd;
        bool hasBegin = false, hasEnd = false;
    };
    struct Overlay {
        bool ok = false;
        std::vector<Par> pars;
    };
    const Overlay& overlay(const std::string& smilPath);
    // Seconds the recording plays, or negative once it proved missing or undecodable (told
    // once per recording, not once per sentence).
    double soundSeconds(const std::string& audioPath, const std::string& smilName);
    bool clip(const Par& par, const std::string& smilName, const std::string& audioPath,
              SourceSentence& sentence);

    std::string folder_;
    ProblemList& problems_;
    std::map<std::string, std::unique_ptr<Overlay>> overlays_;
    std::map<std::string, double> sounds_;
};

}  // namespace pagly::import::epub

#endif
