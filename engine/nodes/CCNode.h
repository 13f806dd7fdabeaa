#pragma once

#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCRGBAValues.h"

namespace pagly::engine {

class CCAction;
class CCActionManager;
class CCScheduler;
class CCTouch;
class Renderer;

enum { kNodeTagInvalid = -1 };

// The scene-graph node: transform, children ordered by z-order (stable among equal z-orders),
// lifecycle callbacks, scheduled callbacks and actions. Rendering happens in visit/draw,
// which emit draw commands to a Renderer.
class CCNode : public CCObject {
  public:
    CCNode();
    ~CCNode() override;

    static CCNode* create();
    virtual bool init() { return true; }

    // --- transform ---
    virtual void setPosition(const CCPoint& position);
    void setPosition(float x, float y) { setPosition(CCPoint(x, y)); }
    virtual const CCPoint& getPosition() const { return m_obPosition; }
    void setPositionX(float x) { setPosition(CCPoint(x, m_obPosition.y)); }
    void setPositionY(float y) { setPosition(CCPoint(m_obPosition.x, y)); }
    float getPositionX() const { return m_obPosition.x; }
    float getPositionY() const { return m_obPosition.y; }
    virtual void setAnchorPoint(const CCPoint& anchor);
    virtual const CCPoint& getAnchorPoint() const { return m_obAnchorPoint; }
    const CCPoint& getAnchorPointInPoints() const { return m_obAnchorPointInPoints; }
    virtual void setContentSize(const CCSize& size);
    virtual const CCSize& getContentSize() const { return m_obContentSize; }
    virtual void setScale(float scale);
    virtual void setScale(float sx, float sy);
    virtual float getScale() const { return m_fScaleX; }
    virtual void setScaleX(float sx);
    virtual void setScaleY(float sy);
    virtual float getScaleX() const { return m_fScaleX; }
    virtual float getScaleY() const { return m_fScaleY; }
    // Degrees, clockwise.
    virtual void setRotation(float degrees);
    virtual float getRotation() const { return m_fRotation; }
    virtual void setVisible(bool visible);
    virtual bool isVisible() const { return m_bVisible; }
    // Scenes and layers place their origin, not their anchor, at their position.
    virtual void ignoreAnchorPointForPosition(bool ignore);
    bool isIgnoreAnchorPointForPosition() const { return m_bIgnoreAnchorPointForPosition; }

    // --- tree ---
    virtual void addChild(CCNode* child);
    virtual void addChild(CCNode* child, int zOrder);
    virtual void addChild(CCNode* child, int zOrder, int tag);
    virtual void removeChild(CCNode* child);
    virtual void removeChild(CCNode* child, bool cleanup);
    virtual void removeChildByTag(int tag, bool cleanup = true);
    virtual void removeFromParent() { removeFromParentAndCleanup(true); }
    virtual void removeFromParentAndCleanup(bool cleanup);
    virtual void removeAllChildren() { removeAllChildrenWithCleanup(true); }
    virtual void removeAllChildrenWithCleanup(bool cleanup);
    virtual void reorderChild(CCNode* child, int zOrder);
    virtual void sortAllChildren();
    CCNode* getChildByTag(int tag) const;
    CCArray* getChildren() const { return m_pChildren; }
    unsigned int getChildrenCount() const { return m_pChildren ? m_pChildren->count() : 0; }
    CCNode* getParent() const { return m_pParent; }
    virtual void setParent(CCNode* parent) { m_pParent = parent; }

    virtual void setZOrder(int zOrder);
    int getZOrder() const { return m_nZOrder; }
    unsigned int getOrderOfArrival() const { return m_uOrderOfArrival; }
    void setOrderOfArrival(unsigned int order) { m_uOrderOfArrival = order; }
    virtual void setTag(int tag) { m_nTag = tag; }
    virtual int getTag() const { return m_nTag; }
    void* getUserData() const { return m_pUserData; }
    void setUserData(void* data) { m_pUserData = data; }
    CCObject* getUserObject() const { return m_pUserObject.get(); }
    void setUserObject(CCObject* object) { m_pUserObject = object; }

    // --- lifecycle ---
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    virtual void onExitTransitionDidStart();
    virtual void onExit();
    // Stops actions and scheduled callbacks of this node and its children.
    virtual void cleanup();
    bool isRunning() const { return m_bRunning; }

    // --- transforms between spaces ---
    virtual CCAffineTransform nodeToParentTransform();
    CCAffineTransform parentToNodeTransform();
    CCAffineTransform nodeToWorldTransform();
    CCAffineTransform worldToNodeTransform();
    CCPoint convertToNodeSpace(const CCPoint& worldPoint);
    CCPoint convertToWorldSpace(const CCPoint& nodePoint);
    CCPoint convertToNodeSpaceAR(const CCPoint& worldPoint);
    CCPoint convertToWorldSpaceAR(const CCPoint& nodePoint);
    CCPoint convertTouchToNodeSpace(CCTouch* touch);
    CCPoint convertTouchToNodeSpaceAR(CCTouch* touch);
    // The node's rectangle in its parent's space.
    CCRect boundingBox();

    // --- drawing ---
    // Computes the world transform, visits children below z 0, draws itself, then the rest.
    virtual void visit(Renderer* renderer);
    virtual void draw(Renderer* renderer);
    // World transform as of the last visit (parent's world × node-to-parent).
    const CCAffineTransform& worldTransform() const { return m_worldTransform; }
    // Hook for colour/opacity inheritance, called by visit before drawing.
    virtual void updateDisplayedFromParent() {}

    // --- scheduling (paused while the node is not running) ---
    void schedule(SEL_SCHEDULE selector);
    void schedule(SEL_SCHEDULE selector, float interval);
    void schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay);
    void scheduleOnce(SEL_SCHEDULE selector, float delay);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllSelectors();
    void scheduleUpdate();
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    virtual void update(float dt);
    // True once the base update ran for this node: its per-frame update does nothing, so a
    // still screen need not wake up every frame for it. (An override that does its own work
    // must not call the base update.)
    bool hasEmptyUpdate() const { return m_bEmptyUpdate; }
    void resumeSchedulerAndActions();
    void pauseSchedulerAndActions();

    // --- actions ---
    CCAction* runAction(CCAction* action);
    void stopAllActions();
    void stopAction(CCAction* action);
    void stopActionByTag(int tag);
    CCAction* getActionByTag(int tag);
    unsigned int numberOfRunningActions();

    // A readable description for logs and test failures.
    virtual std::string description() const;

  protected:
    void childrenAlloc();
    void insertChild(CCNode* child, int zOrder);
    void detachChild(CCNode* child, bool doCleanup);
    void setTransformDirty();

    CCPoint m_obPosition;
    CCPoint m_obAnchorPoint;
    CCPoint m_obAnchorPointInPoints;
    CCSize m_obContentSize;
    float m_fScaleX = 1.0f, m_fScaleY = 1.0f;
    float m_fRotation = 0.0f;
    bool m_bVisible = true;
    bool m_bIgnoreAnchorPointForPosition = false;
    bool m_bRunning = false;
    bool m_bEmptyUpdate = false;
    bool m_bReorderChildDirty = false;
    bool m_bBeingRemoved = false;  // detachChild is running its exit callbacks
    bool m_bTransformDirty = true;
    bool m_bInverseDirty = true;
    int m_nZOrder = 0;
    unsigned int m_uOrderOfArrival = 0;
    int m_nTag = kNodeTagInvalid;
    void* m_pUserData = nullptr;
    RefPtr<CCObject> m_pUserObject;
    CCNode* m_pParent = nullptr;  // non-owning: the parent owns this node
    CCArray* m_pChildren = nullptr;
    CCAffineTransform m_sTransform;
    CCAffineTransform m_sInverse;
    CCAffineTransform m_worldTransform;
};

// Colour and opacity, optionally cascading to children.
class CCRGBAProtocol {
  public:
    virtual ~CCRGBAProtocol() = default;
    virtual void setColor(const ccColor3B& color) = 0;
    virtual const ccColor3B& getColor() = 0;
    virtual const ccColor3B& getDisplayedColor() = 0;
    virtual unsigned char getDisplayedOpacity() = 0;
    virtual unsigned char getOpacity() = 0;
    virtual void setOpacity(unsigned char opacity) = 0;
    virtual bool isCascadeColorEnabled() = 0;
    virtual void setCascadeColorEnabled(bool enabled) = 0;
    virtual bool isCascadeOpacityEnabled() = 0;
    virtual void setCascadeOpacityEnabled(bool enabled) = 0;
    virtual void updateDisplayedColor(const ccColor3B& parentColor) = 0;
    virtual void updateDisplayedOpacity(unsigned char parentOpacity) = 0;
};

// A node with colour and opacity. Displayed values are the node's own multiplied by those of
// cascading ancestors; they are refreshed when set and at every visit.
class CCNodeRGBA : public CCNode, public CCRGBAProtocol, protected CCRGBAValues {
  public:
    CCNodeRGBA();
    static CCNodeRGBA* create();

    void setColor(const ccColor3B& color) override;
    const ccColor3B& getColor() override { return m_realColor; }
    const ccColor3B& getDisplayedColor() override { return m_displayedColor; }
    unsigned char getDisplayedOpacity() override { return m_displayedOpacity; }
    unsigned char getOpacity() override { return m_realOpacity; }
    void setOpacity(unsigned char opacity) override;
    bool isCascadeColorEnabled() override { return m_bCascadeColor; }
    void setCascadeColorEnabled(bool enabled) override { m_bCascadeColor = enabled; }
    bool isCascadeOpacityEnabled() override { return m_bCascadeOpacity; }
    void setCascadeOpacityEnabled(bool enabled) override { m_bCascadeOpacity = enabled; }
    void updateDisplayedColor(const ccColor3B& parentColor) override;
    void updateDisplayedOpacity(unsigned char parentOpacity) override;
    void updateDisplayedFromParent() override;

  protected:
    // Subclasses refresh their vertex colours here.
    virtual void displayedColorChanged() {}
};

}  // namespace pagly::engine
