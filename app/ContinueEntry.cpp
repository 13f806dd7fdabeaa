// The main page's "Go on" entry (see ContinueEntry.h).
#include "app/ContinueEntry.h"

#include <algorithm>

#include "app/Navigator.h"
#include "app/ReadingSession.h"
#include "app/ResumeState.h"
#include "app/RoundRect.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;

namespace pagly {

namespace {
// Clear of the centred unit names (the widest course entry ends at x = 460; the first one, the
// only one this high, at 405 even when the list is pushed up).
const float kWidth = 196, kHeight = 72, kMargin = 8;
const float kTitleSize = 26, kPlaceSize = 19, kSmallestPlace = 12;

// A target for the menu item: opening the page is a free function.
class ContinueTarget : public CCObject {
  public:
    void opened(CCObject*) { openContinuePage(); }
};

CCLabelTTF* fitLabel(const std::string& text, float size, float smallest, float width) {
    CCLabelTTF* label = nullptr;
    for (; size >= smallest; size -= 1) {
        label = CCLabelTTF::create(text.c_str(), "Arial", size);
        if (!label || label->getContentSize().width <= width) break;
    }
    return label;
}
}  // namespace

int continuePage() {
    int page = rememberedPage();
    return page ? page : session().book.startPage();
}

void openContinuePage() {
    session().currentPage = continuePage();
    navigator::openPage();
}

std::string continuePlace(int page) {
    const Book& book = session().book;
    std::string pageText = "page " + std::to_string(page);
    for (int i = 0; i < book.unitCount(); ++i) {
        const BookUnit& unit = book.unit(i);
        bool listed = std::find(unit.lines.begin(), unit.lines.end(), page) != unit.lines.end();
        if (!listed && (page < unit.first || page > unit.last)) continue;
        std::string name = unit.wordList ? loadText(kInterfaceTexts, "wordname") : unit.name;
        while (!name.empty() && name.back() == ' ') name.pop_back();  // "Recycle 1 "
        if (name.empty()) name = unit.wordList ? "Word list" : "";
        return name.empty() ? pageText : name + ", " + pageText;
    }
    return pageText;
}

CCMenuItem* addContinueEntry(CCNode* mainPage) {
    if (!mainPage) return nullptr;
    bool first = rememberedPage() == 0;
    CCNode* face = CCNode::create();
    face->setContentSize(CCSize(kWidth, kHeight));
    CCDrawNode* plate = CCDrawNode::create();
    drawRoundRect(plate, CCRect(0, 0, kWidth, kHeight), 18, false, ccColor4B(255, 255, 255, 235));
    // A play sign, as on the pages' read-aloud button.
    CCPoint sign[3] = {CCPoint(18, 20), CCPoint(18, 52), CCPoint(44, 36)};
    plate->drawPolygon(sign, 3, toColor4F(ccColor4B(52, 168, 83, 255)), 0, ccColor4F());
    face->addChild(plate);
    float textWidth = kWidth - 54 - 10;
    if (CCLabelTTF* title = fitLabel(first ? "Start" : "Go on", kTitleSize, 18, textWidth)) {
        title->setColor(ccColor3B(20, 80, 40));
        title->setAnchorPoint(CCPoint(0, 0.5f));
        title->setPosition(CCPoint(54, kHeight * 0.66f));
        face->addChild(title, 1);
    }
    if (CCLabelTTF* place =
            fitLabel(continuePlace(continuePage()), kPlaceSize, kSmallestPlace, textWidth)) {
        place->setColor(ccColor3B(40, 50, 80));
        place->setAnchorPoint(CCPoint(0, 0.5f));
        place->setPosition(CCPoint(54, kHeight * 0.28f));
        face->addChild(place, 1);
    }
    ContinueTarget* target = new ContinueTarget();
    target->autorelease();
    CCMenuItemSprite* entry =
        CCMenuItemSprite::create(face, nullptr, target, memberCallback(&ContinueTarget::opened));
    if (!entry) return nullptr;
    // The menu item does not keep its target alive: the entry's menu holds it as user data.
    entry->setTag(kContinueEntryTag);
    CCPoint top = VisibleArea::top(), right = VisibleArea::right();
    entry->setPosition(CCPoint(right.x - kMargin - kWidth / 2, top.y - kMargin - kHeight / 2));
    CCMenu* menu = CCMenu::create();
    menu->setPosition(CCPoint(0, 0));
    menu->addChild(entry);
    menu->setUserObject(target);
    mainPage->addChild(menu, 1);
    return entry;
}

}  // namespace pagly
