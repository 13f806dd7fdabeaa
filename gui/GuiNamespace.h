#pragma once

// The toolkit is written in the engine's terms: inside pagly::gui the engine's names are used
// unqualified, as if the toolkit were part of the engine.
namespace pagly::engine {}

namespace pagly::gui {
using namespace pagly::engine;
}  // namespace pagly::gui
