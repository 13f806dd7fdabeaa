#pragma once

#include <string>

namespace pagly::engine {
class CCMenuItem;
class CCNode;
}  // namespace pagly::engine

namespace pagly {

// The main page's "Go on" entry: a tab in its top right corner, beside the units, naming the
// page read last with its unit ("Unit 2, page 14"; on a first run "Start", the book's first
// page). A tap opens that page, as Enter with no line marked does. Its menu is its own, so the
// list of units keeps its entries, its order and its drag.
engine::CCMenuItem* addContinueEntry(engine::CCNode* mainPage);

// The page the entry opens: the one read last, else the book's first.
int continuePage();
// Opens it (the entry's tap and Enter with no line marked).
void openContinuePage();
// What the entry says under "Go on": the unit that lists the page and the page.
std::string continuePlace(int page);

const int kContinueEntryTag = 7480;

}  // namespace pagly
