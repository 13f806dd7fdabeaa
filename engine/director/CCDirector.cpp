#include "engine/director/CCDirector.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCRedraw.h"
#include "engine/director/CCKeypadDispatcher.h"
#include "engine/director/CCScheduler.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCScene.h"
#include "engine/nodes/CCSpriteFrameCache.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/Renderer.h"
#include "engine/transitions/SceneCapture.h"

namespace pagly::engine {

namespace {
CCDirector* s_director = nullptr;
bool s_directorGone = false;

void destroyDirectorAtExit() {
    if (s_director) {
        s_director->reset();
        s_director->release();
    }
}
}  // namespace

CCDirector* CCDirector::sharedDirector() {
    if (!s_director && !s_directorGone) {
        s_director = new CCDirector();
        atexit(destroyDirectorAtExit);
    }
    return s_director;
}

CCDirector* CCDirector::sharedDirectorIfAlive() { return s_director; }

CCDirector::CCDirector()
    : m_pScheduler(new CCScheduler()),
      m_pActionManager(new CCActionManager()),
      m_pTouchDispatcher(new CCTouchDispatcher()),
      m_pKeypadDispatcher(new CCKeypadDispatcher()),
      m_obWinSize(640, 960) {}

CCDirector::~CCDirector() {
    // Nodes destroyed from here on must not reach back into a half-destroyed director.
    CCScheduler* scheduler = m_pScheduler;
    CCActionManager* actions = m_pActionManager;
    s_director = nullptr;
    s_directorGone = true;
    m_pTouchDispatcher->release();
    m_pKeypadDispatcher->release();
    actions->release();
    scheduler->release();
}

void CCDirector::setOpenGLView(CCEGLView* view) { m_pobOpenGLView = view; }

CCSize CCDirector::getVisibleSize() const { return m_obWinSize; }
CCPoint CCDirector::getVisibleOrigin() const { return CCPointZero; }

void CCDirector::runWithScene(CCScene* scene) {
    if (!scene) return;
    if (m_pRunningScene || m_pNextScene) {
        CCLog("runWithScene: a scene is already running; use replaceScene");
        return;
    }
    replaceScene(scene);
    startAnimation();
}

void CCDirector::replaceScene(CCScene* scene) {
    if (!scene) return;
    scene->retain();
    if (m_pNextScene) m_pNextScene->release();  // a second replace in the same frame wins
    m_pNextScene = scene;
    ccRequestRedraw();
}

void CCDirector::setNextScene() {
    CCScene* next = m_pNextScene;
    m_pNextScene = nullptr;
    CCScene* old = m_pRunningScene;
    // Only a finished transition's own incoming scene arrives already entered; anything
    // else (a scene or transition replacing an unfinished one) enters here.
    bool handedOver = old && old->handedOverScene() == next;
    bool newIsTransition = next->isTransitionScene();

    // A transition takes over the outgoing scene's callbacks; when it finishes, its own
    // onExit ends the outgoing scene and tells the incoming one that the transition is over.
    // An unfinished transition replaced by anything is cut short now, or it would finish
    // later and bring its own incoming scene back.
    bool oldIsUnfinishedTransition = old && old->isTransitionScene() && !old->handedOverScene();
    if (old && (!newIsTransition || oldIsUnfinishedTransition)) {
        old->onExitTransitionDidStart();
        old->onExit();
        old->cleanup();
    }
    m_pRunningScene = next;  // the reference taken in replaceScene moves here
    if (!handedOver) {
        next->onEnter();
        next->onEnterTransitionDidFinish();
    }
    // A key held through a transition reaches the scene it handed over, which has now heard
    // that its transition is over.
    m_pKeypadDispatcher->sceneSwitched(old, handedOver);
    if (old) old->release();
    m_bTrimMemory = true;
    m_dTrimAt = -1;
    ccRequestRedraw();
}

void CCDirector::trimMemoryWhenSettled() {
    if (!m_bTrimMemory) return;
    if ((m_pRunningScene && m_pRunningScene->isTransitionScene()) ||
        CCTextureCache::sharedTextureCache()->isPreparing()) {
        m_dTrimAt = -1;
        return;
    }
    // A scene switch frees megabytes (pictures of pages left behind, decoding buffers) that
    // glibc keeps in its heap unless asked; its own free-part counter cannot tell how much of
    // that is still resident. After a trim the next turn faults in anew the pages its page
    // build and first frame need, so the trim waits until the learner has settled on the page:
    // after one second it fell just before the next key of a learner paging every 1.5 to 2 s,
    // and that turn came 1.5 to 15 ms later (more on a busy machine).
    if (m_dTrimAt < 0) {
        m_dTrimAt = m_dElapsed + kTrimAfterSeconds;
        return;
    }
    if (m_dElapsed < m_dTrimAt) return;
    m_bTrimMemory = false;
    m_dTrimAt = -1;
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void CCDirector::setAnimationInterval(double interval) {
    // Longer than a second is no frame rate; the main loop turns the interval into integer
    // clock ticks, where an absurd value would overflow.
    if (interval > 0 && interval <= 1) m_dAnimationInterval = interval;
}

void CCDirector::startAnimation() {
    m_bInvalid = false;
    ccRequestRedraw();
}

void CCDirector::stopAnimation() { m_bInvalid = true; }

void CCDirector::purgeCachedData() {
    // Frames hold textures, so they go first.
    CCSpriteFrameCache::purgeSharedSpriteFrameCache();
    CCTextureCache::purgeSharedTextureCache();
    SceneCapture::dropSpareTexture();
}

void CCDirector::mainLoop(float dt) {
    if (!m_bInvalid) {
        // Also NaN and infinity: they would stick in every timer, action and the clock.
        if (!(dt >= 0) || std::isinf(dt)) dt = 0;
        m_dElapsed += dt;
        ++m_uTotalFrames;
        m_pActionManager->update(dt);
        m_pScheduler->update(dt);
        if (m_pNextScene) setNextScene();
        if (m_pRenderer && ccNeedsRedraw()) drawScene();
        // After drawing, so it never holds a frame up: one prepared image per frame is taken
        // in and made ready on the device.
        CCTextureCache* textures = CCTextureCache::sharedTextureCache();
        if (textures->isPreparing())
            if (CCTexture2D* t = textures->takePreparedImage())
                if (m_pRenderer) m_pRenderer->prepareTexture(t);
    }
    CCAutoreleasePool::sharedPool()->drain();
    if (!m_bInvalid) trimMemoryWhenSettled();
}

bool CCDirector::needsFrameNow() const {
    return !m_bInvalid && (m_pNextScene || (m_pRenderer && ccNeedsRedraw()));
}

double CCDirector::secondsUntilWork() const {
    if (m_bInvalid) return -1;  // stopped (minimised): only input or window events wake it
    if (needsFrameNow() || m_pActionManager->runningActionCount() > 0) return 0;
    double next = m_pScheduler->secondsUntilNextCall();
    // Prepared images are taken in a frame at a time; the helper thread cannot wake the loop.
    const double kPreparedImagePoll = 0.02;
    if (CCTextureCache::sharedTextureCache()->isPreparing() &&
        (next < 0 || next > kPreparedImagePoll))
        return kPreparedImagePoll;
    // A still page must wake once more for its pending trim.
    if (m_bTrimMemory && m_dTrimAt >= 0) {
        double trim = std::max(0.0, m_dTrimAt - m_dElapsed);
        if (next < 0 || trim < next) next = trim;
    }
    return next;
}

void CCDirector::drawScene() {
    if (!m_pRenderer) return;
    ccClearRedraw();
    m_pRenderer->beginFrame();
    if (m_pRunningScene) m_pRunningScene->visit(m_pRenderer);
    m_pRenderer->endFrame();
    ++m_uDrawnFrames;
}

void CCDirector::reset() {
    if (m_pRunningScene) {
        CCScene* scene = m_pRunningScene;
        if (scene->isRunning()) {
            scene->onExitTransitionDidStart();
            scene->onExit();
        }
        scene->cleanup();
        m_pRunningScene = nullptr;
        scene->release();
    }
    if (m_pNextScene) {
        CCScene* next = m_pNextScene;
        m_pNextScene = nullptr;
        next->release();
    }
    m_pScheduler->unscheduleAll();
    m_pActionManager->removeAllActions();
    m_pTouchDispatcher->removeAllDelegates();
    m_pTouchDispatcher->setDispatchEvents(true);
    m_pKeypadDispatcher->removeAllDelegates();
    m_pKeypadDispatcher->dropHeldKey();
    CCAutoreleasePool::sharedPool()->drain();
    // Cached textures and frames would otherwise outlive the test that loaded them.
    purgeCachedData();
    m_bDepthTest = false;
    m_bInvalid = false;
    m_dElapsed = 0;
    m_uTotalFrames = m_uDrawnFrames = 0;
    ccRequestRedraw();
}

}  // namespace pagly::engine
