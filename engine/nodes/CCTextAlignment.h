#pragma once

namespace cocos2d {

// How text lines sit within a label's width, and the text block within its height.
typedef enum {
    kCCTextAlignmentLeft = 0,
    kCCTextAlignmentCenter = 1,
    kCCTextAlignmentRight = 2,
} CCTextAlignment;

typedef enum {
    kCCVerticalTextAlignmentTop = 0,
    kCCVerticalTextAlignmentCenter = 1,
    kCCVerticalTextAlignmentBottom = 2,
} CCVerticalTextAlignment;

// Nodes that show a string (labels, menu item texts) answer to these.
class CCLabelProtocol {
  public:
    virtual ~CCLabelProtocol() = default;
    virtual void setString(const char* text) = 0;
    virtual const char* getString() const = 0;
};

}  // namespace cocos2d
