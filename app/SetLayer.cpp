// The settings overlay: choosing the reading mode.
#include "app/SetLayer.h"

#include "app/Navigator.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCTouch.h"
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/WidgetHelper.h"
#include "gui/reader/CCSGUIReader.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace pagly {

namespace {
const char* const kSettingsDocument = "3age/pageset.json";
// The six buttons, numbered by their action tag (1..6).
const char* const kButtonNames[] = {"bnmain", "bnpres", "bnaotopage", "bnaoto", "bnok", "bncancel"};
const int kMainTag = 1, kFirstModeTag = 2, kLastModeTag = 4, kOkTag = 5, kCancelTag = 6;
// The card the buttons stand on; a tap outside it cancels.
const char* const kCardName = "card";
const ccColor3B kTitleNormal(25, 24, 25), kTitleChosen(44, 5, 247);

void showChosen(UIButton* button, bool chosen) {
    button->setTitleColor(chosen ? kTitleChosen : kTitleNormal);
    button->setBright(!chosen);
}
}  // namespace

SetLayer::SetLayer() {
    CCLayer::init();
    m_pendingMode = session().readingMode;
    session().selectedSettingButton = nullptr;

    m_uiLayer = UILayer::create();
    m_uiLayer->scheduleUpdate();
    addChild(m_uiLayer);

    WidgetHelper::instance();
    m_documentWidget =
        dynamic_cast<Layout*>(CCSGUIReader::instance()->loadWidgetTree(kSettingsDocument));
    if (m_documentWidget) m_uiLayer->getRootWidget()->addChild(m_documentWidget);

    for (int tag = 1; tag <= 6; ++tag) {
        UIWidget* widget = WidgetHelper::instance()->findWidgetByName(m_uiLayer->getRootWidget(),
                                                                      kButtonNames[tag - 1]);
        if (!widget) {
            CCLog("settings document has no button \"%s\"; that choice is left out",
                  kButtonNames[tag - 1]);
            continue;
        }
        widget->setActionTag(tag);
        m_buttons[tag - 1] = widget;
        widget->addTouchListener(this, memberCallback(&SetLayer::onSettingTouched));
    }
    // The mode in force shows chosen, as a touch on its button marks it.
    if (UIButton* inForce =
            dynamic_cast<UIButton*>(m_buttons[kFirstModeTag - 1 + (m_pendingMode - ReadByTouch)])) {
        showChosen(inForce, true);
        session().selectedSettingButton = inForce;
    }
    m_card = WidgetHelper::instance()->findWidgetByName(m_uiLayer->getRootWidget(), kCardName);
    setTouchEnabled(true);
    setKeypadEnabled(true);
}

SetLayer::~SetLayer() {
    // The overlay's buttons die with it; the chosen one is always one of them.
    if (ReadingSession* s = currentSession()) s->selectedSettingButton = nullptr;
}

void SetLayer::onEnter() {
    CCLayer::onEnter();
    CCLog("SetLayer  onEnter");
}

void SetLayer::onEnterTransitionDidFinish() {
    CCLayer::onEnterTransitionDidFinish();
    CCLog("SetLayer 2: onEnterTransitionDidFinish");
}

void SetLayer::onExit() {
    CCLayer::onExit();
    CCLog("SetLayer 2 onExit");
}

void SetLayer::onExitTransitionDidStart() {
    CCLayer::onExitTransitionDidStart();
    CCLog("SetLayer 2: onExitTransitionDidStart");
}

void SetLayer::onSettingTouched(CCObject* sender, WidgetTouchEvent) {
    UIButton* button = dynamic_cast<UIButton*>(sender);
    // The handler hears every event of a touch; once one of them has left the overlay, the
    // rest of that touch (its move and release) must not switch scenes a second time.
    if (!button || m_leaving) return;
    UIButton*& selected = session().selectedSettingButton;
    if (selected) showChosen(selected, false);
    selected = button;
    showChosen(button, true);
    switch (button->getActionTag()) {
        case 1:
            m_leaving = true;
            navigator::showMainPage();
            break;
        case 2:
            m_pendingMode = ReadByTouch;
            break;
        case 3:
            m_pendingMode = RepeatPage;
            break;
        case 4:
            m_pendingMode = ReadOn;
            break;
        case 5:
            session().readingMode = m_pendingMode;
            returnToPage();
            break;
        case 6:
            returnToPage();
            break;
        default:
            break;
    }
}

namespace {
const char* const kSettingsKeys[] = {
    "Left / Right or Up / Down: choose how the book reads",
    "Enter: OK",
    "Escape: Cancel (or tap outside the card)",
    "Backspace: Main page",
    "F11: Big screen, on / off",
    "F1 or ?: this list",
    nullptr,
};
}  // namespace

bool SetLayer::press(int tag) {
    UIWidget* button = tag >= 1 && tag <= 6 ? m_buttons[tag - 1] : nullptr;
    if (!button) return false;
    onSettingTouched(button, TouchBegan);
    return true;
}

void SetLayer::keyPressed(int keyCode) {
    if (m_leaving || m_keyHelp.handleKey(this, keyCode, kSettingsKeys)) return;
    switch (keyCode) {
        case kKeyLeft:
        case kKeyRight:
        case kKeyArrowUp:
        case kKeyArrowDown: {
            int step = (keyCode == kKeyLeft || keyCode == kKeyArrowUp) ? -1 : 1;
            // From the mode chosen so far; at either end the end stays chosen. A mode whose
            // button the document lacks is stepped over.
            int tag = kFirstModeTag + (m_pendingMode - ReadByTouch) + step;
            while (tag >= kFirstModeTag && tag <= kLastModeTag && !m_buttons[tag - 1]) tag += step;
            if (tag < kFirstModeTag || tag > kLastModeTag)
                tag = kFirstModeTag + (m_pendingMode - ReadByTouch);
            press(tag);
            break;
        }
        case kKeyEnter:
            if (!press(kOkTag)) {
                session().readingMode = m_pendingMode;
                returnToPage();
            }
            break;
        case kKeyEscape:
            if (!press(kCancelTag)) returnToPage();
            break;
        case kKeyBackspace:
            if (!press(kMainTag)) {
                m_leaving = true;
                navigator::showMainPage();
            }
            break;
        default:
            break;
    }
}

void SetLayer::ccTouchesBegan(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    m_outsideTouch = touch && isOutsideCard(touch->getLocation()) ? touch->getID() : -1;
}

void SetLayer::ccTouchesEnded(CCSet* touches, CCEvent*) {
    CCTouch* touch = static_cast<CCTouch*>(touches->anyObject());
    bool cancel = touch && touch->getID() == m_outsideTouch && isOutsideCard(touch->getLocation());
    m_outsideTouch = -1;
    // A tap that began and ended beside the card closes it as Cancel does.
    if (cancel && !m_leaving && !press(kCancelTag)) returnToPage();
}

void SetLayer::ccTouchesCancelled(CCSet*, CCEvent*) { m_outsideTouch = -1; }

bool SetLayer::isOutsideCard(const CCPoint& at) const {
    // Without a card of some size there is no outside to tap.
    if (!m_card || m_card->getSize().width <= 0 || m_card->getSize().height <= 0) return false;
    return !m_card->hitTest(at);
}

void SetLayer::returnToPage() {
    m_leaving = true;
    session().currentSentenceButton = nullptr;
    navigator::returnFromSettings();
}

}  // namespace pagly
