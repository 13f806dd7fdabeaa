#pragma once

// One process-wide "something drawn has changed" flag. Node setters, actions, transitions,
// texture and text changes and window events raise it; the main loop skips drawing and
// presenting a frame while it is down.
namespace pagly::engine {

extern bool g_ccNeedsRedraw;
inline void ccRequestRedraw() { g_ccNeedsRedraw = true; }
inline bool ccNeedsRedraw() { return g_ccNeedsRedraw; }
inline void ccClearRedraw() { g_ccNeedsRedraw = false; }

}  // namespace pagly::engine
