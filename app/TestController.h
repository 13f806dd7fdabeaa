#pragma once

#include <string>

#include "app/KeyHelp.h"
#include "app/ListHighlight.h"
#include "engine/nodes/CCLayer.h"

namespace pagly::engine {
class CCMenu;
class CCMenuItemImage;
}  // namespace pagly::engine

namespace pagly {

// The main page: a draggable list of the book's units (and its word list) over a green
// background on which a small figure walks to and fro. Built completely by its constructor.
class TestController : public engine::CCLayer {
  public:
    TestController();

    // Menu callback of every entry: remembers the entry and opens its table of contents.
    void onUnitSelected(engine::CCObject* sender);

    void ccTouchesBegan(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesMoved(engine::CCSet* touches, engine::CCEvent* event) override;
    // Desktop keys: the arrow keys mark an entry, Enter opens it (with none marked, the page
    // read last), the mouse wheel scrolls the list, F1 or '?' lists the keys.
    void keyPressed(int keyCode) override;

    engine::CCMenu* listMenu() const { return m_listMenu; }
    const ListHighlight& highlight() const { return m_highlight; }
    bool isKeyHelpShown() const { return m_keyHelp.isShown(); }

    // Where the first-run marker lives: beside the book when it is there or can be written
    // there, else in the user's data folder.
    static std::string firstRunMarkerPath();
    static const char* const kFirstRunMarkerLine;

  private:
    void writeFirstRunMarker();
    static float dragLimit();

    engine::CCPoint m_listDragStart;
    engine::CCMenu* m_listMenu = nullptr;           // a child of this layer
    engine::CCMenuItemImage* m_hintItem = nullptr;  // a child of the list menu
    ListHighlight m_highlight;
    KeyHelp m_keyHelp;
};

}  // namespace pagly
