#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/nodes/CCLayerColor.h"

namespace pagly {

class PageLayer;

// The learner's card: everything the page's keys do, on buttons a finger can hit, each showing
// what is in force (the speed, "Say it after me" on or off, the reading mode, ...). The round
// button on the page (LearnerMenu) or Tab opens it over the page. It is modal: a tap on a button
// acts, a tap outside the card closes it; with the keys, Up / Down (or Left / Right) mark a
// button, Enter or Space presses it, Escape or Tab closes the card.
class LearnerCard : public engine::CCLayerColor {
  public:
    // The card's buttons, in the order the keys walk them.
    enum Button {
        Speed50,
        Speed75,
        Speed100,
        Speed125,
        SayAfterMe,   // E
        SpeakAlong,   // Shift+E
        SayLikeBook,  // M
        HearAgain,    // R
        ReadingMode,  // S
        BigScreen,    // F11
        Keys,         // F1
        Close,
        kButtonCount
    };

    // Shows the card on `page`; `byKey` marks the first button for the keys.
    static LearnerCard* open(PageLayer* page, bool byKey);
    // The card shown on `page`, or null.
    static LearnerCard* shownOn(engine::CCNode* page);

    // A button's rectangle in screen (design) coordinates.
    engine::CCRect buttonRect(Button button) const { return m_rects[button]; }
    // What a button says it is in force: "On" / "Off" for switches, the mode's name for the
    // reading mode, "" where it has no state. A speed button says "chosen" for the speed in
    // force.
    std::string stateOf(Button button) const;
    // What a button is called on the card ("How fast?" for the speeds).
    static const char* nameOf(Button button);
    // The button the keys have marked, or -1.
    int marked() const { return m_marked; }
    // The card's own rectangle (taps outside it close it).
    engine::CCRect cardRect() const { return m_card; }

    // Does what the button does (as a tap on it).
    void press(Button button);
    // The page's keys while the card is shown: all of them are the card's.
    void handleKey(int keyCode);
    void close();

    bool ccTouchBegan(engine::CCTouch* touch, engine::CCEvent* event) override;
    void ccTouchEnded(engine::CCTouch* touch, engine::CCEvent* event) override;

    static const int kTag = 7460;
    static const int kZOrder = 19500;  // over the page, its notes and its menu

  private:
    LearnerCard() = default;
    // Draws the card again with the states in force.
    void rebuild();

    PageLayer* m_page = nullptr;  // the card's parent
    engine::CCNode* m_content = nullptr;
    int m_marked = -1;
    engine::CCRect m_rects[kButtonCount];
    engine::CCRect m_card;
};

// Full screen through the window, where there is one (F11 does the same).
bool isBigScreen();
void switchBigScreen();

}  // namespace pagly
