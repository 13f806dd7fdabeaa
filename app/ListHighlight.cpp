#include "app/ListHighlight.h"

#include <algorithm>

#include "app/ListDrag.h"
#include "app/VisibleArea.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/nodes/CCNode.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const int kBarTag = 7301;
const float kPadX = 16, kPadY = 6;
// The bottom row belongs to the screen's buttons (home, page arrows): a marked line stays
// above it.
const float kBottomMargin = 70;
}  // namespace

void ListHighlight::setLines(CCNode* list, const std::vector<CCNode*>& lines) {
    m_list = list;
    m_lines = lines;
    m_index = -1;
}

CCNode* ListHighlight::current() const {
    return m_index >= 0 && m_index < (int)m_lines.size() ? m_lines[m_index] : nullptr;
}

void ListHighlight::mark(int index, bool on) {
    if (index < 0 || index >= (int)m_lines.size()) return;
    CCNode* line = m_lines[index];
    CCNode* bar = line->getChildByTag(kBarTag);
    if (!bar && on) {
        CCSize size = line->getContentSize();
        // Deep blue: white lines read on it at 9:1 (a yellow bar left them at 2:1).
        bar = CCLayerColor::create(ccColor4B(16, 52, 150, 255), size.width + 2 * kPadX,
                                   size.height + 2 * kPadY);
        bar->setPosition(CCPoint(-kPadX, -kPadY));
        line->addChild(bar, -1, kBarTag);
    }
    if (bar) bar->setVisible(on);
}

void ListHighlight::move(int delta, float limit, CCPoint& rememberedOffset) {
    if (m_lines.empty() || !m_list) return;
    int next = m_index < 0 ? 0 : std::clamp(m_index + delta, 0, (int)m_lines.size() - 1);
    mark(m_index, false);
    m_index = next;
    mark(m_index, true);

    CCNode* line = m_lines[m_index];
    float half = line->getContentSize().height / 2 + kPadY;
    float y = m_list->getPositionY() + line->getPositionY();
    float top = VisibleArea::origin().y + VisibleArea::size().height;
    float bottom = VisibleArea::origin().y + kBottomMargin;
    float dy = 0;
    if (y + half > top)
        dy = top - (y + half);
    else if (y - half < bottom)
        dy = bottom - (y - half);
    if (dy != 0) scrollListBy(m_list, dy, limit, rememberedOffset);
}

}  // namespace pagly
