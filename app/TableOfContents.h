#pragma once

#include "app/KeyHelp.h"
#include "app/ListHighlight.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCScene.h"

namespace pagly::engine {
class CCMenu;
}

namespace pagly {

// A scene that carries the main-page button in its lower right corner.
class TestScene : public engine::CCScene {
  public:
    void onEnter() override;
    // Builds the scene's content and makes it the running scene.
    virtual void show() = 0;
    // Callback of the main-page button.
    virtual void openMainPage(engine::CCObject* sender);
};

// The table of contents scene: a TestScene hosting a MenuLayerMainMenu.
class MenuTestScene : public TestScene {
  public:
    void show() override;
};

// The list of the chosen entry's pages: one line per page, flying in from the sides;
// draggable; a tap opens the page reader on that page.
class MenuLayerMainMenu : public engine::CCLayer {
  public:
    MenuLayerMainMenu();

    void onPageSelected(engine::CCObject* sender);
    void ccTouchesBegan(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesMoved(engine::CCSet* touches, engine::CCEvent* event) override;
    // Desktop keys: the arrow keys mark a line, Enter opens it, the mouse wheel scrolls the
    // list, Escape goes back to the main page (as the main-page button does), F1 or '?'
    // lists the keys.
    void keyPressed(int keyCode) override;

    engine::CCMenu* listMenu() const { return m_listMenu; }
    const ListHighlight& highlight() const { return m_highlight; }
    bool isKeyHelpShown() const { return m_keyHelp.isShown(); }
    // How far the list may be pushed up.
    static float dragLimit();

  private:
    engine::CCPoint m_listDragStart;
    engine::CCMenu* m_listMenu = nullptr;  // a child of this layer
    ListHighlight m_highlight;
    KeyHelp m_keyHelp;
};

// A new table-of-contents scene with one reference owned by the caller.
TestScene* createMenuTestScene();

}  // namespace pagly
