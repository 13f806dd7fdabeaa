#pragma once

namespace pagly::engine {
class CCMenuItem;
class CCMenuItemImage;
}  // namespace pagly::engine

namespace pagly {

class PageLayer;

// The bar of controls under a page: previous, play/pause, next, the main-page text and the
// (hidden) settings text, wired to the page layer's menu callbacks. Items whose pictures are
// missing still get a size, so that a mouse user is never left without a way on.
struct PageControls {
    engine::CCMenuItemImage* previous = nullptr;  // the menu's children
    engine::CCMenuItemImage* playPause = nullptr;
    engine::CCMenuItemImage* next = nullptr;
    engine::CCMenuItem* mainPage = nullptr;
    engine::CCMenuItem* settings = nullptr;
};

// Adds the bar's menu to `page` at `menuZOrder`.
PageControls addPageControls(PageLayer* page, int menuZOrder);

}  // namespace pagly
