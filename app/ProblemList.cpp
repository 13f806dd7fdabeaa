// The scrolling list of things a book could not use (see ProblemList.h).
#include "app/ProblemList.h"

#include <algorithm>

#include "engine/nodes/CCClippingNode.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const float kTextSize = 20, kGap = 8, kPad = 10, kBarWidth = 6;
const ccColor4B kBack(236, 231, 218, 255);
const ccColor4B kTrack(214, 208, 194, 255);
const ccColor4B kThumbColour(120, 116, 104, 255);
const ccColor3B kLineInk(60, 56, 48);
}  // namespace

ProblemList::ProblemList(const CCRect& box) : m_box(box) {}

ProblemList* ProblemList::create(const CCRect& box) {
    ProblemList* list = new ProblemList(box);
    list->init();
    list->autorelease();
    list->setPosition(box.origin);
    list->setContentSize(box.size);
    list->addChild(CCLayerColor::create(kBack, box.size.width, box.size.height), 0);
    CCNode* window = CCNode::create();
    window->setContentSize(CCSize(box.size.width - kBarWidth, box.size.height - 2 * kPad));
    window->setPosition(CCPoint(0, kPad));
    CCClippingNode* clip = CCClippingNode::create(window);
    list->addChild(clip, 1);
    list->m_content = CCNode::create();
    clip->addChild(list->m_content);
    CCLayerColor* track = CCLayerColor::create(kTrack, kBarWidth, box.size.height);
    track->setPosition(CCPoint(box.size.width - kBarWidth, 0));
    list->addChild(track, 2);
    list->m_thumb = CCLayerColor::create(kThumbColour, kBarWidth, box.size.height);
    list->addChild(list->m_thumb, 3);
    return list;
}

void ProblemList::setLines(const std::vector<std::string>& lines, int total) {
    m_lines = lines;
    if (total > static_cast<int>(lines.size()))
        m_lines.push_back("and " + std::to_string(total - static_cast<int>(lines.size())) +
                          " more (pagly-import names them all)");
    m_content->removeAllChildren();
    m_tops.clear();
    float width = m_box.size.width - kBarWidth - 2 * kPad;
    float top = 0;
    for (const std::string& line : m_lines) {
        CCLabelTTF* label = CCLabelTTF::create(line.c_str(), "Arial", kTextSize, CCSize(width, 0),
                                               kTextAlignmentLeft);
        label->setColor(kLineInk);
        label->setAnchorPoint(CCPoint(0, 1));
        label->setPosition(CCPoint(kPad, -top));
        m_content->addChild(label);
        m_tops.push_back(top);
        top += label->getContentSize().height + kGap;
    }
    m_height = std::max(0.f, top - kGap);
    m_offset = 0;
    place();
}

float ProblemList::longestScroll() const {
    return std::max(0.f, m_height - (m_box.size.height - 2 * kPad));
}

void ProblemList::scrollBy(float distance) {
    float offset = std::clamp(m_offset + distance, 0.f, longestScroll());
    if (offset == m_offset) return;
    m_offset = offset;
    place();
}

void ProblemList::scrollLines(int lines) { scrollBy(lines * m_lineStep); }

bool ProblemList::isLineInView(size_t i) const {
    if (i >= m_tops.size()) return false;
    float bottom = i + 1 < m_tops.size() ? m_tops[i + 1] - kGap : m_height;
    return m_tops[i] >= m_offset - 0.5f && bottom <= m_offset + m_box.size.height - 2 * kPad + 0.5f;
}

void ProblemList::place() {
    float view = m_box.size.height - 2 * kPad;
    m_content->setPosition(CCPoint(0, kPad + view + m_offset));
    // The thumb's share of the track is the share of the list in view.
    float share = m_height > view ? view / m_height : 1.f;
    float thumb = std::max(24.f, m_box.size.height * share);
    float travel = m_box.size.height - thumb;
    float along = longestScroll() > 0 ? m_offset / longestScroll() : 0.f;
    m_thumb->changeHeight(thumb);
    m_thumb->setPosition(CCPoint(m_box.size.width - kBarWidth, travel * (1 - along)));
}

}  // namespace pagly
