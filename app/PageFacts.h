#pragma once

#include <string>

#include "app/Book.h"

namespace pagly {

// The title of the k-th page a unit lists, for its contents line: the book's own list of titles
// (book.json), else the title label ("title") of the page's document, else "". Folded to one
// line of at most a few dozen words.
std::string pageTitleOf(const BookUnit& unit, size_t k);

// The resource path of `page`'s picture (the widget "picture" of its document: the page as
// a book from elsewhere shows it), or "" when it has none.
std::string pictureOfPage(int page);

}  // namespace pagly
