#include "app/KeyHelp.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/RoundRect.h"
#include "app/VisibleArea.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"

using namespace pagly::engine;

namespace pagly {

namespace {

// Above everything a screen draws (the page's caption sits at 10000).
const int kOverlayZOrder = 20000;

// The look of the settings card (book/3age/set_card.png), drawn here so that every book has
// it: a blue title band, a pale body, a dark edge under it, round corners; over the page a
// dimming veil like the settings panel's.
const ccColor4B kEdge(60, 70, 110, 255);
const ccColor4B kRule(214, 222, 240, 255);
const ccColor3B kTitleColour(255, 255, 255);
const ccColor3B kKeyColour(40, 60, 120);
const ccColor3B kActionColour(45, 50, 65);
const ccColor3B kNoteColour(80, 80, 100);  // 7:1 on the card; a lighter grey read at 4.3:1

const char* const kFont = "Arial";
const float kCardWidth = 560, kCorner = 36, kBandHeight = 110, kEdgeDepth = 10;
const float kPadX = 36, kPadTop = 28, kPadBottom = 26, kColumnGap = 24;
// Between two rows, in parts of the text size.
const float kRowGapShare = 0.46f;
const float kNoteGap = 22, kScreenMargin = 16;
const float kTitleSize = 40, kNoteSize = 20;
// Row text from the largest size down, until the card fits the screen.
const float kRowSizes[] = {26, 24, 22, 20, 18, 16, 14};
// The key column never takes more than this share of the row; longer keys wrap in it.
const float kKeyShare = 0.4f;

// Every touch is the list's: it closes the list when it ends and reaches nothing under it.
class KeyListOverlay : public CCLayerColor {
  public:
    static KeyListOverlay* create() {
        KeyListOverlay* overlay = new KeyListOverlay();
        if (!overlay->initWithColor(kCardVeil)) {
            overlay->release();
            return nullptr;
        }
        overlay->autorelease();
        overlay->setTouchMode(kTouchesOneByOne);
        overlay->setTouchPriority(kModalHandlerPriority);
        overlay->setTouchEnabled(true);
        return overlay;
    }
    bool ccTouchBegan(CCTouch*, CCEvent*) override { return true; }
    void ccTouchEnded(CCTouch*, CCEvent*) override { removeFromParentAndCleanup(true); }
};

struct Line {
    std::string key, action;
};

// "key: what it does", split at the first ": "; a line without one is all action.
std::vector<Line> splitLines(const char* const* lines) {
    std::vector<Line> out;
    for (const char* const* line = lines; line && *line; ++line) {
        std::string text = *line;
        size_t colon = text.find(": ");
        if (colon == std::string::npos) {
            out.push_back({"", text});
        } else {
            out.push_back({text.substr(0, colon), text.substr(colon + 2)});
        }
    }
    return out;
}

CCLabelTTF* makeLabel(const std::string& text, float size, float width, const ccColor3B& colour,
                      CCTextAlignment align = kTextAlignmentLeft) {
    CCLabelTTF* label = CCLabelTTF::create(text.c_str(), kFont, size, CCSize(width, 0), align);
    if (!label) return nullptr;
    label->setColor(colour);
    label->setAnchorPoint(CCPoint(0, 1));  // placed by its top-left corner
    return label;
}

float heightOf(CCNode* node) { return node ? node->getContentSize().height : 0; }

// The card's rows at one text size: labels placed from y = 0 downwards (top-left anchors),
// and the height they take.
struct Rows {
    std::vector<CCLabelTTF*> labels;  // autoreleased until added to the card
    float height = 0;
};

Rows layRows(const std::vector<Line>& lines, float size) {
    const float inner = kCardWidth - 2 * kPadX;
    float keyWidth = 0;
    for (const Line& line : lines) {
        if (line.key.empty()) continue;
        if (CCLabelTTF* probe = CCLabelTTF::create(line.key.c_str(), kFont, size))
            keyWidth = std::max(keyWidth, probe->getContentSize().width);
    }
    keyWidth = std::ceil(std::min(keyWidth, inner * kKeyShare));
    float actionX = keyWidth > 0 ? keyWidth + kColumnGap : 0;
    float actionWidth = inner - actionX;
    Rows rows;
    float y = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) y -= size * kRowGapShare;
        float rowHeight = 0;
        if (!lines[i].key.empty()) {
            if (CCLabelTTF* key = makeLabel(lines[i].key, size, keyWidth, kKeyColour)) {
                key->setTag(KeyHelp::kKeyTag);
                key->setPosition(CCPoint(0, y));
                rows.labels.push_back(key);
                rowHeight = heightOf(key);
            }
        }
        if (CCLabelTTF* action = makeLabel(lines[i].action, size, actionWidth, kActionColour)) {
            action->setTag(KeyHelp::kActionTag);
            action->setPosition(CCPoint(actionX, y));
            rows.labels.push_back(action);
            rowHeight = std::max(rowHeight, heightOf(action));
        }
        y -= rowHeight;
    }
    rows.height = -y;
    return rows;
}

// The card with the title band, the rows and the closing note; its content size is the card
// without the edge under it.
CCNode* makeCard(const std::vector<Line>& lines, float maxHeight) {
    const float inner = kCardWidth - 2 * kPadX;
    CCLabelTTF* note = makeLabel("A click or any key closes this list.", kNoteSize, inner,
                                 kNoteColour, kTextAlignmentCenter);
    float fixed = kBandHeight + kPadTop + kNoteGap + heightOf(note) + kPadBottom + kEdgeDepth;
    Rows rows;
    for (float size : kRowSizes) {
        rows = layRows(lines, size);
        if (fixed + rows.height <= maxHeight) break;  // else the smallest size it is
    }
    float height = fixed - kEdgeDepth + rows.height;

    CCNode* card = CCNode::create();
    card->setContentSize(CCSize(kCardWidth, height));
    card->setTag(KeyHelp::kCardTag);
    CCDrawNode* shape = CCDrawNode::create();
    drawRoundRect(shape, CCRect(0, -kEdgeDepth, kCardWidth, height), kCorner, false, kEdge);
    drawRoundRect(shape, CCRect(0, 0, kCardWidth, height), kCorner, false, kCardBody);
    drawRoundRect(shape, CCRect(0, height - kBandHeight, kCardWidth, kBandHeight), kCorner, true,
                  kCardBand);
    float ruleY = kPadBottom + heightOf(note) + kNoteGap / 2;
    shape->drawSegment(CCPoint(kPadX, ruleY), CCPoint(kCardWidth - kPadX, ruleY), 0.75f,
                       toColor4F(kRule));
    card->addChild(shape);

    if (CCLabelTTF* title = CCLabelTTF::create("Which key does what?", kFont, kTitleSize)) {
        title->setColor(kTitleColour);
        title->setPosition(CCPoint(kCardWidth / 2, height - kBandHeight / 2));
        card->addChild(title);
    }
    float top = height - kBandHeight - kPadTop;
    for (CCLabelTTF* label : rows.labels) {
        label->setPosition(label->getPosition() + CCPoint(kPadX, top));
        card->addChild(label);
    }
    if (note) {
        note->setPosition(CCPoint(kPadX, kPadBottom + heightOf(note)));
        card->addChild(note);
    }
    return card;
}

}  // namespace

KeyHelp::KeyHelp() = default;
KeyHelp::~KeyHelp() = default;

bool KeyHelp::isShown() const { return m_overlay && m_overlay->getParent(); }

bool KeyHelp::handleKey(CCNode* screen, int keyCode, const char* const* lines) {
    if (isShown()) {
        // The mouse wheel arrives as kKeyUp / kKeyDown: a notch while reading the list must
        // not close it, nor scroll what lies under it.
        if (keyCode == kKeyUp || keyCode == kKeyDown) return true;
        m_overlay->removeFromParentAndCleanup(true);
        m_overlay.reset();
        return true;
    }
    m_overlay.reset();  // closed by a click
    if (keyCode != kKeyHelp || !screen) return false;
    KeyListOverlay* overlay = KeyListOverlay::create();
    if (!overlay) return true;
    overlay->setTag(kOverlayTag);
    CCRect visible = VisibleArea::rect();
    float room = visible.size.height - 2 * kScreenMargin;
    CCNode* card = makeCard(splitLines(lines), room);
    CCSize size = card->getContentSize();
    // A list too long even at the smallest text size is shown smaller as a whole.
    float total = size.height + kEdgeDepth;
    float scale = total > room ? room / total : 1.0f;
    card->setAnchorPoint(CCPoint(0, 0));
    card->setScale(scale);
    // Centred, the edge under the card counted in.
    card->setPosition(CCPoint(visible.getMidX() - size.width * scale / 2,
                              visible.getMidY() - (size.height - kEdgeDepth) * scale / 2));
    overlay->addChild(card);
    screen->addChild(overlay, kOverlayZOrder);
    m_overlay = overlay;
    return true;
}

}  // namespace pagly
