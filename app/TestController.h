#pragma once

#include <string>

#include "engine/nodes/CCLayer.h"

namespace pagly::engine {
class CCMenu;
class CCMenuItemImage;
}  // namespace pagly::engine

namespace pagly {

// The main page: a draggable list of the eight units and the word list over a green
// background on which a small figure walks to and fro. Built completely by its constructor.
class TestController : public engine::CCLayer {
  public:
    TestController();

    // Menu callback of every entry: remembers the entry and opens its table of contents.
    void onUnitSelected(engine::CCObject* sender);

    void ccTouchesBegan(engine::CCSet* touches, engine::CCEvent* event) override;
    void ccTouchesMoved(engine::CCSet* touches, engine::CCEvent* event) override;
    // Up and Down (and the mouse wheel) scroll the list on the desktop.
    void keyPressed(int keyCode) override;

    engine::CCMenu* listMenu() const { return m_listMenu; }

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
};

// Builds a fresh main page in a plain scene and replaces the running scene with it.
void showMainPage();

}  // namespace pagly
