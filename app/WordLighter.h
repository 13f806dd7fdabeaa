#pragma once

#include <string>

#include "app/WordTimings.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {
class CCLabelTTF;
class CCLayerColor;
}  // namespace pagly::engine

namespace pagly::gui {
class UIButton;
}

namespace pagly {

// Lights the word being heard on the label of the sentence button that plays: a band of
// colour behind the word, moved from word to word as the recording's word timings say. A
// child of the page layer (so it stops with the page); SentencePlayer starts it with each
// recording. Time is the sound's own: the time the device has played of it (heard time),
// times the speed the recording plays at, is the time in the recording. Without a usable timing
// file the sentence plays as ever, with nothing lit.
//
// A button without a label (a converted book's: its words are in the page picture) is lit
// instead by a translucent band over the word's rectangle, which its timing file gives.
class WordLighter : public engine::CCNode {
  public:
    // The page layer finds it by this tag.
    static constexpr int kTag = 0x5A1E;
    // Behind dark text, and unlike the buttons' cream, white and pressed yellow.
    static constexpr unsigned char kBandRed = 130, kBandGreen = 196, kBandBlue = 255;
    // How far the band reaches past the word's ink on each side (label pixels).
    static constexpr float kBandMargin = 3;
    // Over a picture's word (and the sentence's yellow light): a translucent orange, which
    // shows against the yellow and darkens the ink less than a light colour would wash it out.
    static constexpr unsigned char kOverWordRed = 255, kOverWordGreen = 140, kOverWordBlue = 0;
    static constexpr unsigned char kOverWordOpacity = 80;

    static WordLighter* create();
    ~WordLighter() override;

    // `button`'s sentence has just started playing `recordingPath` (a book-relative path) at
    // `speed`: lights its words in step when the recording has timings for them.
    void start(gui::UIButton* button, const std::string& recordingPath, float speed);
    // Puts the light out and forgets the sentence.
    void stop();

    void update(float dt) override;

    // The lit word (index among the label's words), or -1.
    int litWord() const { return m_lit; }
    // The band behind the lit word (null when nothing was lit yet).
    engine::CCLayerColor* band() const { return m_band.get(); }
    const WordTimings& timings() const { return m_timings; }

  private:
    bool loadTimings(const std::string& recordingPath, const std::string& labelText);
    void light(int word);
    bool placeOnLabel(int word);
    bool placeOnPicture(int word);
    // Logs a timing file's problem once a run: a learner replays a sentence many times.
    void complain(const std::string& timingPath, const std::string& problem);

    std::string m_timingPath;  // the timing file in use, for log lines
    engine::RefPtr<gui::UIButton> m_button;
    engine::RefPtr<engine::CCLabelTTF> m_label;
    engine::RefPtr<engine::CCLayerColor> m_band;
    WordTimings m_timings;
    float m_speed = 1.0f;
    int m_lit = -1;
    bool m_running = false;
    bool m_overPicture = false;  // lighting word rectangles on a button without a label
};

}  // namespace pagly
