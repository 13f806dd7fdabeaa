#pragma once

#include <functional>
#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/nodes/CCLayerColor.h"

namespace pagly::audio::speech {
struct SpeechComparison;
struct SpeechProfile;
}  // namespace pagly::audio::speech

namespace pagly {

// The card that shows the learner's sentence beside the book's: the two recordings as
// waveforms, one above the other on one time scale with their lengths, and their melodies
// (pitch, voiced parts only) on the book's time axis after aligning the two. No score. Over the
// page and modal: a click on one of its buttons (the book's sentence, yours, again) chooses it,
// a click anywhere else closes it; the page's keys B, Y and M do the same. The sentence's text
// stands under the title, and the button of the recording that plays is ringed while it plays.
class ComparisonPanel : public engine::CCLayerColor {
  public:
    enum Choice { Close, HearBook, HearYours, RecordAgain };

    static ComparisonPanel* create(const audio::speech::SpeechComparison& comparison,
                                   const audio::speech::SpeechProfile& book,
                                   const audio::speech::SpeechProfile& learner,
                                   std::function<void(Choice)> chosen,
                                   const std::string& sentence = std::string());

    // Marks the button whose recording plays (HearBook or HearYours) until that recording ends;
    // Close marks none.
    void showPlaying(Choice choice);
    Choice playing() const { return m_playing; }
    // The sentence's text as the card shows it ("" when the book has none for it).
    const std::string& sentence() const { return m_sentence; }
    void update(float dt) override;

    // A button's rectangle in the panel's (= the screen's) coordinates.
    engine::CCRect buttonRect(Choice choice) const;

    bool ccTouchBegan(engine::CCTouch* touch, engine::CCEvent* event) override;
    void ccTouchEnded(engine::CCTouch* touch, engine::CCEvent* event) override;

    static const int kTag = 7450;
    static const int kSentenceTag = 7452;  // the sentence's label
    static const int kZOrder = 19000;      // over the page and its notes, under the key list

  private:
    ComparisonPanel() = default;
    void build(const audio::speech::SpeechComparison& comparison,
               const audio::speech::SpeechProfile& book,
               const audio::speech::SpeechProfile& learner);

    std::function<void(Choice)> m_chosen;
    engine::CCRect m_buttons[4];
    std::string m_sentence;
    Choice m_playing = Close;
    engine::CCNode* m_playingMarks[4] = {};  // children: a ring around each play button
};

}  // namespace pagly
