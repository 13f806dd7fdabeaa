#include "app/KeyHelp.h"

#include <string>

#include "app/VisibleArea.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"

using namespace pagly::engine;

namespace pagly {

namespace {
// Above everything a screen draws (the page's caption sits at 10000).
const int kOverlayZOrder = 20000;
}  // namespace

bool KeyHelp::handleKey(CCNode* screen, int keyCode, const char* const* lines) {
    if (m_overlay) {
        m_overlay->removeFromParentAndCleanup(true);
        m_overlay = nullptr;
        return true;
    }
    if (keyCode != kKeyHelp || !screen) return false;
    CCSize size = VisibleArea::size();
    CCLayerColor* overlay = CCLayerColor::create(ccColor4B(20, 20, 40, 240));
    std::string text = "Keys\n\n";
    for (const char* const* line = lines; line && *line; ++line) text += std::string(*line) + "\n";
    text += "\nAny key closes this list.";
    CCLabelTTF* label = CCLabelTTF::create(text.c_str(), "Arial", 28, CCSize(size.width - 80, 0),
                                           kTextAlignmentLeft);
    label->setColor(ccColor3B(255, 255, 255));
    label->setPosition(VisibleArea::center());
    overlay->addChild(label);
    screen->addChild(overlay, kOverlayZOrder);
    m_overlay = overlay;
    return true;
}

}  // namespace pagly
