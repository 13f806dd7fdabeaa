#pragma once

#include "engine/nodes/CCLayerColor.h"

namespace pagly::engine {

// A colour layer whose colour runs from a start colour and opacity to an end colour and
// opacity along a direction vector. The default vector (0, -1) runs from the top (start) to
// the bottom (end). With compressed interpolation (the default) a vector that is not
// axis-aligned still reaches the full start and end colours in the corners.
class CCLayerGradient : public CCLayerColor {
  public:
    // White to white, opaque, vector (0, -1).
    static CCLayerGradient* create();
    static CCLayerGradient* create(const ccColor4B& start, const ccColor4B& end);
    static CCLayerGradient* create(const ccColor4B& start, const ccColor4B& end,
                                   const CCPoint& vector);
    bool init() override;
    virtual bool initWithColor(const ccColor4B& start, const ccColor4B& end);
    virtual bool initWithColor(const ccColor4B& start, const ccColor4B& end, const CCPoint& vector);

    // The start colour is the layer's own colour (setColor).
    void setStartColor(const ccColor3B& color) { setColor(color); }
    const ccColor3B& getStartColor() { return m_realColor; }
    void setEndColor(const ccColor3B& color);
    const ccColor3B& getEndColor() const { return m_endColor; }
    void setStartOpacity(unsigned char opacity);
    unsigned char getStartOpacity() const { return m_startOpacity; }
    void setEndOpacity(unsigned char opacity);
    unsigned char getEndOpacity() const { return m_endOpacity; }
    void setVector(const CCPoint& vector);
    const CCPoint& getVector() const { return m_vector; }
    void setCompressedInterpolation(bool compressed);
    bool isCompressedInterpolation() const { return m_compressed; }

  protected:
    void cornerColors(ccColor4B out[4]) override;

    ccColor3B m_endColor;
    unsigned char m_startOpacity = 255, m_endOpacity = 255;
    CCPoint m_vector = CCPoint(0, -1);
    bool m_compressed = true;
};

}  // namespace pagly::engine
