// Long names made to fit their line: smaller, then two lines, then shortened.
#include "app/LabelFit.h"

#include <cmath>
#include <string>
#include <vector>

#include "app/VisibleArea.h"
#include "engine/nodes/CCLabelTTF.h"

using namespace pagly::engine;

namespace pagly {

namespace {
const char* const kEllipsis = "\xE2\x80\xA6";
const float kSizeStep = 2;
const float kListMargin = 24;  // on each side of a list's line
const float kSmallestListType = 34;

bool fitsWidth(CCLabelTTF* label, float width) {
    return label->getContentSize().width <= width + 0.5f;
}

// Byte offsets at which a UTF-8 text can be cut without splitting a character.
std::vector<size_t> characterStarts(const std::string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if (((unsigned char)text[i] & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

std::string shortened(const std::string& text, size_t end) {
    std::string start = text.substr(0, end);
    while (!start.empty() && start.back() == ' ') start.pop_back();
    return start + kEllipsis;
}
}  // namespace

void fitLabelToWidth(CCLabelTTF* label, float width, float smallest) {
    if (!label || !(width > 0) || fitsWidth(label, width)) return;
    float size = label->getFontSize();
    float shrunk = std::floor(size * width / label->getContentSize().width);
    for (; shrunk >= smallest; shrunk -= kSizeStep) {
        label->setFontSize(shrunk);
        if (fitsWidth(label, width)) return;
    }
    label->setFontSize(smallest);
    float lineHeight = label->getContentSize().height;
    label->setHorizontalAlignment(kTextAlignmentCenter);
    label->setDimensions(CCSize(width, 0));
    auto fits = [&]() {
        return fitsWidth(label, width) && label->getContentSize().height <= lineHeight * 2 + 1;
    };
    if (fits()) return;
    // The longest start of the text that fits two lines with the ellipsis.
    const std::string text = label->getString();
    std::vector<size_t> starts = characterStarts(text);
    size_t low = 0, high = starts.size();  // starts[low] fits (or is nothing); high does not
    while (high - low > 1) {
        size_t mid = (low + high) / 2;
        label->setString(shortened(text, starts[mid]).c_str());
        if (fits())
            low = mid;
        else
            high = mid;
    }
    label->setString(shortened(text, low < starts.size() ? starts[low] : 0).c_str());
}

void fitListLine(CCLabelTTF* label) {
    fitLabelToWidth(label, VisibleArea::size().width - 2 * kListMargin, kSmallestListType);
}

void fitListLines(const std::vector<CCLabelTTF*>& labels) {
    float smallest = 0;
    for (CCLabelTTF* label : labels) {
        if (!label) continue;
        fitListLine(label);
        if (smallest == 0 || label->getFontSize() < smallest) smallest = label->getFontSize();
    }
    // Wrapped lines already have the smallest size there is; the others follow it.
    for (CCLabelTTF* label : labels)
        if (label && label->getDimensions().width == 0) label->setFontSize(smallest);
}

}  // namespace pagly
