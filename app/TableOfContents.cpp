// The table of contents: the chosen unit's pages as lines that open the page reader.
#include "app/TableOfContents.h"

#include <cstdio>
#include <string>

#include "app/LabelFit.h"
#include "app/ListDrag.h"
#include "app/Navigator.h"
#include "app/PageFacts.h"
#include "app/ReadingSession.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCActions.h"
#include "engine/base/CCDictionary.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"

using namespace pagly::engine;

namespace pagly {

namespace {
// Lines carry their page in their z-order, counted from the unit's first page.
const int kEntryZOrderBase = 10000;
const float kLineSpacing = 100;
}  // namespace

void TestScene::onEnter() {
    CCNode::onEnter();
    std::string text = loadText(kInterfaceTexts, "main_page");
    CCLabelTTF* label = createMenuLabel(text, 40, "Home");
    CCMenuItemLabel* item =
        CCMenuItemLabel::create(label, this, memberCallback(&TestScene::openMainPage));
    CCMenu* menu = CCMenu::create(item, nullptr);
    menu->setPosition(CCPoint(0, 0));
    // Drawn over the list, it takes a tap before the lines that pass under it.
    menu->setTouchPriority(kMenuHandlerPriority - 1);
    item->setPosition(CCPoint(VisibleArea::right().x - 80, VisibleArea::origin().y + 30));
    // On a plate of the ground's colour: a long line passing under it does not blur into it.
    CCSize size = item->getContentSize();
    CCLayerColor* plate =
        CCLayerColor::create(ccColor4B(0, 0, 0, 255), size.width + 24, size.height + 8);
    plate->setPosition(CCPoint(item->getPositionX() - size.width / 2 - 12,
                               item->getPositionY() - size.height / 2 - 4));
    addChild(plate, 1);
    addChild(menu, 1);
}

void TestScene::openMainPage(CCObject*) { navigator::showMainPage(); }

void MenuTestScene::show() {
    MenuLayerMainMenu* layer = new MenuLayerMainMenu();
    layer->autorelease();
    addChild(layer, 0);
    CCDirector::sharedDirector()->replaceScene(this);
}

TestScene* createMenuTestScene() {
    CCDirector::sharedDirector()->purgeCachedData();
    MenuTestScene* scene = new MenuTestScene();
    scene->init();
    return scene;
}

MenuLayerMainMenu::MenuLayerMainMenu() {
    CCLayer::init();
    m_listDragStart = CCPoint(0, 0);

    ReadingSession& s = session();
    const BookUnit& unit = s.book.unit(s.selectedUnit);
    s.unitFirstPage = unit.first;
    s.unitLastPage = unit.last;
    s.unitPageCount = unit.last - unit.first + 1;

    m_listMenu = CCMenu::create();

    CCDictionary* texts = CCDictionary::createWithContentsOfFile(kInterfaceTexts);
    std::string front = textFrom(texts, "page_front");
    std::string after = textFrom(texts, "page_after");
    std::string wordName = textFrom(texts, "wordname");

    CCPoint center = VisibleArea::center();
    CCPoint top = VisibleArea::top();
    char text[512];
    std::vector<CCNode*> lineNodes;
    std::vector<CCLabelTTF*> labels;
    for (size_t k = 0; k < unit.lines.size(); ++k) {
        int page = unit.lines[k];
        if (unit.wordList) {
            snprintf(text, sizeof(text), "%s %d ", wordName.c_str(), (int)k + 1);
        } else {
            snprintf(text, sizeof(text), "%s %d %s", front.c_str(), page, after.c_str());
        }
        // The page's own title beside its number, where the book gives one.
        std::string shown = text, title = pageTitleOf(unit, k);
        if (!title.empty()) shown += (shown.back() == ' ' ? "" : " ") + title;
        labels.push_back(CCLabelTTF::create(shown.c_str(), "Arial", 60));
    }
    fitListLines(labels);
    for (size_t k = 0; k < labels.size(); ++k) {
        CCMenuItemLabel* line = CCMenuItemLabel::create(
            labels[k], this, memberCallback(&MenuLayerMainMenu::onPageSelected));
        m_listMenu->addChild(line, unit.lines[k] - s.unitFirstPage + kEntryZOrderBase);
        line->setPosition(CCPoint(center.x, top.y - kLineSpacing * (k + 1)));
        lineNodes.push_back(line);
    }
    m_highlight.setLines(m_listMenu, lineNodes);
    m_listMenu->setContentSize(
        CCSize(VisibleArea::size().width, (s.unitPageCount + 1) * kLineSpacing));

    // Fly-in: odd lines from the left, even ones from the right, settling elastically.
    int off = (int)(CCDirector::sharedDirector()->getWinSize().width * 0.5f + 50);
    int j = 0;
    for (CCObject* o : *m_listMenu->getChildren()) {
        CCNode* child = static_cast<CCNode*>(o);
        float d = (j % 2 == 0) ? -off : off;
        child->setPosition(CCPoint(child->getPositionX() + d, child->getPositionY()));
        child->runAction(CCEaseElasticOut::create(CCMoveBy::create(2.0f, CCPoint(-d, 0)), 0.35f));
        ++j;
    }

    setTouchEnabled(true);
    setKeypadEnabled(true);
    m_listMenu->setPosition(s.pageListOffset);
    addChild(m_listMenu, 0);
}

float MenuLayerMainMenu::dragLimit() {
    // One line's height more than the lines, as the list's content is one line taller.
    const ReadingSession& s = session();
    size_t lines = s.book.unit(s.selectedUnit).lines.size();
    return (lines + 1) * kLineSpacing - VisibleArea::size().height;
}

void MenuLayerMainMenu::onPageSelected(CCObject* sender) {
    CCNode* line = dynamic_cast<CCNode*>(sender);
    if (!line) return;
    session().currentPage = line->getZOrder() - kEntryZOrderBase + session().unitFirstPage;
    navigator::openPage();
}

namespace {
const char* const kContentsKeys[] = {
    "Up / Down: mark a line",
    "Enter: open the marked page",
    "Mouse wheel: scroll the list",
    "Escape: Home (back to the main page)",
    "F11: Big screen, on / off",
    "F1 or ?: this list",
    nullptr,
};
}  // namespace

void MenuLayerMainMenu::keyPressed(int keyCode) {
    if (m_keyHelp.handleKey(this, keyCode, kContentsKeys)) return;
    switch (keyCode) {
        case kKeyEscape:
            navigator::showMainPage();
            return;
        case kKeyArrowUp:
        case kKeyArrowDown:
            m_highlight.move(keyCode == kKeyArrowUp ? -1 : 1, dragLimit(),
                             session().pageListOffset);
            return;
        case kKeyEnter:
            if (CCNode* line = m_highlight.current()) onPageSelected(line);
            return;
        default:
            break;
    }
    float step = listStepForKey(keyCode);
    if (step != 0) scrollListBy(m_listMenu, step, dragLimit(), session().pageListOffset);
}

void MenuLayerMainMenu::ccTouchesBegan(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (touch) m_listDragStart = touch->getLocation();
}

void MenuLayerMainMenu::ccTouchesMoved(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    if (!touch) return;
    dragListStep(m_listMenu, touch->getLocation(), dragLimit(), m_listDragStart,
                 session().pageListOffset);
}

}  // namespace pagly
