#pragma once

// The "JSON text -> widget tree" fuzz input, shared by the libFuzzer target and the test that
// replays the seed corpus and every input that once crashed. One input: the bytes become a
// document file, the reader builds its tree, the tree goes on stage and is drawn, its
// timelines are posed and played for a few frames, then everything is torn down the way a
// page scene's clean-up does. Engine objects left alive afterwards count as a failure.

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCObject.h"
#include "engine/base/RefPtr.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/render/SDLRenderer.h"
#include "gui/UILayer.h"
#include "gui/UIRootWidget.h"
#include "gui/UIWidget.h"
#include "gui/reader/ActionManager.h"
#include "gui/reader/ActionObject.h"
#include "gui/reader/CCSGUIReader.h"

namespace pagly::fuzz {

struct Workspace {
    std::string document;  // where each input is written
    engine::SDLRenderer* renderer = nullptr;
};

inline Workspace& workspace() {
    static Workspace w;
    return w;
}

// A private folder holding the input document beside links to the fixture images and sheets,
// so that inputs naming "images/btn.png" or "sheets/tiny.plist" find real files.
inline void setUp(const std::string& fixtures) {
    Workspace& w = workspace();
    if (!w.document.empty()) return;
    std::string base = (getenv("TMPDIR") && *getenv("TMPDIR")) ? getenv("TMPDIR") : "/tmp";
    std::string pattern = base + "/pagly-reader-fuzz-XXXXXX";
    char* dir = mkdtemp(&pattern[0]);
    std::string folder = dir ? dir : base;
    for (const char* sub : {"images", "sheets"}) {
        std::string link = folder + "/" + sub;
        if (symlink((fixtures + "/" + sub).c_str(), link.c_str()) != 0) { /* already there */
        }
    }
    w.document = folder + "/doc.json";
    engine::CCFileUtils::sharedFileUtils()->setResourceRoot(fixtures);
    w.renderer = engine::SDLRenderer::createOffscreen(64, 96);
}

// Removes the private folder again.
inline void removeFolder() {
    Workspace& w = workspace();
    if (w.document.empty()) return;
    std::string folder = w.document.substr(0, w.document.rfind('/'));
    unlink(w.document.c_str());
    for (const char* sub : {"images", "sheets"}) unlink((folder + "/" + sub).c_str());
    rmdir(folder.c_str());
    w.document.clear();
}

// Removes the private folder and the renderer.
inline void tearDown() {
    removeFolder();
    Workspace& w = workspace();
    delete w.renderer;
    w.renderer = nullptr;
}

// Whether every node under `node` is posed at finite numbers (a NaN pose draws nothing and
// poisons every transform below it).
inline bool posesAreFinite(engine::CCNode* node) {
    if (!node) return true;
    for (float v : {node->getPositionX(), node->getPositionY(), node->getScaleX(),
                    node->getScaleY(), node->getRotation()}) {
        if (!std::isfinite(v)) return false;
    }
    if (engine::CCArray* children = node->getChildren()) {
        for (engine::CCObject* child : *children) {
            if (!posesAreFinite(static_cast<engine::CCNode*>(child))) return false;
        }
    }
    return true;
}

enum class Outcome { Clean, Leaked, NonFinitePose };

// Runs one input: Clean, or what went wrong (engine objects left alive, a node posed at NaN
// or infinity by the document or its timelines).
inline Outcome readDocument(const uint8_t* data, size_t size) {
    using namespace pagly::engine;
    using namespace pagly::gui;
    Workspace& w = workspace();
    {
        std::ofstream out(w.document, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), (std::streamsize)size);
    }
    CCDirector* director = CCDirector::sharedDirector();
    director->reset();
    director->setRenderer(w.renderer);
    long baseline = CCObject::liveObjectCount();
    bool finite = true;
    {
        RefPtr<UIWidget> root = CCSGUIReader::instance()->loadWidgetTree(w.document.c_str());
        if (root) {
            CCScene* scene = CCScene::create();
            UILayer* layer = UILayer::create();
            scene->addChild(layer);
            layer->getRootWidget()->addChild(root.get());
            director->runWithScene(scene);
            if (CCArray* timelines = ActionManager::instance()->getActionList("doc.json")) {
                for (CCObject* object : *timelines) {
                    ActionObject* timeline = static_cast<ActionObject*>(object);
                    timeline->updateToTime(0.5f);
                    timeline->updateToTime(1e6f);
                    timeline->play();
                }
            }
            for (int frame = 0; frame < 3; ++frame) director->mainLoop(1.0f / 60.0f);
            finite = posesAreFinite(layer);
            // Timelines hold their widgets without owning them: they go first.
            ActionManager::destroyInstance();
        }
    }
    director->reset();
    director->setRenderer(nullptr);
    gui::destroyDocumentSingletons();
    if (CCObject::liveObjectCount() != baseline) return Outcome::Leaked;
    return finite ? Outcome::Clean : Outcome::NonFinitePose;
}

}  // namespace pagly::fuzz
