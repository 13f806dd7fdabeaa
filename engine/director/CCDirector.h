#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace pagly::engine {

class CCActionManager;
class CCEGLView;
class CCKeypadDispatcher;
class CCScene;
class CCScheduler;
class CCTouchDispatcher;
class Renderer;

// The one director: holds the running scene, switches scenes, and steps a frame
// (scheduler and actions by dt, scene switch, drawing, autorelease pool).
class CCDirector : public CCObject {
  public:
    static CCDirector* sharedDirector();
    // Null once the process is tearing the director down.
    static CCDirector* sharedDirectorIfAlive();

    void setOpenGLView(CCEGLView* view);
    CCEGLView* getOpenGLView() const { return m_pobOpenGLView; }
    // Where frames are drawn; null draws nothing (headless tests).
    void setRenderer(Renderer* renderer) { m_pRenderer = renderer; }
    Renderer* getRenderer() const { return m_pRenderer; }

    void runWithScene(CCScene* scene);
    // The switch happens at the start of the next frame.
    void replaceScene(CCScene* scene);
    CCScene* getRunningScene() const { return m_pRunningScene; }
    CCScene* getNextScene() const { return m_pNextScene; }

    // The design-resolution size.
    CCSize getWinSize() const { return m_obWinSize; }
    void setWinSize(const CCSize& size) { m_obWinSize = size; }
    CCSize getVisibleSize() const;
    CCPoint getVisibleOrigin() const;

    void setDepthTest(bool on) { m_bDepthTest = on; }
    bool isDepthTest() const { return m_bDepthTest; }
    void setAnimationInterval(double interval);
    double getAnimationInterval() const { return m_dAnimationInterval; }
    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return !m_bInvalid; }
    void purgeCachedData();

    // One frame: scheduler and actions advance by dt, a pending scene switch happens, the
    // running scene is drawn when something changed, and the autorelease pool is drained.
    void mainLoop(float dt);
    // True when the next frame has something to show now: a scene to switch to or a change
    // to draw (the loop then draws at once instead of waiting for its next tick).
    bool needsFrameNow() const;
    // How long a scene must have run on its own, with nothing being prepared for it, before
    // the memory freed since the last switch is given back to the system.
    static constexpr double kTrimAfterSeconds = 5.0;
    // Seconds until a frame has work to do: 0 while actions run or something waits to be
    // drawn, the time to the next scheduled callback otherwise, negative when nothing at all
    // will happen until input arrives (the loop then sleeps until it does).
    double secondsUntilWork() const;
    // Draws the running scene now, whether or not anything changed.
    void drawScene();
    unsigned int getTotalFrames() const { return m_uTotalFrames; }
    unsigned int getDrawnFrames() const { return m_uDrawnFrames; }
    double getElapsedTime() const { return m_dElapsed; }

    CCScheduler* getScheduler() const { return m_pScheduler; }
    CCActionManager* getActionManager() const { return m_pActionManager; }
    CCTouchDispatcher* getTouchDispatcher() const { return m_pTouchDispatcher; }
    CCKeypadDispatcher* getKeypadDispatcher() const { return m_pKeypadDispatcher; }

    // Drops every scene, callback, action and delegate and drains the pool: a fresh start
    // for the next test.
    void reset();

  private:
    CCDirector();
    ~CCDirector() override;
    void setNextScene();
    // Gives freed memory back to the system once after a scene switch, when the new scene has
    // run on its own for kTrimAfterSeconds with nothing being prepared for it.
    void trimMemoryWhenSettled();

    CCEGLView* m_pobOpenGLView = nullptr;  // non-owning: the view is the platform's
    Renderer* m_pRenderer = nullptr;       // non-owning: owned by the view
    CCScene* m_pRunningScene = nullptr;    // owned
    CCScene* m_pNextScene = nullptr;       // owned
    CCScheduler* m_pScheduler = nullptr;
    CCActionManager* m_pActionManager = nullptr;
    CCTouchDispatcher* m_pTouchDispatcher = nullptr;
    CCKeypadDispatcher* m_pKeypadDispatcher = nullptr;
    CCSize m_obWinSize;
    double m_dAnimationInterval = 1.0 / 60;
    double m_dElapsed = 0;
    bool m_bDepthTest = false;
    bool m_bInvalid = false;
    bool m_bTrimMemory = false;
    double m_dTrimAt = -1;  // when the pending trim is due (director time), or -1 until settled
    unsigned int m_uTotalFrames = 0;
    unsigned int m_uDrawnFrames = 0;
};

}  // namespace pagly::engine
