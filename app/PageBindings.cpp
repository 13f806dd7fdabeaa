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
    {kKeyLeft, "Left / Right: previous / next page",
     [](PageLayer& p) { p.onPreviousPage(nullptr); }},
    {kKeyRight, nullptr, [](PageLayer& p) { p.onNextPage(nullptr); }},
    {kKeySpace, "Space: read the page aloud / stop", [](PageLayer& p) { p.playOrPauseByKey(); }},
    {kKeyArrowDown, "Down / Up: next / previous sentence",
     [](PageLayer& p) { p.stepSentence(+1); }},
    {kKeyArrowUp, nullptr, [](PageLayer& p) { p.stepSentence(-1); }},
    {kKeyR, "R: the current sentence again", [](PageLayer& p) { p.replaySentence(); }},
    {kKeyE, "E: echo pauses on / off (time to say each sentence after it)",
     [](PageLayer& p) { p.switchEchoPauses(); }},
    {kKeyShiftE,
     "Shift+E: shadowing on / off (with echo pauses: record yourself after each "
     "sentence and hear it back)",
     [](PageLayer& p) { p.switchShadowing(); }},
    {kKeyM,
     "M: say the sentence after the book (M stops), hear yourself and see both (B: the book, "
     "Y: you, M: again)",
     [](PageLayer& p) { p.practiseSpeaking(); }},
    {kKeyS, "S: reading mode", [](PageLayer& p) { p.openSettingsByKey(); }},
    {kKeyMinus, "- / +: slower / faster speech", [](PageLayer& p) { p.changeSpeed(-1); }},
    {kKeyPlus, nullptr, [](PageLayer& p) { p.changeSpeed(+1); }},
    {kKeyEscape, "Escape: main page", [](PageLayer& p) { p.onMainPage(nullptr); }},
    {kKeyUnknown, "F11: full screen on / off", nullptr},
    {kKeyUnknown, "F1 or ?: this list", nullptr},
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
