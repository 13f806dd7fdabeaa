// Lighting the word being heard (see WordLighter.h).
#include "app/WordLighter.h"

#include <SDL_ttf.h>

#include <cmath>
#include <set>

#include "engine/audio/SimpleAudioEngine.h"
#include "engine/nodes/CCFontCache.h"
#include "engine/nodes/CCLabelTTF.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCFileUtils.h"
#include "gui/UIButton.h"

using namespace pagly::engine;
using pagly::audio::SimpleAudioEngine;

namespace pagly {

namespace {
// Where the text's bytes [begin, end) lie across a one-line label, in the label's own pixels
// from its left edge. False when the label wraps or its font cannot be measured.
bool wordSpan(CCLabelTTF* label, size_t begin, size_t end, float& x0, float& x1) {
    const std::string text = label->getString();
    if (text.find('\n') != std::string::npos) return false;
    TTF_Font* font =
        CCFontCache::sharedFontCache()->font(label->getFontName(), label->getFontSize());
    if (!font) return false;
    int whole = 0, before = 0, through = 0, height = 0;
    // Widths of the text up to the word's start and end: the pen positions the renderer
    // used, kerning and all, rather than the word measured alone.
    if (TTF_SizeUTF8(font, text.c_str(), &whole, &height) != 0 ||
        TTF_SizeUTF8(font, text.substr(0, begin).c_str(), &before, &height) != 0 ||
        TTF_SizeUTF8(font, text.substr(0, end).c_str(), &through, &height) != 0)
        return false;
    float width = label->getContentSize().width;
    float offset = 0;
    if (label->getDimensions().width > 0) {
        if (whole > width + 0.5f) return false;  // wrapped onto several lines
        if (label->getHorizontalAlignment() == kTextAlignmentCenter) offset = (width - whole) / 2;
        if (label->getHorizontalAlignment() == kTextAlignmentRight) offset = width - whole;
    }
    x0 = offset + (begin == 0 ? 0.0f : (float)before);
    x1 = offset + (float)through;
    return x1 > x0;
}
}  // namespace

WordLighter* WordLighter::create() { return ccCreateInitialized(new WordLighter()); }

WordLighter::~WordLighter() { stop(); }

void WordLighter::complain(const std::string& timingPath, const std::string& problem) {
    static std::set<std::string> told;
    if (!told.insert(timingPath + "\n" + problem).second) return;
    CCLog("Word timings of %s: %s; its words are not lit", timingPath.c_str(), problem.c_str());
}

bool WordLighter::loadTimings(const std::string& recordingPath, const std::string& labelText) {
    m_timings = WordTimings();
    std::string path = m_timingPath = WordTimings::pathForRecording(recordingPath);
    CCFileUtils* files = CCFileUtils::sharedFileUtils();
    std::string full = files->fullPathForFilename(path);
    if (!files->isFileExist(full)) return false;  // a recording without timings: nothing to say
    std::string text;
    if (!files->readFile(full, text)) {
        complain(path, "the file cannot be read");
        return false;
    }
    std::vector<std::string> problems;
    if (!m_timings.parse(text, problems)) {
        complain(path, problems.empty() ? std::string("unusable") : problems.front());
        return false;
    }
    if (labelText.empty()) {
        // Nothing to count the words against: the rectangles say where each one is.
        if (m_timings.hasBoxes()) return true;
        complain(path, "its button has no label and the file gives no word rectangles");
        m_timings = WordTimings();
        return false;
    }
    size_t shown = sentenceWordRanges(labelText).size();
    if (shown != m_timings.words().size()) {
        complain(path, "it times " + std::to_string(m_timings.words().size()) +
                           " words, the button shows " + std::to_string(shown) + " (\"" +
                           labelText + "\")");
        m_timings = WordTimings();
        return false;
    }
    return true;
}

void WordLighter::start(gui::UIButton* button, const std::string& recordingPath, float speed) {
    stop();
    if (!button || !button->getTitleNode()) return;
    if (!loadTimings(recordingPath, button->getTitleText())) return;
    m_button = button;
    const char* title = button->getTitleText();
    m_overPicture = !title || !*title;
    if (!m_overPicture) m_label = button->getTitleNode();
    m_speed = speed > 0 && std::isfinite(speed) ? speed : 1.0f;
    m_running = true;
    scheduleUpdate();
    update(0);
}

void WordLighter::stop() {
    if (m_running) unscheduleUpdate();
    m_running = false;
    light(-1);
    if (m_band && m_band->getParent()) m_band->removeFromParentAndCleanup(true);
    m_band.reset();
    m_label.reset();
    m_button.reset();
    m_overPicture = false;
}

void WordLighter::update(float) {
    if (!m_running) return;
    // Ended, stopped or replaced by another sound: the light goes out with it. The time heard
    // is the device's own count of what it played: a device that starts late, or a frame
    // that comes late, does not put the light ahead of the voice.
    double heard = SimpleAudioEngine::sharedEngine()->getBackgroundMusicHeardSeconds();
    if (heard < 0) {
        stop();
        return;
    }
    double inRecording = heard * m_speed;
    light(m_timings.wordAt(inRecording));
}

void WordLighter::light(int word) {
    if (word == m_lit) return;
    m_lit = word;
    bool placed = m_overPicture ? placeOnPicture(word) : placeOnLabel(word);
    if (!placed) {
        if (m_band) m_band->setVisible(false);
        if (word >= 0) m_lit = -1;
    }
}

bool WordLighter::placeOnPicture(int word) {
    if (!m_button || word < 0 || word >= (int)m_timings.words().size()) return false;
    const TimedWord& w = m_timings.words()[(size_t)word];
    CCNode* look = m_button->getContainerNode();
    float sx = m_button->getScaleX(), sy = m_button->getScaleY();
    if (!look || !(std::fabs(sx) > 1e-4f) || !(std::fabs(sy) > 1e-4f)) return false;
    if (!m_band) {
        m_band = CCLayerColor::create(
            ccColor4B(kOverWordRed, kOverWordGreen, kOverWordBlue, kOverWordOpacity));
        // Over the button's pictures (and the lit sentence), in the button's own units.
        look->addChild(m_band.get(), 2);
    }
    // The file's rectangle is in points from the button's top left; the look node's origin is
    // the button's anchor, and it is scaled with the button.
    const CCSize& size = m_button->getSize();
    const CCPoint& anchor = m_button->getAnchorPoint();
    float left = -anchor.x * size.width, top = (1 - anchor.y) * size.height;
    m_band->setPosition(CCPoint(left + (float)w.x / sx, top - (float)(w.y + w.height) / sy));
    m_band->changeWidthAndHeight((float)w.width / sx, (float)w.height / sy);
    m_band->setVisible(true);
    return true;
}

bool WordLighter::placeOnLabel(int word) {
    if (!m_label) return false;
    float x0 = 0, x1 = 0;
    auto ranges = sentenceWordRanges(m_label->getString());
    bool placed = word >= 0 && word < (int)ranges.size() &&
                  wordSpan(m_label.get(), ranges[word].first, ranges[word].second, x0, x1);
    if (!placed) {
        if (word >= 0) complain(m_timingPath, "the button's label cannot be measured");
        return false;
    }
    if (!m_band) {
        m_band = CCLayerColor::create(ccColor4B(kBandRed, kBandGreen, kBandBlue, 255));
        // Under the label's text, over the button's image (the label draws above it).
        m_label->addChild(m_band.get(), -1);
    }
    float height = m_label->getContentSize().height;
    m_band->setPosition(CCPoint(x0 - kBandMargin, 0));
    m_band->changeWidthAndHeight(x1 - x0 + 2 * kBandMargin, height);
    m_band->setVisible(true);
    return true;
}

}  // namespace pagly
