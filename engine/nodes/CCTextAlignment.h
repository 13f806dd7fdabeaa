#pragma once

namespace pagly::engine {

// How text lines sit within a label's width, and the text block within its height.
typedef enum {
    kTextAlignmentLeft = 0,
    kTextAlignmentCenter = 1,
    kTextAlignmentRight = 2,
} CCTextAlignment;

typedef enum {
    kVerticalTextAlignmentTop = 0,
    kVerticalTextAlignmentCenter = 1,
    kVerticalTextAlignmentBottom = 2,
} CCVerticalTextAlignment;

// Nodes that show a string (labels, menu item texts) answer to these.
class CCLabelProtocol {
  public:
    virtual ~CCLabelProtocol() = default;
    virtual void setString(const char* text) = 0;
    virtual const char* getString() const = 0;
};

}  // namespace pagly::engine
