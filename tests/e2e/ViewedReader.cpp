#include "ViewedReader.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCScene.h"
#include "engine/platform/CCEGLView.h"
#include "engine/render/SDLRenderer.h"

using namespace pagly::engine;

namespace pagly::test {

namespace {

// Accumulates first and second moments of pixel positions.
struct SpreadSum {
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0;
    void add(int x, int y) { n += 1, sx += x, sy += y, sxx += (double)x * x, syy += (double)y * y; }
    PixelSpread spread() const {
        PixelSpread s;
        s.count = n;
        if (n < 2) return s;
        s.varX = sxx / n - (sx / n) * (sx / n);
        s.varY = syy / n - (sy / n) * (sy / n);
        return s;
    }
};

ccColor4B pixelAt(const SDL_Surface* surface, int x, int y) {
    Uint32 v = ((const Uint32*)((const Uint8*)surface->pixels + y * surface->pitch))[x];
    return ccColor4B((v >> 16) & 255, (v >> 8) & 255, v & 255, (v >> 24) & 255);
}

int largestChannelChange(const ccColor4B& a, const ccColor4B& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

double channelLight(int c) {
    double s = c / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

double luminance(const ccColor4B& c) {
    return 0.2126 * channelLight(c.r) + 0.7152 * channelLight(c.g) + 0.0722 * channelLight(c.b);
}

PixelRect clipped(PixelRect box, const SDL_Surface* s) {
    int x1 = std::min(box.x + box.w, s->w), y1 = std::min(box.y + box.h, s->h);
    box.x = std::max(box.x, 0), box.y = std::max(box.y, 0);
    box.w = std::max(0, x1 - box.x), box.h = std::max(0, y1 - box.y);
    return box;
}

bool drawnVisibly(CCNode* node) {
    for (CCNode* n = node; n; n = n->getParent())
        if (!n->isVisible()) return false;
    return true;
}

void collectLabels(CCNode* node, std::vector<CCLabelTTF*>& out) {
    if (!node || !node->isVisible()) return;
    if (CCLabelTTF* label = dynamic_cast<CCLabelTTF*>(node)) out.push_back(label);
    if (CCArray* children = node->getChildren())
        for (CCObject* child : *children) collectLabels(static_cast<CCNode*>(child), out);
}

}  // namespace

double PixelSpread::aspect() const { return count < 10 || varY <= 0 ? 0 : std::sqrt(varX / varY); }

double PixelSpread::width() const { return std::sqrt(12 * varX); }

double contrastRatio(const ccColor4B& a, const ccColor4B& b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

PixelSpread spreadOfArtwork(const std::string& path, const PixelRect* part,
                            const ccColor4B* onlyColour) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return PixelSpread();
    SDL_Surface* image = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!image) return PixelSpread();
    PixelRect box{0, 0, image->w, image->h};
    if (part) box = clipped(*part, image);
    SpreadSum sum;
    for (int y = box.y; y < box.y + box.h; ++y)
        for (int x = box.x; x < box.x + box.w; ++x) {
            ccColor4B c = pixelAt(image, x, y);
            if (c.a < 128) continue;
            if (onlyColour && largestChannelChange(c, *onlyColour) > 1) continue;
            sum.add(x, y);
        }
    SDL_FreeSurface(image);
    return sum.spread();
}

void ViewedReaderTest::SetUp() {
    ReaderTest::SetUp();
    m_view = CCEGLView::sharedOpenGLView();
    m_view->setDesignResolutionSize(640, 960, kResolutionExactFit);
}

void ViewedReaderTest::TearDown() {
    m_view->close();
    m_view->setFrameSize(640, 960);
    ReaderTest::TearDown();
}

void ViewedReaderTest::useFrame(float width, float height) {
    m_view->setFrameSize(width, height);
    if (!m_view->isOpen()) {
        ASSERT_TRUE(m_view->openOffscreen()) << SDL_GetError();
    }
}

SDLRenderer* ViewedReaderTest::frameRenderer() const { return m_view->getRenderer(); }

void ViewedReaderTest::drawFrame() { CCDirector::sharedDirector()->drawScene(); }

PixelRect ViewedReaderTest::pixelBoxOf(CCNode* node, int margin) const {
    CCSize size = node->getContentSize();
    CCPoint a = node->convertToWorldSpace(CCPoint(0, 0));
    CCPoint b = node->convertToWorldSpace(CCPoint(size.width, size.height));
    PixelRect box = pixelBoxOfRect(
        CCRect(std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(b.x - a.x), std::fabs(b.y - a.y)));
    return PixelRect{box.x - margin, box.y - margin, box.w + 2 * margin, box.h + 2 * margin};
}

PixelRect ViewedReaderTest::pixelBoxOfRect(const CCRect& world) const {
    float xs[2], ys[2];
    frameRenderer()->designToPixels(world.getMinX(), world.getMinY(), xs[0], ys[0]);
    frameRenderer()->designToPixels(world.getMaxX(), world.getMaxY(), xs[1], ys[1]);
    // Level pixels are counted from the shown area; the frame's from its corner.
    const PixelRect shown = frameRenderer()->shownRect();
    for (int i = 0; i < 2; ++i) xs[i] += shown.x, ys[i] += shown.y;
    int x0 = (int)std::floor(std::min(xs[0], xs[1])), y0 = (int)std::floor(std::min(ys[0], ys[1]));
    int x1 = (int)std::ceil(std::max(xs[0], xs[1])), y1 = (int)std::ceil(std::max(ys[0], ys[1]));
    return PixelRect{x0, y0, x1 - x0, y1 - y0};
}

PixelSpread ViewedReaderTest::spreadOfNode(CCNode* node) {
    drawFrame();
    SDL_Surface* with = frameRenderer()->readSurface();
    node->setVisible(false);
    drawFrame();
    SDL_Surface* without = frameRenderer()->readSurface();
    node->setVisible(true);
    SpreadSum sum;
    if (with && without) {
        PixelRect box = clipped(pixelBoxOf(node, 4), with);
        for (int y = box.y; y < box.y + box.h; ++y)
            for (int x = box.x; x < box.x + box.w; ++x)
                if (largestChannelChange(pixelAt(with, x, y), pixelAt(without, x, y)) > 85)
                    sum.add(x, y);
    }
    SDL_FreeSurface(with);
    SDL_FreeSurface(without);
    return sum.spread();
}

PixelSpread ViewedReaderTest::spreadOfColour(const PixelRect& area, const ccColor4B& colour,
                                             int tolerance) const {
    SDL_Surface* frame = frameRenderer()->readSurface();
    SpreadSum sum;
    if (frame) {
        PixelRect box = clipped(area, frame);
        for (int y = box.y; y < box.y + box.h; ++y)
            for (int x = box.x; x < box.x + box.w; ++x)
                if (largestChannelChange(pixelAt(frame, x, y), colour) <= tolerance) sum.add(x, y);
    }
    SDL_FreeSurface(frame);
    return sum.spread();
}

std::vector<ViewedReaderTest::TextContrast> ViewedReaderTest::measureTexts(CCNode* within) {
    std::vector<TextContrast> found;
    std::vector<CCLabelTTF*> labels;
    collectLabels(within ? within : CCDirector::sharedDirector()->getRunningScene(), labels);
    drawFrame();
    SDL_Surface* with = frameRenderer()->readSurface();
    if (!with) return found;
    float shownScale = frameRenderer()->getOutputPixelSize().height / 960.0f;
    for (CCLabelTTF* label : labels) {
        if (!drawnVisibly(label) || label->getString()[0] == 0) continue;
        label->setVisible(false);
        drawFrame();
        SDL_Surface* without = frameRenderer()->readSurface();
        label->setVisible(true);
        if (!without) continue;
        PixelRect box = clipped(pixelBoxOf(label, 1), with);
        int most = 0;
        for (int y = box.y; y < box.y + box.h; ++y)
            for (int x = box.x; x < box.x + box.w; ++x)
                most = std::max(most,
                                largestChannelChange(pixelAt(with, x, y), pixelAt(without, x, y)));
        // A text under something else (a card over the page) is not one a learner reads.
        if (most >= 40) {
            // The glyphs' cores: the pixels the text changes most. Their contrast is the text's.
            std::vector<double> ratios;
            for (int y = box.y; y < box.y + box.h; ++y)
                for (int x = box.x; x < box.x + box.w; ++x) {
                    ccColor4B a = pixelAt(with, x, y), b = pixelAt(without, x, y);
                    if (largestChannelChange(a, b) * 5 >= most * 4)
                        ratios.push_back(contrastRatio(a, b));
                }
            std::sort(ratios.begin(), ratios.end());
            TextContrast t;
            t.text = label->getString();
            t.ratio = ratios[ratios.size() / 2];
            CCPoint a = label->convertToWorldSpace(CCPoint(0, 0));
            CCPoint b = label->convertToWorldSpace(CCPoint(0, label->getFontSize()));
            t.large = std::hypot(b.x - a.x, b.y - a.y) * shownScale >= 24;
            found.push_back(t);
        }
        SDL_FreeSurface(without);
    }
    SDL_FreeSurface(with);
    return found;
}

std::vector<std::string> ViewedReaderTest::unreadableTexts(CCNode* within) {
    std::vector<std::string> bad;
    for (const TextContrast& t : measureTexts(within)) {
        double needed = t.large ? 3.0 : 4.5;
        if (t.ratio + 1e-9 < needed) {
            char line[160];
            snprintf(line, sizeof line, "\"%.50s\": %.2f:1 (needs %.1f:1)", t.text.c_str(), t.ratio,
                     needed);
            bad.push_back(line);
        }
    }
    return bad;
}

void ViewedReaderTest::keepShot(const std::string& name) const {
    const char* folder = getenv("PAGLY_SHOTS");
    if (folder && *folder) frameRenderer()->savePNG(std::string(folder) + "/" + name + ".png");
}

}  // namespace pagly::test
