// Round rectangles for cards (see RoundRect.h).
#include "app/RoundRect.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/nodes/CCDrawNode.h"
#include "engine/nodes/CCLabelTTF.h"

using namespace pagly::engine;

namespace pagly {

void drawRoundRect(CCDrawNode* node, const CCRect& r, float radius, bool topOnly,
                   const ccColor4B& colour) {
    const int kArcSteps = 8;
    radius = std::min(radius, std::min(r.size.width, r.size.height) / 2);
    float left = r.origin.x, bottom = r.origin.y;
    float right = left + r.size.width, top = bottom + r.size.height;
    std::vector<CCPoint> points;
    // Corners counter-clockwise from the bottom right; each arc from its start angle.
    struct Corner {
        float cx, cy, from;
        bool round;
    } corners[] = {
        {right - radius, bottom + radius, -90, !topOnly},
        {right - radius, top - radius, 0, true},
        {left + radius, top - radius, 90, true},
        {left + radius, bottom + radius, 180, !topOnly},
    };
    for (const Corner& c : corners) {
        if (!c.round) {
            float x = c.cx + (c.from == -90 ? radius : -radius);
            points.push_back(CCPoint(x, bottom));
            continue;
        }
        for (int i = 0; i <= kArcSteps; ++i) {
            float a = (c.from + 90.0f * i / kArcSteps) * (float)M_PI / 180.0f;
            points.push_back(CCPoint(c.cx + radius * std::cos(a), c.cy + radius * std::sin(a)));
        }
    }
    node->drawPolygon(points.data(), (unsigned int)points.size(), toColor4F(colour), 0,
                      ccColor4F());
}

CCLabelTTF* addCardLabel(CCNode* parent, const std::string& text, float size,
                         const ccColor3B& colour, const CCPoint& at, const CCPoint& anchor) {
    CCLabelTTF* label = CCLabelTTF::create(text.c_str(), kCardFont, size);
    if (!label) return nullptr;
    label->setColor(colour);
    label->setAnchorPoint(anchor);
    label->setPosition(at);
    parent->addChild(label, 2);
    return label;
}

}  // namespace pagly
