#pragma once

#include "engine/base/CCGeometry.h"

namespace pagly::engine {

class CCArray;
class CCNode;

// The colour and opacity a coloured node keeps (CCNodeRGBA, CCLayerRGBA): its own values, the
// displayed ones (its own multiplied by those of cascading ancestors) and whether they cascade
// to its children. The arithmetic lives here once.
class CCRGBAValues {
  protected:
    CCRGBAValues() : m_realColor(kColorWhite), m_displayedColor(kColorWhite) {}

    // What a parent passes down: its displayed values when it cascades, else white / opaque.
    static ccColor3B inheritedColor(CCNode* parent);
    static unsigned char inheritedOpacity(CCNode* parent);
    // Recompute the displayed value from the parent's and pass it on to the children when
    // cascading. True when the displayed value changed (the redraw flag is raised then).
    bool applyColor(const ccColor3B& parentColor, CCArray* children);
    bool applyOpacity(unsigned char parentOpacity, CCArray* children);
    // Both at once from the parent, without passing on (children do this in their own visit).
    bool refreshFrom(CCNode* parent);

    ccColor3B m_realColor, m_displayedColor;
    unsigned char m_realOpacity = 255, m_displayedOpacity = 255;
    bool m_bCascadeColor = false, m_bCascadeOpacity = false;
};

}  // namespace pagly::engine
