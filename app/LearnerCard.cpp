// The learner's card (see LearnerCard.h).
#include "app/LearnerCard.h"

#include <algorithm>

#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/RoundRect.h"
#include "app/SpeechSpeed.h"
#include "app/VisibleArea.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/platform/CCEGLView.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const ccColor4B kChosenFill(66, 133, 244, 255);
const ccColor4B kOnFill(52, 168, 83, 255);
const ccColor4B kOffFill(205, 208, 218, 255);
const ccColor4B kMarkRing(251, 140, 0, 255);
const ccColor3B kWhite(255, 255, 255);
const ccColor3B kText(40, 50, 80);
const ccColor3B kModeText(30, 90, 200);

const float kCardWidth = 580, kBandHeight = 84, kPad = 24;
const float kRowHeight = 60, kRowGap = 12;  // taller than a fingertip (44)
const float kLabelSize = 26, kStateSize = 22, kSmallestLabel = 17;

const char* modeName(ReadingMode mode) {
    switch (mode) {
        case ReadByTouch:
            return "Read by touch";
        case RepeatPage:
            return "Repeat this page";
        case ReadOn:
            return "Read on";
    }
    return "";
}

// The speed a speed button chooses, or 0 for any other button.
float speedOf(LearnerCard::Button button) {
    int count = 0;
    const float* speeds = offeredSpeechSpeeds(&count);
    int i = button - LearnerCard::Speed50;
    return i >= 0 && i < count && button <= LearnerCard::Speed125 ? speeds[i] : 0;
}

float widthOf(CCNode* node) { return node ? node->getContentSize().width : 0; }

struct Row {
    LearnerCard::Button button;
    const char* text;
};
const Row kRows[] = {
    {LearnerCard::SayAfterMe, "Say it after me"},
    {LearnerCard::SpeakAlong, "Speak along"},
    {LearnerCard::SayLikeBook, "Say it like the book"},
    {LearnerCard::HearAgain, "Hear it again"},
    {LearnerCard::ReadingMode, "How should the book read?"},
    {LearnerCard::BigScreen, "Big screen"},
    {LearnerCard::Keys, "Which key does what?"},
};
}  // namespace

bool isBigScreen() {
    CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView();
    return view && view->isFullScreen();
}

void switchBigScreen() {
    if (CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView()) view->toggleFullScreen();
}

LearnerCard* LearnerCard::open(PageLayer* page, bool byKey) {
    if (!page) return nullptr;
    if (LearnerCard* shown = shownOn(page)) return shown;
    LearnerCard* card = new LearnerCard();
    if (!card->initWithColor(kCardVeil)) {
        card->release();
        return nullptr;
    }
    card->autorelease();
    card->m_page = page;
    card->m_marked = byKey ? 0 : -1;
    card->setTag(kTag);
    card->rebuild();
    // Every touch is the card's while it is shown; the key list (opened from it) goes above.
    card->setTouchMode(kTouchesOneByOne);
    card->setTouchPriority(kModalHandlerPriority + 2);
    card->setTouchEnabled(true);
    page->addChild(card, kZOrder);
    return card;
}

const char* LearnerCard::nameOf(Button button) {
    if (button <= Speed125) return "How fast?";
    if (button == Close) return "Close";
    for (const Row& row : kRows)
        if (row.button == button) return row.text;
    return "";
}

LearnerCard* LearnerCard::shownOn(CCNode* page) {
    return page ? dynamic_cast<LearnerCard*>(page->getChildByTag(kTag)) : nullptr;
}

std::string LearnerCard::stateOf(Button button) const {
    const ReadingSession& s = session();
    switch (button) {
        case Speed50:
        case Speed75:
        case Speed100:
        case Speed125:
            return speedOf(button) == currentSpeechSpeed() ? "chosen" : "";
        case SayAfterMe:
            return s.echoPauses ? "On" : "Off";
        case SpeakAlong:
            return s.shadowing ? "On" : "Off";
        case ReadingMode:
            return modeName(s.readingMode);
        case BigScreen:
            return isBigScreen() ? "On" : "Off";
        default:
            return "";
    }
}

void LearnerCard::rebuild() {
    if (m_content) m_content->removeFromParentAndCleanup(true);
    m_content = CCNode::create();
    addChild(m_content, 1);
    CCDrawNode* draw = CCDrawNode::create();
    m_content->addChild(draw, 1);

    const float rows = sizeof kRows / sizeof kRows[0];
    const float speedBlock = 38 + kRowHeight + kRowGap;
    float height = kBandHeight + kPad + speedBlock + (rows + 1) * (kRowHeight + kRowGap) + kPad;
    CCPoint centre = VisibleArea::center();
    float left = centre.x - kCardWidth / 2, bottom = centre.y - height / 2;
    float top = bottom + height, inner = kCardWidth - 2 * kPad;
    m_card = CCRect(left, bottom, kCardWidth, height);
    drawRoundRect(draw, m_card, 28, false, kCardBody);
    drawRoundRect(draw, CCRect(left, top - kBandHeight, kCardWidth, kBandHeight), 28, true,
                  kCardBand);
    addCardLabel(m_content, "What would you like?", 34, kWhite,
                 CCPoint(centre.x, top - kBandHeight / 2), CCPoint(0.5f, 0.5f));

    auto ring = [&](Button b) {
        if (m_marked != b) return;
        CCRect r = m_rects[b];
        drawRoundRect(draw,
                      CCRect(r.origin.x - 5, r.origin.y - 5, r.size.width + 10, r.size.height + 10),
                      18, false, kMarkRing);
    };

    float y = top - kBandHeight - kPad;
    addCardLabel(m_content, nameOf(Speed50), kLabelSize, kText, CCPoint(left + kPad, y),
                 CCPoint(0, 1));
    y -= 38;
    float pill = (inner - 3 * kRowGap) / 4;
    for (int i = 0; i < 4; ++i) {
        Button b = (Button)(Speed50 + i);
        m_rects[b] = CCRect(left + kPad + i * (pill + kRowGap), y - kRowHeight, pill, kRowHeight);
        ring(b);
        bool chosen = !stateOf(b).empty();
        drawRoundRect(draw, m_rects[b], 14, false, chosen ? kChosenFill : kCardButton);
        char text[16];
        snprintf(text, sizeof text, "%g\u00d7", speedOf(b));
        addCardLabel(m_content, text, kLabelSize, chosen ? kWhite : kText,
                     CCPoint(m_rects[b].getMidX(), m_rects[b].getMidY()), CCPoint(0.5f, 0.5f));
    }
    y -= kRowHeight + kRowGap;

    for (const Row& row : kRows) {
        CCRect r(left + kPad, y - kRowHeight, inner, kRowHeight);
        m_rects[row.button] = r;
        ring(row.button);
        drawRoundRect(draw, r, 14, false, kCardButton);
        std::string state = stateOf(row.button);
        float stateWidth = 0;
        if (state == "On" || state == "Off") {
            // A switch: a green "On", a grey "Off".
            CCRect s(r.getMaxX() - 12 - 86, r.origin.y + 10, 86, r.size.height - 20);
            drawRoundRect(draw, s, 20, false, state == "On" ? kOnFill : kOffFill);
            addCardLabel(m_content, state, kStateSize, state == "On" ? kWhite : kText,
                         CCPoint(s.getMidX(), s.getMidY()), CCPoint(0.5f, 0.5f));
            stateWidth = 86 + 12;
        } else if (!state.empty()) {
            CCLabelTTF* label =
                addCardLabel(m_content, state, kStateSize, kModeText,
                             CCPoint(r.getMaxX() - 16, r.getMidY()), CCPoint(1, 0.5f));
            stateWidth = widthOf(label) + 16;
        }
        // The name shrinks rather than run into its state.
        float room = inner - stateWidth - 2 * 16;
        float size = kLabelSize;
        CCLabelTTF* name = nullptr;
        for (;; size -= 1) {
            if (name) name->removeFromParent();
            name = addCardLabel(m_content, row.text, size, kText,
                                CCPoint(r.origin.x + 16, r.getMidY()), CCPoint(0, 0.5f));
            if (!name || widthOf(name) <= room || size <= kSmallestLabel) break;
        }
        y -= kRowHeight + kRowGap;
    }
    CCRect closeRect(left + kPad, y - kRowHeight, inner, kRowHeight);
    m_rects[Close] = closeRect;
    ring(Close);
    drawRoundRect(draw, closeRect, 14, false, kOffFill);
    addCardLabel(m_content, "Close", kLabelSize, kText,
                 CCPoint(closeRect.getMidX(), closeRect.getMidY()), CCPoint(0.5f, 0.5f));
}

void LearnerCard::press(Button button) {
    PageLayer* page = m_page;
    switch (button) {
        case Speed50:
        case Speed75:
        case Speed100:
        case Speed125:
            chooseSpeechSpeed(page, speedOf(button));
            break;
        case SayAfterMe:
            page->switchEchoPauses();
            break;
        case SpeakAlong:
            page->switchShadowing();
            break;
        case BigScreen:
            switchBigScreen();
            break;
        case SayLikeBook:
            close();
            page->practiseSpeaking();
            return;
        case HearAgain:
            close();
            page->replaySentence();
            return;
        case ReadingMode:
            close();
            page->openSettingsByKey();
            return;
        case Keys:
            close();
            page->showKeyList();
            return;
        case Close:
        case kButtonCount:
            close();
            return;
    }
    m_marked = m_marked >= 0 ? button : -1;
    rebuild();
}

void LearnerCard::handleKey(int keyCode) {
    switch (keyCode) {
        case kKeyArrowUp:
        case kKeyLeft:
        case kKeyArrowDown:
        case kKeyRight: {
            int step = (keyCode == kKeyArrowUp || keyCode == kKeyLeft) ? -1 : 1;
            m_marked = m_marked < 0 ? (step > 0 ? 0 : kButtonCount - 1)
                                    : std::max(0, std::min(kButtonCount - 1, m_marked + step));
            rebuild();
            return;
        }
        case kKeyEnter:
        case kKeySpace:
            if (m_marked >= 0) press((Button)m_marked);
            return;
        case kKeyEscape:
        case kKeyMenu:
            close();
            return;
        default:
            return;  // the card is modal: the page under it hears nothing
    }
}

void LearnerCard::close() {
    retain();  // the card may be closing from within its own touch handler
    removeFromParentAndCleanup(true);
    autorelease();
}

bool LearnerCard::ccTouchBegan(CCTouch*, CCEvent*) { return true; }

void LearnerCard::ccTouchEnded(CCTouch* touch, CCEvent*) {
    CCPoint at = touch->getLocation();
    for (int b = 0; b < kButtonCount; ++b) {
        if (m_rects[b].containsPoint(at)) {
            press((Button)b);
            return;
        }
    }
    if (!m_card.containsPoint(at)) close();
}

}  // namespace pagly
