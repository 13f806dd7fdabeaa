#pragma once

// The seam between nodes and pixels. Nodes emit draw commands in design coordinates
// (origin bottom-left) with their world transform; a back-end turns them into pixels.
namespace cocos2d {

class Renderer {
public:
    virtual ~Renderer() = default;
    // Starts a frame (clears to the background colour).
    virtual void beginFrame() = 0;
    // Finishes the frame (presents it, or keeps it in memory for the offscreen back-end).
    virtual void endFrame() = 0;
};

}  // namespace cocos2d
