#include "gui/WidgetHelper.h"

#include <cstring>

#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/render/CCTexture2D.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "gui/LayoutParameter.h"
#include "gui/UIWidget.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {
WidgetHelper* s_instance = nullptr;
}  // namespace

WidgetHelper* WidgetHelper::instance() {
    if (!s_instance) s_instance = new WidgetHelper();
    return s_instance;
}

bool WidgetHelper::hasInstance() { return s_instance != nullptr; }

void WidgetHelper::destroyInstance() {
    delete s_instance;
    s_instance = nullptr;
}

WidgetHelper::WidgetHelper()
    : m_designSize(CCDirector::sharedDirector()->getWinSize()),
      m_loadedFrameFiles(CCArray::create()) {}

WidgetHelper::~WidgetHelper() {}

UIWidget* WidgetHelper::findWidgetByName(UIWidget* root, const char* name) {
    if (!root || !name) return nullptr;
    if (std::strcmp(root->getName(), name) == 0) return root;
    if (CCArray* children = root->getChildren()) {
        for (CCObject* o : *children) {
            if (UIWidget* found = findWidgetByName(static_cast<UIWidget*>(o), name)) return found;
        }
    }
    return nullptr;
}

UIWidget* WidgetHelper::findWidgetByActionTag(UIWidget* root, int tag) {
    if (!root) return nullptr;
    if (root->getActionTag() == tag) return root;
    if (CCArray* children = root->getChildren()) {
        for (CCObject* o : *children) {
            if (UIWidget* found = findWidgetByActionTag(static_cast<UIWidget*>(o), tag)) {
                return found;
            }
        }
    }
    return nullptr;
}

UIWidget* WidgetHelper::findWidgetByRelativeName(UIWidget* parent, const char* name) {
    if (!parent || !name) return nullptr;
    CCArray* children = parent->getChildren();
    if (!children) return nullptr;
    for (CCObject* o : *children) {
        UIWidget* child = static_cast<UIWidget*>(o);
        RelativeLayoutParameter* parameter =
            dynamic_cast<RelativeLayoutParameter*>(child->getLayoutParameter());
        if (parameter && std::strcmp(parameter->getRelativeName(), name) == 0) return child;
    }
    return nullptr;
}

bool WidgetHelper::isSpriteFramesLoaded(const char* fileName) const {
    if (!fileName) return false;
    for (CCObject* o : *m_loadedFrameFiles) {
        if (static_cast<CCString*>(o)->compare(fileName) == 0) return true;
    }
    return false;
}

void WidgetHelper::addSpriteFramesOnce(const char* fileName) {
    if (!fileName || !*fileName) return;
    if (isSpriteFramesLoaded(fileName)) return;
    m_loadedFrameFiles->addObject(CCString::create(fileName));
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(fileName);
}

}  // namespace pagly::gui
