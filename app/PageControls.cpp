// The bar of controls under a page (see PageControls.h).
#include "app/PageControls.h"

#include <string>

#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/TextTable.h"
#include "app/VisibleArea.h"
#include "engine/base/CCDictionary.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "engine/nodes/CCSprite.h"

using namespace pagly::engine;

namespace pagly {

namespace {
// An arrow whose picture cannot be used would have no size, and a mouse user could not turn
// the page with it: it shows its pressed picture instead, or else a drawn arrow in the blue of
// the menu texts, in the outer half of its item as in the pictures (clear of the text between).
void giveArrowASize(CCMenuItemImage* item, const char* pressedImage, const char* arrow,
                    bool outerHalfIsLeft) {
    if (!item || item->getContentSize().width > 0) return;
    if (CCSprite* pressed = CCSprite::create(pressedImage)) {
        item->setNormalImage(pressed);
        return;
    }
    CCLabelTTF* label = CCLabelTTF::create(arrow, "Arial", 72);
    if (!label || label->getContentSize().width <= 0) return;
    label->setColor(ccColor3B(0, 0, 255));
    CCSize size = label->getContentSize();
    CCNode* drawn = CCNode::create();
    drawn->setContentSize(CCSize(size.width * 2, size.height));
    label->setPosition(CCPoint(size.width * (outerHalfIsLeft ? 0.5f : 1.5f), size.height / 2));
    drawn->addChild(label);
    item->setNormalImage(drawn);
}

}  // namespace

PageControls addPageControls(PageLayer* page, int menuZOrder) {
    PageControls c;
    CCDictionary* texts = CCDictionary::createWithContentsOfFile(kInterfaceTexts);
    std::string settingsText = textFrom(texts, "setmenu_set");
    std::string mainPageText = textFrom(texts, "main_page");
    CCPoint origin = VisibleArea::origin();
    CCPoint left = VisibleArea::left(), right = VisibleArea::right();
    CCPoint center = VisibleArea::center();

    c.previous = CCMenuItemImage::create("Images/up1.png", "Images/up2.png", page,
                                         memberCallback(&PageLayer::onPreviousPage));
    c.playPause = CCMenuItemImage::create("Images/play_btn.png", "Images/pause_btn.png", page,
                                          memberCallback(&PageLayer::onPlayPause));
    c.next = CCMenuItemImage::create("Images/next1.png", "Images/next2.png", page,
                                     memberCallback(&PageLayer::onNextPage));
    giveArrowASize(c.previous, "Images/up2.png", "<", true);
    giveArrowASize(c.next, "Images/next2.png", ">", false);
    CCMenuItemFont* mainPage =
        CCMenuItemFont::create(mainPageText.c_str(), page, memberCallback(&PageLayer::onMainPage));
    CCMenuItemFont* settings =
        CCMenuItemFont::create(settingsText.c_str(), page, memberCallback(&PageLayer::onSettings));
    for (CCMenuItemFont* item : {mainPage, settings}) {
        item->setFontSizeObj(45);
        item->setColor(ccColor3B(0, 0, 255));
    }
    // Without a text to draw the item has no size and the way home could not be tapped.
    if (mainPage->getContentSize().width <= 0) {
        CCLog("menu text \"%.40s\" cannot be shown; showing \"Home\"", mainPageText.c_str());
        mainPage->setString("Home");
    }
    c.mainPage = mainPage;
    c.settings = settings;

    CCMenu* menu = CCMenu::create();
    for (CCMenuItem* item : {(CCMenuItem*)c.previous, (CCMenuItem*)c.playPause, (CCMenuItem*)c.next,
                             c.mainPage, c.settings})
        if (item) menu->addChild(item);
    menu->setPosition(CCPoint(0, 0));
    CCSize play = c.playPause ? c.playPause->getContentSize() : CCSize(0, 0);
    settings->setPosition(CCPoint(right.x - 60, origin.y + 30));
    mainPage->setPosition(CCPoint(left.x + 60, origin.y + 30));
    if (c.previous)
        c.previous->setPosition(CCPoint(center.x - play.width / 2, origin.y + play.height / 2 + 6));
    if (c.playPause) c.playPause->setPosition(CCPoint(right.x - 60, origin.y + 40));
    if (c.next)
        c.next->setPosition(CCPoint(center.x + play.width / 2, origin.y + play.height / 2 + 6));
    page->addChild(menu, menuZOrder);

    // The settings overlay stays out of reach; ReadByTouch has nothing to play or pause.
    settings->setVisible(false);
    if (session().readingMode == ReadByTouch && c.playPause) c.playPause->setVisible(false);
    return c;
}

}  // namespace pagly
