#include "engine/nodes/CCRGBAValues.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCRedraw.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {

namespace {
ccColor3B multiply(const ccColor3B& a, const ccColor3B& b) {
    return ccColor3B((unsigned char)(a.r * b.r / 255), (unsigned char)(a.g * b.g / 255),
                     (unsigned char)(a.b * b.b / 255));
}
}  // namespace

ccColor3B CCRGBAValues::inheritedColor(CCNode* parent) {
    CCRGBAProtocol* p = dynamic_cast<CCRGBAProtocol*>(parent);
    return p && p->isCascadeColorEnabled() ? p->getDisplayedColor() : kColorWhite;
}

unsigned char CCRGBAValues::inheritedOpacity(CCNode* parent) {
    CCRGBAProtocol* p = dynamic_cast<CCRGBAProtocol*>(parent);
    return p && p->isCascadeOpacityEnabled() ? p->getDisplayedOpacity() : 255;
}

bool CCRGBAValues::applyColor(const ccColor3B& parentColor, CCArray* children) {
    ccColor3B c = multiply(m_realColor, parentColor);
    bool changed = c != m_displayedColor;
    if (changed) {
        m_displayedColor = c;
        ccRequestRedraw();
    }
    if (m_bCascadeColor && children) {
        for (CCObject* o : *children)
            if (CCRGBAProtocol* child = dynamic_cast<CCRGBAProtocol*>(o))
                child->updateDisplayedColor(m_displayedColor);
    }
    return changed;
}

bool CCRGBAValues::applyOpacity(unsigned char parentOpacity, CCArray* children) {
    unsigned char o = (unsigned char)(m_realOpacity * parentOpacity / 255);
    bool changed = o != m_displayedOpacity;
    if (changed) {
        m_displayedOpacity = o;
        ccRequestRedraw();
    }
    if (m_bCascadeOpacity && children) {
        for (CCObject* obj : *children)
            if (CCRGBAProtocol* child = dynamic_cast<CCRGBAProtocol*>(obj))
                child->updateDisplayedOpacity(m_displayedOpacity);
    }
    return changed;
}

bool CCRGBAValues::refreshFrom(CCNode* parent) {
    ccColor3B c = multiply(m_realColor, inheritedColor(parent));
    unsigned char o = (unsigned char)(m_realOpacity * inheritedOpacity(parent) / 255);
    if (c == m_displayedColor && o == m_displayedOpacity) return false;
    m_displayedColor = c;
    m_displayedOpacity = o;
    return true;
}

}  // namespace pagly::engine
