#pragma once

#include "gui/ContentLayout.h"
#include "gui/UIScrollInterface.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// Where the content of a drag panel rests (berth) or springs back to (bounce).
enum DragPanelDirection {
    DragPanelDirNone = 0,
    DragPanelDirLeftBottom = 1,
    DragPanelDirLeftTop = 2,
    DragPanelDirRightBottom = 3,
    DragPanelDirRightTop = 4,
    DragPanelDirLeft = 5,
    DragPanelDirTop = 6,
    DragPanelDirRight = 7,
    DragPanelDirBottom = 8,
};

// What a drag panel's listener is told: 0..7 the content came to rest against an edge or corner,
// 8..15 it sprang back to one (same places, same order).
enum DragPanelEventType {
    DragPanelEventBerthLeftBottom = 0,
    DragPanelEventBerthLeftTop = 1,
    DragPanelEventBerthRightBottom = 2,
    DragPanelEventBerthRightTop = 3,
    DragPanelEventBerthLeft = 4,
    DragPanelEventBerthTop = 5,
    DragPanelEventBerthRight = 6,
    DragPanelEventBerthBottom = 7,
    DragPanelEventBounceLeftBottom = 8,
    DragPanelEventBounceLeftTop = 9,
    DragPanelEventBounceRightBottom = 10,
    DragPanelEventBounceRightTop = 11,
    DragPanelEventBounceLeft = 12,
    DragPanelEventBounceTop = 13,
    DragPanelEventBounceRight = 14,
    DragPanelEventBounceBottom = 15,
};

// The eased move in progress: kinds of movement the panel animates itself.
enum DragPanelActionKind {
    DragPanelActionNone = 0,
    DragPanelActionMove = 1,
    DragPanelActionBounce = 2
};

typedef void (CCObject::*SEL_DragPanelEvent)(CCObject* sender, DragPanelEventType kind);

// A clipping panel whose content (kept in an inner container) the finger moves freely in both axes.
// A release glides on with an eased move; without bounce the content never uncovers the panel and
// reports when it rests against an edge or corner, with bounce it may be pulled past an edge and
// springs back. All movement advances with the director's frame step.
class UIDragPanel : public ContentLayout {
  public:
    UIDragPanel();
    ~UIDragPanel() override;
    static UIDragPanel* create();

    bool init() override;
    std::string getDescription() const override;

    void onTouchCancelled(const CCPoint& touchPoint) override;
    void onChildTouchEvent(WidgetTouchEvent kind, UIWidget* sender, const CCPoint& point) override;
    void update(float dt) override;

    void handlePressLogic(const CCPoint& touchPoint) override;
    void handleMoveLogic(const CCPoint& touchPoint) override;
    void handleReleaseLogic(const CCPoint& touchPoint) override;

    // Sizes the inner container (never smaller than the panel) and aligns it to the top.
    void setInnerContainerSize(const CCSize& size);
    const CCSize& getInnerContainerSize() const;

    void setBounceEnabled(bool enabled) { m_bBounceEnabled = enabled; }
    bool isBounceEnabled() const { return m_bBounceEnabled; }
    void addEventListener(CCObject* target, SEL_DragPanelEvent selector);

    // Lengths and ease rates of the glide after a release and of the spring-back. A rate must be
    // positive; other values are refused with a log line.
    void setAutoMoveDuration(float seconds) { m_fAutoMoveDuration = seconds; }
    float getAutoMoveDuration() const { return m_fAutoMoveDuration; }
    void setAutoMoveEaseRate(float rate);
    float getAutoMoveEaseRate() const { return m_fAutoMoveEaseRate; }
    void setBounceDuration(float seconds) { m_fBounceDuration = seconds; }
    float getBounceDuration() const { return m_fBounceDuration; }
    void setBounceEaseRate(float rate);
    float getBounceEaseRate() const { return m_fBounceEaseRate; }

    bool isPressed() const { return m_bTouchPressed; }
    bool isMoving() const { return m_bTouchMoved; }
    bool isReleased() const { return m_bTouchReleased; }
    bool isBouncingBack() const { return m_bBouncingBack; }
    // True while the panel animates its content (a glide or a spring-back).
    bool isAutoMoving() const { return m_bRunningAction; }
    int getActionKind() const { return m_eActionType; }
    int getBerthDirection() const { return m_eBerthDirection; }
    int getBounceDirection() const { return m_eBounceDirection; }
    float getSlideTime() const { return m_fSlideTime; }
    const CCPoint& getMoveBy() const { return m_moveBy; }
    float getMoveDuration() const { return m_fMoveDuration; }

  protected:
    void onSizeChanged() override;
    // A finger that stays near where it touched a child is still pressing it.
    bool hasLeftChild(UIWidget* sender, const CCPoint& touchPoint) const override;

  private:
    // The content's edges in the panel's space.
    struct Edges {
        float left, right, bottom, top;
    };
    Edges contentEdges();
    // Shortens a displacement so the content does not uncover any side of the panel.
    CCPoint clampToCover(const CCPoint& delta);
    bool uncoversPanel();
    // The edge or corner the content rests against, DragPanelDirNone if none.
    int berthCheck();
    // Starts the spring-back towards the nearest uncovered edge or corner; false if none.
    bool startBounce();
    void startAutoMove(int kind, const CCPoint& by, float duration);
    void stopAutoMove();
    void stepAutoMove(float dt);
    void moveInnerContainer(const CCPoint& delta);
    void fireEvent(int kind);

    bool m_bTouchPressed = false;
    bool m_bTouchMoved = false;
    bool m_bTouchReleased = false;
    bool m_bBouncingBack = false;
    CCPoint m_touchStartNodeSpace;
    CCPoint m_touchStartWorldSpace;
    CCPoint m_touchEndWorldSpace;
    float m_fSlideTime = 0.0f;
    int m_eActionType = DragPanelActionNone;
    float m_fAutoMoveDuration = 0.5f;
    float m_fAutoMoveEaseRate = 2.0f;
    int m_eBerthDirection = DragPanelDirNone;
    bool m_bBounceEnabled = false;
    int m_eBounceDirection = DragPanelDirNone;
    float m_fBounceDuration = 0.5f;
    float m_fBounceEaseRate = 2.0f;
    bool m_bRunningAction = false;
    bool m_bFirstTick = false;
    Layout* m_pMoveTarget = nullptr;  // the inner container while a move runs
    float m_fMoveDuration = 0.0f;
    float m_fMoveElapsed = 0.0f;
    CCPoint m_moveBy;
    CCPoint m_moveStartPos;
    CCPoint m_movePrevPos;
    CCObject* m_pDragPanelListener = nullptr;  // non-owning, as listeners always are
    SEL_DragPanelEvent m_pfnDragPanelSelector = nullptr;
};

}  // namespace pagly::gui
