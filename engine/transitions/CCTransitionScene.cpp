#include "engine/transitions/CCTransitionScene.h"

#include "engine/actions/CCActionInterval.h"
#include "engine/base/CCRedraw.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCTouchDispatcher.h"

namespace pagly::engine {

namespace {
void setTouchDispatch(bool on) {
    if (CCDirector* d = CCDirector::sharedDirectorIfAlive())
        d->getTouchDispatcher()->setDispatchEvents(on);
}
}  // namespace

CCTransitionScene::CCTransitionScene() = default;
CCTransitionScene::~CCTransitionScene() = default;

CCTransitionScene* CCTransitionScene::create(float duration, CCScene* scene) {
    CCTransitionScene* t = new CCTransitionScene();
    if (!t->initWithDuration(duration, scene)) {
        t->release();
        return nullptr;
    }
    t->autorelease();
    return t;
}

bool CCTransitionScene::initWithDuration(float duration, CCScene* scene) {
    if (!scene) {
        CCLog("CCTransitionScene: no incoming scene; no transition made");
        return false;
    }
    CCDirector* director = CCDirector::sharedDirector();
    if (scene == director->getRunningScene()) {
        CCLog("CCTransitionScene: the incoming scene is the running scene; no transition made");
        return false;
    }
    if (!CCScene::init()) return false;
    m_fDuration = (duration > 0) ? duration : 0;  // also turns NaN into 0
    m_pInScene = scene;
    m_pOutScene = director->getRunningScene();
    return true;
}

float CCTransitionScene::getProgress() const {
    if (m_bFinished || m_fDuration <= kActionTimeEpsilon) return 1;
    if (m_elapsed >= m_fDuration - kActionTimeEpsilon) return 1;
    return (float)(m_elapsed / m_fDuration);
}

void CCTransitionScene::onEnter() {
    CCScene::onEnter();
    if (m_bStarted) return;  // entered once already; the scenes are under way
    m_bStarted = true;
    setTouchDispatch(false);
    if (m_pOutScene) m_pOutScene->onExitTransitionDidStart();
    m_pInScene->onEnter();
    // The frame that shows the transition is already its first step: what the learner asked
    // for starts moving in the very next frame, not one frame later.
    if (CCDirector* d = CCDirector::sharedDirectorIfAlive()) m_elapsed = d->getAnimationInterval();
    scheduleUpdate();
    progressChanged(getProgress());
    ccRequestRedraw();
}

void CCTransitionScene::update(float dt) {
    if (m_bFinished) return;
    if (dt > 0) m_elapsed += dt;
    ccRequestRedraw();
    progressChanged(getProgress());
    if (m_elapsed >= m_fDuration - kActionTimeEpsilon) finish();
}

void CCTransitionScene::finish() {
    if (m_bFinished || !m_bStarted) return;
    m_bFinished = true;
    unscheduleUpdate();
    setTouchDispatch(true);
    ccRequestRedraw();
    if (CCDirector* d = CCDirector::sharedDirectorIfAlive()) d->replaceScene(m_pInScene);
}

void CCTransitionScene::onExit() {
    CCScene::onExit();
    setTouchDispatch(true);
    if (!m_bStarted || m_bEnded) return;
    m_bEnded = true;
    transitionEnded();
    // Hold both scenes: their callbacks may replace scenes and drop references.
    RefPtr<CCScene> out = m_pOutScene;
    RefPtr<CCScene> in = m_pInScene;
    if (out) out->onExit();
    if (m_bFinished) {
        in->onEnterTransitionDidFinish();
    } else {
        // Cut short: the incoming scene never became the running scene; it leaves as well.
        in->onExitTransitionDidStart();
        in->onExit();
    }
}

void CCTransitionScene::cleanup() {
    CCScene::cleanup();
    if (m_pOutScene) m_pOutScene->cleanup();
    if (m_bStarted && !m_bFinished && m_pInScene) m_pInScene->cleanup();
    // The outgoing scene is over: let it go now rather than with the transition.
    if (m_bEnded) m_pOutScene.reset();
}

void CCTransitionScene::draw(Renderer* renderer) {
    CCScene* bottom = isInSceneOnTop() ? m_pOutScene.get() : m_pInScene.get();
    CCScene* top = isInSceneOnTop() ? m_pInScene.get() : m_pOutScene.get();
    if (bottom) bottom->visit(renderer);
    if (top) top->visit(renderer);
}

}  // namespace pagly::engine
