#include "engine/nodes/CCMenu.h"

#include <cstdarg>

#include "engine/director/CCDirector.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCMenuItem.h"

namespace pagly::engine {

CCMenu::CCMenu() = default;
CCMenu::~CCMenu() = default;

CCMenu* CCMenu::create() { return createWithArray(nullptr); }

CCMenu* CCMenu::create(CCMenuItem* item, ...) {
    CCArray* items = CCArray::create();
    va_list args;
    va_start(args, item);
    for (CCMenuItem* i = item; i; i = va_arg(args, CCMenuItem*)) items->addObject(i);
    va_end(args);
    return createWithArray(items);
}

CCMenu* CCMenu::createWithItem(CCMenuItem* item) { return create(item, nullptr); }

CCMenu* CCMenu::createWithArray(CCArray* items) {
    CCMenu* menu = new CCMenu();
    if (!menu->initWithArray(items)) {
        menu->release();
        return nullptr;
    }
    menu->autorelease();
    return menu;
}

bool CCMenu::init() { return initWithArray(nullptr); }

bool CCMenu::initWithArray(CCArray* items) {
    if (!CCLayer::init()) return false;
    m_eTouchMode = kTouchesOneByOne;
    m_nTouchPriority = kMenuHandlerPriority;
    setTouchEnabled(true);
    m_bEnabled = true;

    // The menu fills the screen, its origin at the centre: items placed at (0, 0) sit there.
    CCSize size = CCDirector::sharedDirector()->getWinSize();
    ignoreAnchorPointForPosition(true);
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setContentSize(size);
    setPosition(CCPoint(size.width / 2, size.height / 2));

    if (items) {
        int z = 0;
        for (unsigned int i = 0; i < items->count(); ++i) {
            CCNode* item = dynamic_cast<CCNode*>(items->objectAtIndex(i));
            if (item) addChild(item, z++);
        }
    }
    m_pSelectedItem.reset();
    m_eState = kMenuStateWaiting;
    return true;
}

void CCMenu::registerWithTouchDispatcher() {
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, m_nTouchPriority,
                                                                            true);
    m_bRegistered = true;
}

CCMenuItem* CCMenu::itemForTouch(CCTouch* touch) {
    if (!m_pChildren) return nullptr;
    CCPoint location = touch->getLocation();
    sortAllChildren();
    // Topmost first: the item drawn last wins where items overlap.
    for (int i = (int)m_pChildren->count() - 1; i >= 0; --i) {
        CCMenuItem* item = dynamic_cast<CCMenuItem*>(m_pChildren->objectAtIndex((unsigned)i));
        if (!item || !item->isVisible() || !item->isEnabled()) continue;
        // Scaled to nothing, the item covers nothing.
        if (!CCAffineTransformIsInvertible(item->nodeToWorldTransform())) continue;
        CCPoint local = item->convertToNodeSpace(location);
        CCRect r = item->rect();
        r.origin = CCPointZero;
        // An item without area (a missing image) offers nothing to touch.
        if (r.size.width <= 0 || r.size.height <= 0) continue;
        if (r.containsPoint(local)) return item;
    }
    return nullptr;
}

bool CCMenu::ccTouchBegan(CCTouch* touch, CCEvent*) {
    if (m_eState != kMenuStateWaiting || !m_bVisible || !m_bEnabled) return false;
    for (CCNode* c = m_pParent; c; c = c->getParent())
        if (!c->isVisible()) return false;
    CCMenuItem* item = itemForTouch(touch);
    if (!item) return false;
    m_pSelectedItem = item;
    m_eState = kMenuStateTrackingTouch;
    item->selected();
    return true;
}

void CCMenu::ccTouchMoved(CCTouch* touch, CCEvent*) {
    if (m_eState != kMenuStateTrackingTouch) return;
    CCMenuItem* current = itemForTouch(touch);
    if (current == m_pSelectedItem.get()) return;
    if (m_pSelectedItem) m_pSelectedItem->unselected();
    m_pSelectedItem = current;
    if (current) current->selected();
}

void CCMenu::ccTouchEnded(CCTouch*, CCEvent*) {
    if (m_eState != kMenuStateTrackingTouch) return;
    // Reset before the callback: it may replace the scene or touch this menu again.
    RefPtr<CCMenuItem> item = m_pSelectedItem;
    RefPtr<CCMenu> keep(this);
    m_pSelectedItem.reset();
    m_eState = kMenuStateWaiting;
    if (item) {
        item->unselected();
        item->activate();
    }
}

void CCMenu::ccTouchCancelled(CCTouch*, CCEvent*) {
    if (m_eState != kMenuStateTrackingTouch) return;
    RefPtr<CCMenuItem> item = m_pSelectedItem;
    m_pSelectedItem.reset();
    m_eState = kMenuStateWaiting;
    if (item) item->unselected();
}

void CCMenu::onExit() {
    if (m_eState == kMenuStateTrackingTouch) {
        if (m_pSelectedItem) m_pSelectedItem->unselected();
        m_pSelectedItem.reset();
        m_eState = kMenuStateWaiting;
    }
    CCLayer::onExit();
}

namespace {
template <class F>
void forEachNode(CCArray* children, F f) {
    if (!children) return;
    for (unsigned int i = 0; i < children->count(); ++i)
        if (CCNode* n = dynamic_cast<CCNode*>(children->objectAtIndex(i))) f(n);
}
}  // namespace

void CCMenu::alignItemsVertically() { alignItemsVerticallyWithPadding(5.0f); }

void CCMenu::alignItemsVerticallyWithPadding(float padding) {
    float height = -padding;
    forEachNode(m_pChildren, [&](CCNode* n) {
        height += n->getContentSize().height * n->getScaleY() + padding;
    });
    float y = height / 2.0f;
    forEachNode(m_pChildren, [&](CCNode* n) {
        float h = n->getContentSize().height * n->getScaleY();
        n->setPosition(CCPoint(0, y - h / 2.0f));
        y -= h + padding;
    });
}

void CCMenu::alignItemsHorizontally() { alignItemsHorizontallyWithPadding(5.0f); }

void CCMenu::alignItemsHorizontallyWithPadding(float padding) {
    float width = -padding;
    forEachNode(m_pChildren,
                [&](CCNode* n) { width += n->getContentSize().width * n->getScaleX() + padding; });
    float x = -width / 2.0f;
    forEachNode(m_pChildren, [&](CCNode* n) {
        float w = n->getContentSize().width * n->getScaleX();
        n->setPosition(CCPoint(x + w / 2.0f, 0));
        x += w + padding;
    });
}

}  // namespace pagly::engine
