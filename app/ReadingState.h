#pragma once

#include "engine/base/CCGeometry.h"

namespace cocos2d {
class CCLabelTTF;
namespace extension {
class UIButton;
}
}  // namespace cocos2d

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
extern cocos2d::extension::UIButton* currentSentenceButton;
extern int pageSentenceCount;
extern int nextSentence;
extern bool autoReadPause;
extern cocos2d::CCLabelTTF* captionLabel;
extern cocos2d::extension::UIButton* captionBackground;
extern cocos2d::extension::UIButton* selectedSettingButton;

// Main page and table of contents.
extern int selectedUnit;
extern cocos2d::CCPoint mainPageListOffset;
extern int unitFirstPage;
extern int unitLastPage;
extern int unitPageCount;
extern cocos2d::CCPoint pageListOffset;

// Back to the values of a fresh start (tests).
void resetReadingState();

}  // namespace pagly
