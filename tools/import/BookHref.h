// Turns the links a book's files hold (hrefs, srcs, SMIL srcs) into paths inside the book's
// folder. A link to anything outside that folder, or to the network, is refused: the
// converter reads only what the book itself carries.
#ifndef PAGLY_TOOLS_IMPORT_BOOKHREF_H
#define PAGLY_TOOLS_IMPORT_BOOKHREF_H

#include <string>

namespace pagly::import {

// "%20" and the like decoded (a link is a URL); the result may hold any byte but NUL.
std::string percentDecoded(const std::string& text);

// A link split at '#': the part naming the file and the fragment (without '#').
void splitFragment(const std::string& href, std::string& file, std::string& fragment);

// The absolute path that href (relative to the folder baseFolder) names inside bookFolder,
// or empty with why set: a remote or absolute link, one climbing out of the book, or one
// reaching outside it through a symbolic link. bookFolder and baseFolder are absolute and
// normalised; the file need not exist. A query or fragment is ignored.
std::string resolveHref(const std::string& bookFolder, const std::string& baseFolder,
                        const std::string& href, std::string& why);

// Whether the file at path (inside bookFolder by its name) still lies inside the book with
// every symbolic link followed. A missing file counts as inside (reading it fails on its own);
// a dangling link does not.
// An unpacked folder the user gives may hold links; none may take a reading outside it.
bool staysInBook(const std::string& bookFolder, const std::string& path);
// The reason told for a file of the book that is a link leading outside it.
extern const char* const kLeadsOutside;

// path (absolute, inside bookFolder) as the book names it: relative to its folder.
std::string bookRelative(const std::string& bookFolder, const std::string& path);

}  // namespace pagly::import

#endif
