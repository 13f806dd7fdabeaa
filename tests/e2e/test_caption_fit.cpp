#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ReaderFixture.h"
#include "app/PageLayer.h"
#include "app/ReadingSession.h"
#include "app/VisibleArea.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCMenuItem.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using namespace pagly::gui;
using namespace pagly;

namespace {

// A rectangle as its edges, in world (design) coordinates.
struct Box {
    float left, bottom, right, top;
};

Box unite(const Box& a, const Box& b) {
    return {std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
            std::max(a.top, b.top)};
}

// Edges that merely touch do not count: a caption may sit flush against a button.
bool overlaps(const Box& a, const Box& b) {
    const float slack = 0.01f;
    return std::min(a.right, b.right) - std::max(a.left, b.left) > slack &&
           std::min(a.top, b.top) - std::max(a.bottom, b.bottom) > slack;
}

bool inside(const Box& inner, const Box& outer) {
    const float slack = 0.01f;
    return inner.left >= outer.left - slack && inner.right <= outer.right + slack &&
           inner.bottom >= outer.bottom - slack && inner.top <= outer.top + slack;
}

std::string describe(const Box& b) {
    std::ostringstream s;
    s << "[" << b.left << ".." << b.right << " x " << b.bottom << ".." << b.top << "]";
    return s.str();
}

// A node's bounding box (its own size, scale and anchor) in world coordinates.
Box worldBox(CCNode* node) {
    CCRect r = node->boundingBox();
    CCNode* parent = node->getParent();
    CCPoint a(r.getMinX(), r.getMinY()), b(r.getMaxX(), r.getMaxY());
    if (parent) {
        a = parent->convertToWorldSpace(a);
        b = parent->convertToWorldSpace(b);
    }
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// A widget's rectangle as drawn: its size times its scale around its anchor, in world space.
Box worldBox(UIWidget* widget) {
    CCNode* node = widget->getContainerNode();
    CCPoint at = node->getParent()->convertToWorldSpace(node->getPosition());
    CCSize size = widget->getSize();
    float w = size.width * std::abs(widget->getScaleX());
    float h = size.height * std::abs(widget->getScaleY());
    CCPoint anchor = widget->getAnchorPoint();
    float left = at.x - anchor.x * w, bottom = at.y - anchor.y * h;
    return {left, bottom, left + w, bottom + h};
}

// Sentences whose caption the book deliberately never shows: one without a caption, one
// whose caption is too long to be shown.
const std::set<std::pair<int, int>> kNeverShown = {{9, 4}, {41, 2}};

using CaptionFitTest = pagly::test::ReaderTest;

// Every caption the book shows stays on screen, clear of the other sentence buttons and of
// the control bar, wherever its button sits.
TEST_F(CaptionFitTest, EveryCaptionOfTheBookStaysClearOfButtonsAndControls) {
    Box visible;
    {
        CCRect r = VisibleArea::rect();
        visible = {r.getMinX(), r.getMinY(), r.getMaxX(), r.getMaxY()};
    }
    std::vector<std::string> offenders;
    std::set<std::pair<int, int>> notShown;
    int checked = 0;

    for (int pageNumber = 2; pageNumber <= 77; ++pageNumber) {
        openPage(pageNumber);
        PageLayer* layer = page();
        ASSERT_NE(nullptr, layer) << "page " << pageNumber;

        // The control bar: the whole width up to the top of the highest visible control.
        float barTop = visible.bottom;
        for (CCNode* item : {(CCNode*)layer->previousItem(), (CCNode*)layer->playPauseItem(),
                             (CCNode*)layer->nextItem(), (CCNode*)layer->mainPageItem()})
            if (item && item->isVisible()) barTop = std::max(barTop, worldBox(item).top);
        Box bar{visible.left, visible.bottom, visible.right, barTop};

        std::vector<std::pair<int, Box>> buttons;
        for (int i = 1; i <= 29; ++i)
            if (UIButton* b = sentenceButton(i)) buttons.push_back({i, worldBox(b)});
        ASSERT_FALSE(buttons.empty()) << "page " << pageNumber;

        for (const auto& [index, buttonBox] : buttons) {
            std::ostringstream where;
            where << "page " << pageNumber << " sentence " << index;
            UIButton* button = sentenceButton(index);
            CCPoint centre((buttonBox.left + buttonBox.right) / 2,
                           (buttonBox.bottom + buttonBox.top) / 2);
            touchDown(centre.x, centre.y);
            step();
            touchUp(centre.x, centre.y);
            if (session().currentSentenceButton != button) {
                offenders.push_back(where.str() + ": a touch at its centre does not reach it");
                continue;
            }
            advance(0.35);  // the caption watcher's first tick shows the caption
            bool shown = session().captionLabel->isVisible() &&
                         session().captionBackground->isVisible() &&
                         session().captionLabel->getString()[0] != '\0' &&
                         session().captionBackground->getSize().height > 0;
            if (!shown) {
                notShown.insert({pageNumber, index});
                continue;
            }
            ++checked;
            Box caption =
                unite(worldBox(session().captionLabel), worldBox(session().captionBackground));
            std::string what = where.str() + " \"" + session().captionLabel->getString() + "\" " +
                               describe(caption) + ": ";
            if (!inside(caption, visible))
                offenders.push_back(what + "runs off the visible area " + describe(visible));
            if (overlaps(caption, bar))
                offenders.push_back(what + "covers the control bar " + describe(bar));
            for (const auto& [other, otherBox] : buttons)
                if (other != index && overlaps(caption, otherBox))
                    offenders.push_back(what + "covers sentence " + std::to_string(other) + " " +
                                        describe(otherBox));
        }
    }

    std::ostringstream report;
    for (const std::string& o : offenders) report << "\n  " << o;
    EXPECT_TRUE(offenders.empty()) << offenders.size() << " captions do not fit:" << report.str();
    EXPECT_EQ(kNeverShown, notShown) << "only the book's deliberate gaps go without a caption";
    EXPECT_GE(checked, 350) << "the book shows some 365 captions";
}

}  // namespace
