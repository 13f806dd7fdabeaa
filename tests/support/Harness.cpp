#include "support/Harness.h"

#include <map>

#include "engine/base/CCObject.h"
#include "engine/base/CCSet.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCTouch.h"
#include "engine/director/CCTouchDispatcher.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/UnusableFiles.h"

using namespace pagly::engine;

namespace pagly::test {

namespace {
const double kFrame = 1.0 / 60.0;
std::vector<std::string> g_log;
void captureLog(const char* line) { g_log.emplace_back(line); }
std::map<int, CCTouch*> g_touches;
}  // namespace

void EngineTest::SetUp() {
    g_log.clear();
    // Each test is a run of its own: a file named by an earlier test is named again.
    forgetUnusableFiles();
    CCSetLogSink(captureLog);
    CCDirector::sharedDirector()->reset();
    m_baseline = CCObject::liveObjectCount();
    m_now = 0;
}

void EngineTest::TearDown() {
    for (auto& t : g_touches) t.second->release();
    g_touches.clear();
    CCDirector::sharedDirector()->reset();
    CCSetLogSink(nullptr);
    if (m_checkLeaks) {
        EXPECT_EQ(m_baseline, CCObject::liveObjectCount())
            << "engine objects leaked (or were freed twice) during this test";
    }
}

void EngineTest::step() {
    CCDirector::sharedDirector()->mainLoop((float)kFrame);
    m_now += kFrame;
}

void EngineTest::advance(double seconds) {
    // Round to whole frames; a tiny epsilon keeps 0.5 s from becoming 29 frames.
    int frames = (int)(seconds / kFrame + 1e-6);
    for (int i = 0; i < frames; ++i) step();
}

void EngineTest::run(CCScene* scene) {
    CCDirector* director = CCDirector::sharedDirector();
    if (director->getRunningScene()) {
        director->replaceScene(scene);
    } else {
        director->runWithScene(scene);
    }
    step();
}

void EngineTest::dispatch(int phase, float x, float y, int id) {
    CCTouch* touch = nullptr;
    if (phase == CCTouchDispatcher::Began) {
        auto it = g_touches.find(id);
        if (it != g_touches.end()) it->second->release();
        touch = new CCTouch();
        g_touches[id] = touch;
    } else {
        auto it = g_touches.find(id);
        if (it == g_touches.end()) return;
        touch = it->second;
    }
    touch->setTouchInfo(id, x, y);
    CCSet* set = new CCSet();
    set->addObject(touch);
    CCDirector::sharedDirector()->getTouchDispatcher()->touches(
        set, nullptr, (CCTouchDispatcher::TouchPhase)phase);
    set->release();
    if (phase == CCTouchDispatcher::Ended || phase == CCTouchDispatcher::Cancelled) {
        g_touches.erase(id);
        touch->release();
    }
}

void EngineTest::touchDown(float x, float y, int id) {
    dispatch(CCTouchDispatcher::Began, x, y, id);
}
void EngineTest::touchMove(float x, float y, int id) {
    dispatch(CCTouchDispatcher::Moved, x, y, id);
}
void EngineTest::touchUp(float x, float y, int id) { dispatch(CCTouchDispatcher::Ended, x, y, id); }
void EngineTest::touchCancel(float x, float y, int id) {
    dispatch(CCTouchDispatcher::Cancelled, x, y, id);
}

void EngineTest::tap(float x, float y) {
    touchDown(x, y);
    step();
    touchUp(x, y);
    step();
}

void EngineTest::drag(const CCPoint& from, const CCPoint& to, int steps) {
    if (steps < 1) steps = 1;
    touchDown(from.x, from.y);
    step();
    for (int i = 1; i <= steps; ++i) {
        CCPoint p = from + (to - from) * ((float)i / steps);
        touchMove(p.x, p.y);
        step();
    }
    touchUp(to.x, to.y);
    step();
}

const std::vector<std::string>& EngineTest::logLines() const { return g_log; }

bool EngineTest::logged(const std::string& line) const {
    for (const std::string& l : g_log)
        if (l == line) return true;
    return false;
}

void EngineTest::clearLog() { g_log.clear(); }

}  // namespace pagly::test
