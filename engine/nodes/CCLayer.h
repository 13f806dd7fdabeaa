#pragma once

#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {

// A full-screen node that can take touches (all at once or one by one) and keys.
class CCLayer : public CCNode,
                public CCTargetedTouchDelegate,
                public CCStandardTouchDelegate,
                public CCKeypadDelegate {
  public:
    CCLayer();
    ~CCLayer() override;
    static CCLayer* create();
    bool init() override;

    void onEnter() override;
    void onExit() override;

    // Registers with the touch dispatcher: standard delegate in all-at-once mode, targeted
    // and swallowing in one-by-one mode.
    virtual void registerWithTouchDispatcher();
    virtual bool isTouchEnabled() const { return m_bTouchEnabled; }
    virtual void setTouchEnabled(bool enabled);
    virtual void setTouchMode(int mode);
    virtual int getTouchMode() const { return m_eTouchMode; }
    virtual void setTouchPriority(int priority);
    virtual int getTouchPriority() const { return m_nTouchPriority; }

    // Accelerometer input does not exist on the desktop; kept so callers compile.
    virtual bool isAccelerometerEnabled() const { return false; }
    virtual void setAccelerometerEnabled(bool) {}

    virtual bool isKeypadEnabled() const { return m_bKeypadEnabled; }
    virtual void setKeypadEnabled(bool enabled);

    // One-by-one touch mode: the layer claims nothing unless a subclass says so.
    bool ccTouchBegan(CCTouch* touch, CCEvent* event) override;

  protected:
    bool m_bTouchEnabled = false;
    bool m_bKeypadEnabled = false;
    int m_eTouchMode = kTouchesAllAtOnce;
    int m_nTouchPriority = 0;
    bool m_bRegistered = false;

  private:
    void unregisterTouches();
};

}  // namespace pagly::engine
