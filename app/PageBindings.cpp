// The page reader's key table and swipe rule (see PageBindings.h).
#include "app/PageBindings.h"

#include "app/Book.h"
#include "app/PageLayer.h"
#include "engine/director/CCKeypadDispatcher.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kSwipeDistance = 50;

const PageKey kPageKeys[] = {
    {kKeyLeft, "Left / Right: turn back / turn the page (the blue arrows)",
     [](PageLayer& p) { p.onPreviousPage(nullptr); }},
    {kKeyRight, nullptr, [](PageLayer& p) { p.onNextPage(nullptr); }},
    {kKeySpace, "Space: the book reads to you / stops (the green button)",
     [](PageLayer& p) { p.playOrPauseByKey(); }},
    {kKeyArrowDown, "Down / Up: next / last sentence (or tap a sentence)",
     [](PageLayer& p) { p.stepSentence(+1); }},
    {kKeyArrowUp, nullptr, [](PageLayer& p) { p.stepSentence(-1); }},
    {kKeyR, "R: Hear it again", [](PageLayer& p) { p.replaySentence(); }},
    {kKeyE, "E: Say it after me, on / off (the book waits while you say each sentence)",
     [](PageLayer& p) { p.switchEchoPauses(); }},
    {kKeyShiftE,
     "Shift+E: Speak along, on / off (the book waits, listens to you say each sentence and plays "
     "it back)",
     [](PageLayer& p) { p.switchShadowing(); }},
    {kKeyM,
     "M: Say it like the book: hear the sentence, say it after the beep, then hear and see both "
     "(B: the book, Y: you, M: again)",
     [](PageLayer& p) { p.practiseSpeaking(); }},
    {kKeyS, "S: How should the book read?", [](PageLayer& p) { p.openSettingsByKey(); }},
    {kKeyMinus, "- / +: How fast? Slower / faster (0.5, 0.75, 1, 1.25)",
     [](PageLayer& p) { p.changeSpeed(-1); }},
    {kKeyPlus, nullptr, [](PageLayer& p) { p.changeSpeed(+1); }},
    {kKeyMenu, "Tab: all the buttons on one card (the orange round button)",
     [](PageLayer& p) { p.openLearnerCard(true); }},
    {kKeyEscape, "Escape: Home", [](PageLayer& p) { p.onMainPage(nullptr); }},
    {kKeyUnknown, "F11: Big screen, on / off", nullptr},
    {kKeyUnknown, "F1 or ?: Which key does what? (this list)", nullptr},
};
}  // namespace

bool runPageKey(PageLayer& page, int keyCode) {
    for (const PageKey& key : kPageKeys) {
        if (key.code != keyCode || keyCode == kKeyUnknown || !key.act) continue;
        key.act(page);
        return true;
    }
    return false;
}

const char* const* pageKeyHelpLines() {
    static const char* lines[sizeof kPageKeys / sizeof kPageKeys[0] + 1] = {};
    if (!lines[0]) {
        int n = 0;
        for (const PageKey& key : kPageKeys)
            if (key.help) lines[n++] = key.help;
        lines[n] = nullptr;
    }
    return lines;
}

int swipeDirection(float startX, float x, int page, const Book& book) {
    if (x > startX && x - startX >= kSwipeDistance && page > book.firstPage()) return -1;
    if (startX > x && startX - x >= kSwipeDistance && page < book.lastPage()) return +1;
    return 0;
}

}  // namespace pagly
