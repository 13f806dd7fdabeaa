#pragma once

#include <string>

namespace pagly::engine {
class CCNode;
}

namespace pagly {

class Book;

// What the main page stands on: the course book's green ground with its walking boy, or a
// named book's own cover (its first page's picture, dimmed so that the list reads over it).
// Also names the book in the window's title.
void dressMainPage(engine::CCNode* page, const Book& book);

// The window's title for a book: "pagly", or the book's title and "pagly".
std::string windowTitleFor(const Book& book);

}  // namespace pagly
