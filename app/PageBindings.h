#pragma once

namespace pagly {

class Book;
class PageLayer;

// The page reader's keys and swipe: one table of key, help text and action, which also gives the
// F1 list its lines, and the rule by which a finger moving across the page turns it.
struct PageKey {
    int code;          // a CCKeyCode; kKeyUnknown for a line the view or the list handles
    const char* help;  // "keys: what they do", on the first key of a line; else null
    void (*act)(PageLayer& page);
};

// Acts on `keyCode` on `page`; false when the page has nothing for it.
bool runPageKey(PageLayer& page, int keyCode);
// The F1 list of the page reader: its help lines in table order, ending with a null.
const char* const* pageKeyHelpLines();

// A swipe from `startX` to `x` on `page`: -1 to the previous page (the finger moved right at
// least the swipe distance), +1 to the next, 0 for neither or when the book ends that way.
int swipeDirection(float startX, float x, int page, const Book& book);

}  // namespace pagly
