#pragma once

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCScene.h"

namespace pagly::engine {

// Which way a transition moves or flips.
enum TransitionOrientation {
    kTransitionOrientationLeftOver = 0,
    kTransitionOrientationRightOver = 1,
    kTransitionOrientationUpOver = 0,
    kTransitionOrientationDownOver = 1,
};

// A scene that shows the way from the running (outgoing) scene to an incoming one over a
// duration, then hands the incoming scene to the director.
//
// Both scenes are members, not children. The transition runs their lifecycle: when it starts,
// the outgoing scene gets onExitTransitionDidStart and the incoming one onEnter; when it has
// finished and the director takes it down, the outgoing scene gets onExit (and cleanup) and
// the incoming one onEnterTransitionDidFinish. The outgoing scene is released then. Touches
// are not dispatched while it runs. A transition cut short (dropped by the director before it
// finished) ends both scenes instead.
//
// Time: the frame that shows the transition counts as its first frame interval (so that frame
// already shows it moving), then it advances by each frame's dt in its scheduled update: a
// 0.5 s transition at 60 frames a second finishes at the 29th frame after the one that showed
// it, and a duration of 0 at the first.
class CCTransitionScene : public CCScene {
  public:
    CCTransitionScene();
    ~CCTransitionScene() override;

    // A plain transition: shows the outgoing scene, then the incoming one.
    static CCTransitionScene* create(float duration, CCScene* scene);
    // False (and the caller gets no transition) for a null scene, or for the running scene
    // itself.
    virtual bool initWithDuration(float duration, CCScene* scene);

    bool isTransitionScene() const override { return true; }
    CCScene* getInScene() const { return m_pInScene.get(); }
    CCScene* getOutScene() const { return m_pOutScene.get(); }
    float getDuration() const { return m_fDuration; }
    // 0..1: how far the transition has come.
    float getProgress() const;
    bool isFinished() const { return m_bFinished; }
    CCScene* handedOverScene() const override { return m_bFinished ? m_pInScene.get() : nullptr; }

    void onEnter() override;
    void onExit() override;
    void cleanup() override;
    void update(float dt) override;
    // Draws both scenes, the one on top last.
    void draw(Renderer* renderer) override;

    // Ends the transition now: the director switches to the incoming scene at this frame's
    // scene switch. Safe to call more than once.
    void finish();

  protected:
    // Called once when the transition is over (finished or cut short), before the incoming
    // scene hears that it has finished: a transition lets go of what it drew with here.
    virtual void transitionEnded() {}
    // Whether the incoming scene is drawn above the outgoing one (the default).
    virtual bool isInSceneOnTop() const { return true; }
    // Called once per frame with the progress 0..1 (after time has advanced).
    virtual void progressChanged(float) {}

    RefPtr<CCScene> m_pInScene;
    RefPtr<CCScene> m_pOutScene;
    float m_fDuration = 0;
    double m_elapsed = 0;
    bool m_bStarted = false;
    bool m_bFinished = false;
    bool m_bEnded = false;  // the scenes' closing callbacks have run
};

}  // namespace pagly::engine
