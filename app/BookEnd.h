#pragma once

namespace pagly::engine {
class CCMenuItemImage;
class CCNode;
}  // namespace pagly::engine

namespace pagly {

// The last page of a book says so: a sign at its top ("The end!"), above every sentence of the
// course book's pages, and the next arrow, which has nowhere to go, is shown faded and switched
// off.
void showBookEnd(engine::CCNode* page, engine::CCMenuItemImage* next);

// The sign's tag on its page.
const int kBookEndTag = 7470;

}  // namespace pagly
