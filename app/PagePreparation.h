#pragma once

namespace pagly {

// Has the pictures and sprite sheets of a page's document decoded in the background (see
// engine::CCTextureCache::prepareImage), so that turning to that page later does not wait for
// them. Reads only the document's text; builds nothing and changes no reading state.
void preparePageImages(int page);

}  // namespace pagly
