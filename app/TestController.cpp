// The main page: the book's units over a walking figure, and the first-run marker.
#include "app/TestController.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/ContinueEntry.h"
#include "app/LabelFit.h"
#include "app/ListDrag.h"
#include "app/MainPageLook.h"
#include "app/Navigator.h"
#include "app/ReadingSession.h"
#include "app/ResumeState.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCTouch.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/platform/CCFileUtils.h"

using namespace pagly::audio;
using namespace pagly::engine;

namespace pagly {

const char* const TestController::kFirstRunMarkerLine = "dfdsfsfsdhhgtte5466633";

namespace {
const char* const kMarkerName = "ft.xml";
// Menu entries carry their identity in their z-order.
const int kEntryZOrderBase = 10000;
// Entries stand 100 apart; the list is one entry taller than its entries.
const float kEntrySpacing = 100;

// A book that names itself (a book from elsewhere) has its title above its units.
int titleSlots() { return session().book.title().empty() ? 0 : 1; }
float listHeight() { return (session().book.unitCount() + titleSlots() + 1) * kEntrySpacing; }
}  // namespace

TestController::TestController() {
    CCLayer::init();
    m_listDragStart = CCPoint(0, 0);

    audio::SimpleAudioEngine* audio = audio::SimpleAudioEngine::sharedEngine();
    audio->setBackgroundMusicVolume(1.0f);
    audio->stopBackgroundMusic();

    CCSize size = VisibleArea::size();
    CCPoint center = VisibleArea::center();
    CCPoint top = VisibleArea::top();

    // The course book's green ground and walking boy, or a named book's own cover.
    dressMainPage(this, session().book);

    m_listMenu = CCMenu::create();
    m_hintItem = CCMenuItemImage::create("Images/drag.jpg", "Images/drag.jpg", this,
                                         memberCallback(&TestController::onUnitSelected));
    if (m_hintItem) m_hintItem->setPosition(CCPoint(center.x - 30, center.y));

    const Book& book = session().book;
    std::string wordListName = loadText(kInterfaceTexts, "wordname");
    std::vector<CCNode*> entries;
    if (titleSlots()) {
        // A heading, not an entry: it cannot be tapped or marked, and it scrolls with the list.
        CCLabelTTF* label = CCLabelTTF::create(book.title().c_str(), "Arial", 40);
        fitListLine(label);
        CCMenuItemLabel* heading = CCMenuItemLabel::create(label);
        heading->setDisabledColor(ccColor3B(255, 255, 190));
        heading->setEnabled(false);
        heading->setPosition(CCPoint(center.x, top.y - kEntrySpacing * 0.8f));
        m_listMenu->addChild(heading, kEntryZOrderBase - 1);
    }
    for (int i = 0; i < book.unitCount(); ++i) {
        const BookUnit& unit = book.unit(i);
        CCLabelTTF* label = unit.wordList ? createMenuLabel(wordListName, 60, "Word list")
                                          : CCLabelTTF::create(unit.name.c_str(), "Arial", 60);
        fitListLine(label);
        CCMenuItemLabel* entry =
            CCMenuItemLabel::create(label, this, memberCallback(&TestController::onUnitSelected));
        m_listMenu->addChild(entry, kEntryZOrderBase + i);
        entry->setPosition(CCPoint(center.x, top.y - kEntrySpacing * (i + 1 + titleSlots())));
        entries.push_back(entry);
    }
    m_highlight.setLines(m_listMenu, entries);
    if (m_hintItem) m_listMenu->addChild(m_hintItem, 300000);

    m_listMenu->setContentSize(CCSize(size.width, listHeight()));
    m_listMenu->setPosition(session().mainPageListOffset);
    addChild(m_listMenu, 0);
    setTouchEnabled(true);
    setKeypadEnabled(true);

    if (m_hintItem) m_hintItem->setVisible(false);
    addContinueEntry(this);
    writeFirstRunMarker();
}

std::string TestController::firstRunMarkerPath() {
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string found = files->fullPathForFilename(kMarkerName);
    if (files->isFileExist(found)) return found;
    std::string inData = files->getWritablePath() + kMarkerName;
    if (files->isFileExist(inData)) return inData;
    // Not written yet: beside the book when that folder takes files, else the data folder.
    // Something other than a file in its place (a folder, a pipe that would stall the probe,
    // a dangling link) sends it to the data folder too. An installed book is the package's:
    // written by root it would be left behind when the package is removed.
    if (files->isResourceRootShared()) return inData;
    std::string besideBook = files->getResourceRoot() + kMarkerName;
    struct stat st;
    if (lstat(besideBook.c_str(), &st) == 0) return inData;
    if (FILE* probe = fopen(besideBook.c_str(), "ab")) {
        fclose(probe);
        remove(besideBook.c_str());
        return besideBook;
    }
    return inData;
}

void TestController::writeFirstRunMarker() {
    std::string path = firstRunMarkerPath();
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // Opening a pipe would wait for its other end; a folder cannot be the marker.
        CCLog("the first-run marker %s is not a file; left as it is", path.c_str());
        return;
    }
    if (FILE* existing = fopen(path.c_str(), "rb")) {
        fclose(existing);
        return;
    }
    FILE* marker = fopen(path.c_str(), "wb");
    if (!marker) {
        CCLog("could not write the first-run marker %s", path.c_str());
        return;
    }
    fprintf(marker, "%s\n", kFirstRunMarkerLine);
    fclose(marker);
}

void TestController::onUnitSelected(CCObject* sender) {
    CCNode* item = dynamic_cast<CCNode*>(sender);
    if (!item) return;
    int entry = item->getZOrder() - kEntryZOrderBase;
    // The hint item (z-order 300000) is never visible, so it cannot be tapped; guard anyway.
    if (entry < 0 || entry >= session().book.unitCount()) return;
    session().selectedUnit = entry;
    navigator::showContents();
}

void TestController::ccTouchesBegan(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (touch) m_listDragStart = touch->getLocation();
}

void TestController::ccTouchesMoved(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (!touch) return;
    dragListStep(m_listMenu, touch->getLocation(), dragLimit(), m_listDragStart,
                 session().mainPageListOffset);
}

namespace {
const char* const kMainPageKeys[] = {
    "Up / Down: mark an entry",
    "Enter: open the marked entry; with none marked, Go on (the page read last)",
    "Mouse wheel: scroll the list",
    "F11: Big screen, on / off",
    "F1 or ?: this list",
    nullptr,
};
}  // namespace

void TestController::keyPressed(int keyCode) {
    if (m_keyHelp.handleKey(this, keyCode, kMainPageKeys)) return;
    switch (keyCode) {
        case kKeyArrowUp:
        case kKeyArrowDown:
            m_highlight.move(keyCode == kKeyArrowUp ? -1 : 1, dragLimit(),
                             session().mainPageListOffset);
            return;
        case kKeyEnter:
            if (CCNode* entry = m_highlight.current()) {
                onUnitSelected(entry);
            } else {
                openContinuePage();
            }
            return;
        default:
            break;
    }
    float step = listStepForKey(keyCode);
    if (step != 0) scrollListBy(m_listMenu, step, dragLimit(), session().mainPageListOffset);
}

float TestController::dragLimit() { return listHeight() - VisibleArea::size().height; }

}  // namespace pagly
