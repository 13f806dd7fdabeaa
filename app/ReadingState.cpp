#include "app/ReadingState.h"

namespace pagly {

int currentPage = 0;
ReadingMode readingMode = ReadOn;
bool autoReadOn = false;
int turnDirection = 0;
cocos2d::extension::UIButton* currentSentenceButton = nullptr;
int pageSentenceCount = 0;
int nextSentence = 0;
bool autoReadPause = false;
cocos2d::CCLabelTTF* captionLabel = nullptr;
cocos2d::extension::UIButton* captionBackground = nullptr;
cocos2d::extension::UIButton* selectedSettingButton = nullptr;

int selectedUnit = 0;
cocos2d::CCPoint mainPageListOffset(0, 0);
int unitFirstPage = 2;
int unitLastPage = 11;
int unitPageCount = 10;
cocos2d::CCPoint pageListOffset(0, 0);

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
    selectedUnit = 0;
    mainPageListOffset = cocos2d::CCPoint(0, 0);
    unitFirstPage = 2;
    unitLastPage = 11;
    unitPageCount = 10;
    pageListOffset = cocos2d::CCPoint(0, 0);
}

}  // namespace pagly
