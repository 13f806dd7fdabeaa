#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly::engine {
class CCLabelTTF;
}  // namespace pagly::engine

namespace pagly::gui {
class UIButton;
}  // namespace pagly::gui

// The process-wide reading state: the few plain values through which the main page, the
// table of contents, the page reader and the settings overlay hand the current page, the
// reading mode and the sentence being read to each other. Engine thread only. Every
// reference here is non-owning; the page-layer ones are only valid while that layer runs.
namespace pagly {

enum ReadingMode {
    ReadByTouch = 1,  // sentences play only when touched; no play/pause item
    RepeatPage = 2,   // automatic reading starts the page again at its end
    ReadOn = 3,       // automatic reading turns to the next page and goes on
};

extern int currentPage;
extern ReadingMode readingMode;
extern bool autoReadOn;
extern int turnDirection;  // -1 back, +1 forward, 0 none
extern gui::UIButton* currentSentenceButton;
extern int pageSentenceCount;
extern int nextSentence;
extern bool autoReadPause;
extern engine::CCLabelTTF* captionLabel;
extern gui::UIButton* captionBackground;
extern gui::UIButton* selectedSettingButton;
// Automatic reading leaves time to repeat each sentence aloud (the E key); off at start.
extern bool echoPauses;

// Main page and table of contents.
extern int selectedUnit;
extern engine::CCPoint mainPageListOffset;
extern int unitFirstPage;
extern int unitLastPage;
extern int unitPageCount;
extern engine::CCPoint pageListOffset;

// Back to the values of a fresh start (tests).
void resetReadingState();

}  // namespace pagly
