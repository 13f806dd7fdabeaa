#pragma once

namespace pagly {
class PageLayer;

// Every way from one screen to another goes through here, so that the screens never include each
// other: each builds the next screen in a new scene and replaces the running scene with it.
namespace navigator {

// A fresh main page in a plain scene, no transition.
void showMainPage();
// The table of contents of the session's selected unit, no transition.
void showContents();
// The page reader on the session's current page in a new page scene, no transition (the way in
// from the contents and the main page).
void openPage();
// Hands the screen to `layer` (a new page layer, one reference owned by the caller, dropped
// here) with the page curl, backwards when turning back.
void turnPage(PageLayer* layer, bool backwards);
// The settings overlay, with the zoom flip.
void openSettings();
// Back from the settings overlay to the current page, rebuilt from its first sentence.
void returnFromSettings();

}  // namespace navigator
}  // namespace pagly
