#pragma once

namespace pagly::engine {
class CCMenuItemImage;
class CCNode;
}  // namespace pagly::engine

namespace pagly {

// The last page of a book says so: the next arrow, which has nowhere to go, is shown faded and
// switched off, and a sign over the middle of the page ("The end!") says it for a few seconds,
// then fades, leaving the sentences to read.
void showBookEnd(engine::CCNode* page, engine::CCMenuItemImage* next);
// The sign alone (reading on has reached the end).
void sayBookEnd(engine::CCNode* page);

// The sign's tag on its page, and how long it stays (held, then faded).
const int kBookEndTag = 7470;
const float kBookEndSeconds = 5;

}  // namespace pagly
