#include "app/ReadingState.h"

#include "app/ResumeState.h"

namespace pagly {

int currentPage = 0;
ReadingMode readingMode = ReadOn;
bool autoReadOn = false;
int turnDirection = 0;
gui::UIButton* currentSentenceButton = nullptr;
int pageSentenceCount = 0;
int nextSentence = 0;
bool autoReadPause = false;
engine::CCLabelTTF* captionLabel = nullptr;
gui::UIButton* captionBackground = nullptr;
gui::UIButton* selectedSettingButton = nullptr;
bool echoPauses = false;

int selectedUnit = 0;
engine::CCPoint mainPageListOffset(0, 0);
int unitFirstPage = 2;
int unitLastPage = 11;
int unitPageCount = 10;
engine::CCPoint pageListOffset(0, 0);

void resetReadingState() {
    currentPage = 0;
    readingMode = ReadOn;
    autoReadOn = false;
    turnDirection = 0;
    currentSentenceButton = nullptr;
    pageSentenceCount = 0;
    nextSentence = 0;
    autoReadPause = false;
    captionLabel = nullptr;
    captionBackground = nullptr;
    selectedSettingButton = nullptr;
    echoPauses = false;
    selectedUnit = 0;
    mainPageListOffset = engine::CCPoint(0, 0);
    unitFirstPage = 2;
    unitLastPage = 11;
    unitPageCount = 10;
    pageListOffset = engine::CCPoint(0, 0);
    forgetResumeState();
}

}  // namespace pagly
