#pragma once

#include <string>

namespace pagly::gui {
class UIButton;
}

namespace pagly {

class PageLayer;
class ReadingMachine;
class WordLighter;

// Plays one sentence of a page: presses its button, shows its caption beside it (with the
// watcher that hides it when the recording ends) and starts its recording; remembers the
// recording started last, whose length an echo pause takes.
class SentencePlayer {
  public:
    // How often the caption watcher (PageLayer::onCaptionWatch) looks at the recording.
    static constexpr float kCaptionWatchInterval = 0.3f;

    // `page`: the page layer, on which the caption watcher is scheduled (non-owning; the player
    // is the layer's member). `machine` hears of every sentence started.
    SentencePlayer(PageLayer* page, ReadingMachine* machine) : m_page(page), m_machine(machine) {}

    // A touch on `button` (or a key acting as one): the sentence that is playing is never
    // restarted; any other starts, and automatic reading goes on after it.
    void touched(gui::UIButton* button);
    // Automatic reading's sentence `index` of the current page: its button pressed and its
    // caption shown when it has one (else the caption is left as it was), its recording played.
    void readSentence(int index);
    // How long the recording started last takes to hear at the current speed (0 when unknown).
    double lastHeardSeconds() const;
    // Puts out the lit word (the page is left).
    void stopLighting();

  private:
    void showCaption(gui::UIButton* button, const std::string* caption);
    void startRecording(const std::string& recordingName);
    // The page's word lighter (a child of the page layer, made on first use).
    WordLighter* wordLighter();

    PageLayer* m_page;
    ReadingMachine* m_machine;
    std::string m_lastRecording;
};

}  // namespace pagly
