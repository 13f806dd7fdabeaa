#include "engine/nodes/CCScene.h"

#include "engine/director/CCDirector.h"

namespace pagly::engine {

CCScene::CCScene() {
    m_bIgnoreAnchorPointForPosition = true;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCScene* CCScene::create() { return ccCreateInitialized(new CCScene()); }

bool CCScene::init() {
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

}  // namespace pagly::engine
