// Reads the media overlays (SMIL) of an EPUB 3 book into the sentences of its documents:
// each <par> (at any depth of <seq>) whose text names an element of the document and whose
// audio names a clip of a recording that decodes. A par that cannot be used is left out,
// with a problem naming the overlay and the reason; the rest of the page keeps its sentences.
// A word-level seq (epub:textref naming the sentence, one par per word of it, cut in order
// from one recording) becomes one sentence with its words timed; a seq that only looks like
// one (words from several recordings, out of order, far apart) gives a sentence per par.
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
    // Two words of one sentence further apart than this are not one spoken sentence.
    static constexpr double kLongestWordGap = 2.0;

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
        std::string textref;     // a seq's epub:textref (then `words` holds its pars)
        std::vector<Par> words;  // not empty: a seq that may be one sentence timed by word
    };
    struct Overlay {
        bool ok = false;
        std::vector<Par> pars;
    };
    const Overlay& overlay(const std::string& smilPath);
    // Seconds the recording plays, or negative once it proved missing or undecodable (told
    // once per recording, not once per sentence).
    double soundSeconds(const std::string& audioPath, const std::string& smilName);
    // The sentence of a word-level seq; false when the seq is not one (its pars then count
    // one by one). True with an empty elementId: it is one, but its clip is unusable (told).
    bool wordSentence(const Par& seq, const std::string& smilFolder, const std::string& docPath,
                      const std::unordered_map<std::string, pugi::xml_node>& ids,
                      const std::string& smilName, SourceSentence& sentence);
    bool clip(const Par& par, const std::string& smilName, const std::string& audioPath,
              SourceSentence& sentence);

    std::string folder_;
    ProblemList& problems_;
    std::map<std::string, std::unique_ptr<Overlay>> overlays_;
    std::map<std::string, double> sounds_;
};

}  // namespace pagly::import::epub

#endif
