#pragma once

#include <string>
#include <vector>

#include "engine/base/CCArray.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"
#include "gui/GuiNamespace.h"

namespace pagly::engine {
class CCActionManager;
class CCScheduler;

}  // namespace pagly::engine

namespace pagly::gui {

// Highlight state of a widget. Values are stored by documents and compared by callers.
enum BrightStyle : int { BrightNone = -1, BrightNormal = 0, BrightHighlight = 1 };

// What a touch listener is told. TouchEnded means released inside the widget (a click);
// TouchCancelled means released outside it, or the touch was cancelled.
enum WidgetTouchEvent : int { TouchBegan = 0, TouchMoved = 1, TouchEnded = 2, TouchCancelled = 3 };

// PlainWidget: the position is the anchor point. ContainerWidget: the lower-left corner.
enum WidgetKind : int { PlainWidget = 0, ContainerWidget = 1 };

// TextureLocal: an image file path. TexturePlist: a sprite-frame name in the frame cache.
// (A fixed underlying type: documents may carry other numbers, which must stay well-defined.)
enum TextureResType : int { TextureLocal = 0, TexturePlist = 1 };

// A touch listener: a member function of the target, called as target->*sel(sender, kind).
typedef void (CCObject::*SEL_TouchEvent)(CCObject* sender, WidgetTouchEvent kind);

class LayoutParameter;

// Base of every UI element. A widget is not an engine node: it owns one render node through
// which it is drawn, placed and coloured, and a list of child widgets kept sorted by z-order
// whose render nodes hang under its own, so the engine tree mirrors the widget tree.
// Two-phase creation: the constructor sets defaults, init() builds the render node.
class UIWidget : public CCObject {
  public:
    UIWidget();
    ~UIWidget() override;
    static UIWidget* create();

    // --- virtual operations, in their slot order ---
    virtual void setEnabled(bool enabled);
    virtual void setTouchEnabled(bool enabled);
    virtual bool addChild(UIWidget* child);
    virtual bool removeChild(UIWidget* child);
    virtual void removeFromParent();
    virtual void removeAllChildren();
    virtual void reorderChild(UIWidget* child);
    virtual CCArray* getChildren();
    virtual void setAnchorPoint(const CCPoint& anchor);
    virtual void setScale(float scale);
    virtual void setScaleX(float scaleX);
    virtual void setScaleY(float scaleY);
    virtual void setFlipX(bool flipX);
    virtual bool isFlipX();
    virtual void setFlipY(bool flipY);
    virtual bool isFlipY();
    virtual void setColor(const ccColor3B& color);
    virtual ccColor3B getColor();
    virtual void setOpacity(unsigned char opacity);
    virtual unsigned char getOpacity();
    virtual bool isCascadeOpacityEnabled();
    virtual void setCascadeOpacityEnabled(bool enabled);
    virtual bool isCascadeColorEnabled();
    virtual void setCascadeColorEnabled(bool enabled);
    virtual void setActionManager(CCActionManager* manager);
    virtual CCActionManager* getActionManager();
    virtual void onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point);
    virtual void setSize(const CCSize& size);
    virtual void setSizePercent(const CCPoint& percent);
    virtual bool hitTest(const CCPoint& worldPoint);
    // Parts of the widget's area that take touches, in its own points from its top left (a
    // sentence laid over several lines takes touches on its lines only, not on the parts of
    // its rectangle that its neighbours' words fill). None: the whole area.
    void setHitAreas(const std::vector<CCRect>& areas) { m_hitAreas = areas; }
    const std::vector<CCRect>& getHitAreas() const { return m_hitAreas; }
    virtual bool onTouchBegan(const CCPoint& touchPoint);
    virtual void onTouchMoved(const CCPoint& touchPoint);
    virtual void onTouchEnded(const CCPoint& touchPoint);
    virtual void onTouchCancelled(const CCPoint& touchPoint);
    virtual void onLongPress();
    virtual void setIgnoreSize(bool ignore);
    // The node that shows the widget's current look (the container node for plain widgets).
    virtual CCNode* getRenderNode();
    // The natural size of the content (texture or text); the effective size for plain widgets.
    virtual CCSize getContentSize();
    virtual std::string getDescription() const;
    virtual void onEnter();
    virtual void onExit();
    // Per-frame hook, called while the update is switched on (setUpdateEnabled).
    virtual void update(float dt);
    virtual bool init();

    // --- plain operations ---
    void setVisible(bool visible);
    bool isVisible() const { return m_bVisible; }
    void setBright(bool bright);
    bool isBright() const { return m_bBright; }
    void setBrightStyle(BrightStyle style);
    BrightStyle getBrightStyle() const { return m_eBrightStyle; }
    void setFocus(bool focus);
    bool isFocused() const { return m_bFocus; }
    bool isEnabled() const { return m_bEnabled; }
    bool isTouchEnabled() const { return m_bTouchEnabled; }

    void setPosition(const CCPoint& position);
    const CCPoint& getPosition() const;
    void setRotation(float degrees);
    float getRotation() const;
    float getScaleX() const;
    float getScaleY() const;
    const CCPoint& getAnchorPoint() const { return m_anchorPoint; }

    void setWidgetZOrder(int zOrder);
    int getWidgetZOrder() const { return m_nWidgetZOrder; }

    void setName(const char* name);
    const char* getName() const { return m_strName.c_str(); }
    void setTag(int tag) { m_nTag = tag; }
    int getTag() const { return m_nTag; }
    void setActionTag(int tag) { m_nActionTag = tag; }
    int getActionTag() const { return m_nActionTag; }
    UIWidget* getParent() const { return m_pParent; }
    const CCSize& getSize() const { return m_size; }
    const CCSize& getCustomSize() const { return m_customSize; }
    bool isIgnoreSize() const { return m_bIgnoreSize; }
    const CCPoint& getSizePercent() const { return m_sizePercent; }
    const CCPoint& getPositionPercent() const { return m_positionPercent; }
    WidgetKind getWidgetKind() const { return m_eWidgetKind; }
    bool isPassThrough() const { return m_bPassThrough; }
    bool isRunning() const { return m_bRunning; }
    LayoutParameter* getLayoutParameter() const { return m_pLayoutParameter.get(); }
    void setLayoutParameter(LayoutParameter* parameter);

    // Switches the per-frame update() on or off.
    void setUpdateEnabled(bool enabled);
    bool isUpdateEnabled() const { return m_bUpdateEnabled; }
    // Stops the per-frame update of this widget and of every descendant.
    void stopUpdatesRecursively();

    void addTouchListener(CCObject* target, SEL_TouchEvent selector);

    const CCPoint& getTouchStartPos() const { return m_touchStartPos; }
    const CCPoint& getTouchMovePos() const { return m_touchMovePos; }
    const CCPoint& getTouchEndPos() const { return m_touchEndPos; }

    // Edges in the parent's coordinates.
    float getLeftEdge();
    float getRightEdge();
    float getBottomEdge();
    float getTopEdge();

    // True when the point lies inside every clipping panel above this widget.
    bool clippingAncestorsContain(const CCPoint& worldPoint);

    // The node that carries this widget and its children's render nodes (created by
    // initRenderer). getRenderNode may instead return the node showing the current look.
    CCNode* getContainerNode() const { return m_pRender.get(); }

  protected:
    virtual void onSizeChanged();
    virtual void initRenderer();
    virtual void onStateNormal();
    virtual void onStatePressed();
    virtual void onStateDisabled();
    virtual void releaseResources();

    // Steps of init() shared with subclasses whose init differs (panels).
    void createChildrenArray();
    void takeScheduler();
    // Calls the listener, if any, with this widget and the kind.
    void callTouchListener(WidgetTouchEvent kind);
    // Keeps the size/position fractions of the parent's size while running.
    void updateSizePercent();
    void updatePositionPercent();

    // Declaration order follows the widget's documented field order.
    bool m_bEnabled = true;
    bool m_bVisible = true;
    bool m_bBright = false;
    bool m_bTouchEnabled = false;
    bool m_bPassThrough = false;
    bool m_bFocus = false;
    int m_nWidgetZOrder = 0;
    CCPoint m_anchorPoint{0.5f, 0.5f};
    UIWidget* m_pParent = nullptr;  // non-owning: the parent's children array owns this widget
    BrightStyle m_eBrightStyle = BrightNone;
    bool m_bUpdateEnabled = false;
    RefPtr<CCNode> m_pRender;
    CCPoint m_touchStartPos, m_touchMovePos, m_touchEndPos;
    CCObject* m_pTouchEventListener = nullptr;  // non-owning, as listeners always are
    SEL_TouchEvent m_pfnTouchEventSelector = nullptr;
    int m_nTag = -1;
    std::string m_strName = "default";
    WidgetKind m_eWidgetKind = PlainWidget;
    int m_nActionTag = 0;
    CCSize m_size;
    std::vector<CCRect> m_hitAreas;
    CCSize m_customSize;
    RefPtr<LayoutParameter> m_pLayoutParameter;
    bool m_bIgnoreSize = false;
    RefPtr<CCArray> m_children;
    RefPtr<CCScheduler> m_pScheduler;
    bool m_bRunning = false;
    CCPoint m_sizePercent;
    CCPoint m_positionPercent;
};

}  // namespace pagly::gui
