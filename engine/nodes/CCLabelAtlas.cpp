#include "engine/nodes/CCLabelAtlas.h"

#include "engine/base/CCRedraw.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"
#include "engine/render/Renderer.h"

namespace pagly::engine {

CCLabelAtlas::CCLabelAtlas() = default;
CCLabelAtlas::~CCLabelAtlas() = default;

CCLabelAtlas* CCLabelAtlas::create() {
    CCLabelAtlas* label = new CCLabelAtlas();
    label->autorelease();
    return label;
}

CCLabelAtlas* CCLabelAtlas::create(const char* text, const char* charMapFile,
                                   unsigned int itemWidth, unsigned int itemHeight,
                                   unsigned int startChar) {
    CCLabelAtlas* label = new CCLabelAtlas();
    if (!label->initWithString(text, charMapFile, itemWidth, itemHeight, startChar)) {
        label->release();
        return nullptr;
    }
    label->autorelease();
    return label;
}

bool CCLabelAtlas::initWithString(const char* text, const char* charMapFile, unsigned int itemWidth,
                                  unsigned int itemHeight, unsigned int startChar) {
    CCTexture2D* texture =
        charMapFile ? CCTextureCache::sharedTextureCache()->addImage(charMapFile) : nullptr;
    if (!texture) return false;  // the texture cache has named the image
    return initWithString(text, texture, itemWidth, itemHeight, startChar);
}

bool CCLabelAtlas::initWithString(const char* text, CCTexture2D* texture, unsigned int itemWidth,
                                  unsigned int itemHeight, unsigned int startChar) {
    if (!texture || itemWidth == 0 || itemHeight == 0) {
        CCLog("CCLabelAtlas: a character map needs an image and a cell size above zero");
        return false;
    }
    m_texture = texture;
    m_itemWidth = itemWidth;
    m_itemHeight = itemHeight;
    m_startChar = startChar;
    m_columns = (unsigned int)texture->getPixelsWide() / itemWidth;
    m_rows = (unsigned int)texture->getPixelsHigh() / itemHeight;
    m_string.clear();
    setString(text ? text : "");
    ccRequestRedraw();
    return true;
}

void CCLabelAtlas::setString(const char* text) {
    if (!text) return;
    m_string = text;
    setContentSize(CCSize((float)(m_string.size() * m_itemWidth), (float)m_itemHeight));
    ccRequestRedraw();
}

void CCLabelAtlas::draw(Renderer* renderer) {
    if (!renderer || !m_texture || m_columns == 0 || m_rows == 0) return;
    TexturedQuad q;
    q.texture = m_texture.get();
    q.transform = m_worldTransform;
    q.color =
        ccColor4B(m_displayedColor.r, m_displayedColor.g, m_displayedColor.b, m_displayedOpacity);
    q.blend = m_blend;
    for (size_t i = 0; i < m_string.size(); ++i) {
        long cell = (long)(unsigned char)m_string[i] - (long)m_startChar;
        if (cell < 0 || cell >= (long)(m_columns * m_rows)) continue;
        unsigned int column = (unsigned int)cell % m_columns;
        unsigned int row = (unsigned int)cell / m_columns;
        q.textureRect = CCRect((float)(column * m_itemWidth), (float)(row * m_itemHeight),
                               (float)m_itemWidth, (float)m_itemHeight);
        q.rect = CCRect((float)(i * m_itemWidth), 0, (float)m_itemWidth, (float)m_itemHeight);
        renderer->drawTexturedQuad(q);
    }
}

}  // namespace pagly::engine
