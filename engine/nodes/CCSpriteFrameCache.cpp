#include "engine/nodes/CCSpriteFrameCache.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/base/CCDictionary.h"
#include "engine/base/CCString.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"

namespace pagly::engine {

namespace {

CCSpriteFrameCache* s_cache = nullptr;

// Reads up to `n` numbers from text such as "{{1,2},{3,4}}", ignoring braces and spaces.
int readNumbers(const char* text, float* out, int n) {
    if (!text) return 0;
    int got = 0;
    const char* p = text;
    while (*p && got < n) {
        if (*p == '{' || *p == '}' || *p == ',' || *p == ' ' || *p == '\t') {
            ++p;
            continue;
        }
        char* end = nullptr;
        double v = strtod(p, &end);
        if (end == p) return 0;  // not a number: malformed
        // Absurd or non-finite numbers count as malformed rather than poisoning geometry.
        if (!std::isfinite(v) || std::fabs(v) > 1e7) return 0;
        out[got++] = (float)v;
        p = end;
    }
    return got;
}

std::string stringFor(CCDictionary* d, const char* key) {
    const CCString* s = d ? d->valueForKey(key) : nullptr;
    return s ? s->m_sString : std::string();
}
float floatFor(CCDictionary* d, const char* key) {
    const CCString* s = d ? d->valueForKey(key) : nullptr;
    return s ? s->floatValue() : 0.0f;
}
bool boolFor(CCDictionary* d, const char* key) {
    const CCString* s = d ? d->valueForKey(key) : nullptr;
    return s && s->boolValue();
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

CCPoint CCPointFromString(const char* text) {
    float v[2];
    return readNumbers(text, v, 2) == 2 ? CCPoint(v[0], v[1]) : CCPointZero;
}

CCSize CCSizeFromString(const char* text) {
    float v[2];
    return readNumbers(text, v, 2) == 2 ? CCSize(v[0], v[1]) : CCSizeZero;
}

CCRect CCRectFromString(const char* text) {
    float v[4];
    return readNumbers(text, v, 4) == 4 ? CCRect(v[0], v[1], v[2], v[3]) : CCRectZero;
}

CCSpriteFrameCache* CCSpriteFrameCache::sharedSpriteFrameCache() {
    if (!s_cache) s_cache = new CCSpriteFrameCache();
    return s_cache;
}

void CCSpriteFrameCache::purgeSharedSpriteFrameCache() {
    delete s_cache;
    s_cache = nullptr;
}

bool CCSpriteFrameCache::isSheetLoaded(const char* plist) const {
    if (!plist) return false;
    return m_loadedSheets.count(CCFileUtils::sharedFileUtils()->fullPathForFilename(plist)) > 0;
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist) {
    addSpriteFramesWithFile(plist, (const char*)nullptr);
}

namespace {
// The image a sheet's metadata names (by default the plist's own name with ".png").
std::string sheetImageOf(CCDictionary* dict, const std::string& path) {
    CCDictionary* meta = dynamic_cast<CCDictionary*>(dict->objectForKey("metadata"));
    std::string relative = stringFor(meta, "textureFileName");
    if (relative.empty()) {
        // No metadata: the image shares the plist's name.
        std::string base = path;
        size_t dot = base.find_last_of('.');
        size_t slash = base.find_last_of('/');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            base.erase(dot);
        return base + ".png";
    }
    if (CCFileUtils::sharedFileUtils()->isAbsolutePath(relative)) return relative;
    return folderOf(path) + relative;
}
}  // namespace

void CCSpriteFrameCache::prepareSheet(const char* plist) {
    if (!plist || !*plist) return;
    std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
    if (m_loadedSheets.count(path) || !CCFileUtils::sharedFileUtils()->isFileExist(path)) return;
    if (CCDictionary* dict = CCDictionary::createWithContentsOfFile(path.c_str()))
        CCTextureCache::sharedTextureCache()->prepareImage(sheetImageOf(dict, path).c_str());
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist, const char* textureFileName) {
    if (!plist || !*plist) {
        CCLog("CCSpriteFrameCache: no sprite sheet name given");
        return;
    }
    std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
    if (m_loadedSheets.count(path)) return;
    // A sheet that cannot be read has been named by the property-list reader.
    CCDictionary* dict = CCDictionary::createWithContentsOfFile(path.c_str());
    if (!dict) return;
    std::string textureName = textureFileName && *textureFileName ? std::string(textureFileName)
                                                                  : sheetImageOf(dict, path);
    // An image that cannot be used has been named by the texture cache.
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(textureName.c_str());
    if (!texture) return;
    addFramesFromDictionary(dict, texture, path);
    m_loadedSheets.insert(path);
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist, CCTexture2D* texture) {
    if (!plist || !*plist || !texture) return;
    std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
    if (m_loadedSheets.count(path)) return;
    CCDictionary* dict = CCDictionary::createWithContentsOfFile(path.c_str());
    if (!dict) return;
    addFramesFromDictionary(dict, texture, path);
    m_loadedSheets.insert(path);
}

void CCSpriteFrameCache::addFramesFromDictionary(CCDictionary* dict, CCTexture2D* texture,
                                                 const std::string& sheetKey) {
    CCDictionary* meta = dynamic_cast<CCDictionary*>(dict->objectForKey("metadata"));
    CCDictionary* frames = dynamic_cast<CCDictionary*>(dict->objectForKey("frames"));
    if (!frames) {
        reportUnusableFile(sheetKey, "it is not a sprite sheet (no \"frames\" dictionary)");
        return;
    }
    // Checked as a number first: turning "1e30" or "nan" straight into an int is undefined.
    const CCString* formatText = meta ? meta->valueForKey("format") : nullptr;
    double formatValue = formatText ? formatText->doubleValue() : 0;
    if (!(formatValue >= 0 && formatValue <= 3)) {
        reportUnusableFile(sheetKey, std::string("it is a sprite sheet of unknown format ") +
                                         (formatText ? formatText->getCString() : ""));
        return;
    }
    int format = (int)formatValue;
    const float textureWide = (float)texture->getPixelsWide();
    const float textureHigh = (float)texture->getPixelsHigh();
    std::set<std::string>& names = m_framesOfSheet[sheetKey];
    std::string skipped;  // frames whose rectangle is not inside the image
    for (const auto& entry : frames->stringEntries()) {
        const std::string& name = entry.first;
        CCDictionary* f = dynamic_cast<CCDictionary*>(entry.second);
        if (!f) continue;
        if (m_frames.count(name)) continue;  // the first definition stays
        CCRect rect;
        CCPoint offset;
        CCSize source;
        bool rotated = false;
        if (format == 0) {
            rect = CCRect(floatFor(f, "x"), floatFor(f, "y"), floatFor(f, "width"),
                          floatFor(f, "height"));
            offset = CCPoint(floatFor(f, "offsetX"), floatFor(f, "offsetY"));
            source = CCSize(std::fabs(floatFor(f, "originalWidth")),
                            std::fabs(floatFor(f, "originalHeight")));
        } else if (format == 1 || format == 2) {
            rect = CCRectFromString(stringFor(f, "frame").c_str());
            offset = CCPointFromString(stringFor(f, "offset").c_str());
            source = CCSizeFromString(stringFor(f, "sourceSize").c_str());
            rotated = format == 2 && boolFor(f, "rotated");
        } else {
            rect = CCRectFromString(stringFor(f, "textureRect").c_str());
            offset = CCPointFromString(stringFor(f, "spriteOffset").c_str());
            source = CCSizeFromString(stringFor(f, "spriteSourceSize").c_str());
            rotated = boolFor(f, "textureRotated");
        }
        // Written as "not inside" so that NaN (from "nan" in a format-0 sheet) fails too; a
        // rotated frame lies in the image turned, height along x.
        const float wideInImage = rotated ? rect.size.height : rect.size.width;
        const float highInImage = rotated ? rect.size.width : rect.size.height;
        if (!(rect.size.width > 0 && rect.size.height > 0 && rect.origin.x >= 0 &&
              rect.origin.y >= 0 && rect.origin.x + wideInImage <= textureWide &&
              rect.origin.y + highInImage <= textureHigh)) {
            skipped += (skipped.empty() ? "" : ", ") + name;
            continue;
        }
        if (!std::isfinite(offset.x) || !std::isfinite(offset.y)) offset = CCPointZero;
        // A missing source size means the frame was not trimmed.
        if (!(source.width > 0 && source.height > 0 && std::isfinite(source.width) &&
              std::isfinite(source.height)))
            source = rect.size;
        CCSpriteFrame* frame = new CCSpriteFrame();
        frame->initWithTexture(texture, rect, rotated, offset, source);
        m_frames[name] = frame;
        frame->release();
        names.insert(name);
    }
    // One line for the sheet, however many frames (a sheet is read again on every page).
    if (!skipped.empty()) {
        reportUnusableFile(
            sheetKey,
            "its frames " + skipped + " have no size or lie outside its image; they are skipped");
    }
}

void CCSpriteFrameCache::addSpriteFrame(CCSpriteFrame* frame, const char* name) {
    if (!frame || !name) return;
    m_frames[name] = frame;
}

CCSpriteFrame* CCSpriteFrameCache::spriteFrameByName(const char* name) {
    if (!name) return nullptr;
    auto it = m_frames.find(name);
    if (it == m_frames.end()) {
        CCLog("CCSpriteFrameCache: frame '%s' not found", name);
        return nullptr;
    }
    return it->second.get();
}

void CCSpriteFrameCache::removeSpriteFrames() {
    m_frames.clear();
    m_framesOfSheet.clear();
    m_loadedSheets.clear();
}

void CCSpriteFrameCache::removeUnusedSpriteFrames() {
    for (auto it = m_frames.begin(); it != m_frames.end();) {
        if (it->second->retainCount() == 1) {
            it = m_frames.erase(it);
        } else {
            ++it;
        }
    }
    // A sheet whose frames went may be read again later.
    for (auto sheet = m_framesOfSheet.begin(); sheet != m_framesOfSheet.end();) {
        bool any = false;
        for (const std::string& n : sheet->second) any = any || m_frames.count(n);
        if (!any) {
            m_loadedSheets.erase(sheet->first);
            sheet = m_framesOfSheet.erase(sheet);
        } else {
            ++sheet;
        }
    }
}

void CCSpriteFrameCache::removeSpriteFrameByName(const char* name) {
    if (name) m_frames.erase(name);
}

void CCSpriteFrameCache::removeSpriteFramesFromFile(const char* plist) {
    if (!plist) return;
    std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
    auto sheet = m_framesOfSheet.find(path);
    if (sheet != m_framesOfSheet.end()) {
        for (const std::string& n : sheet->second) m_frames.erase(n);
        m_framesOfSheet.erase(sheet);
    }
    m_loadedSheets.erase(path);
}

void CCSpriteFrameCache::removeSpriteFramesFromTexture(CCTexture2D* texture) {
    for (auto it = m_frames.begin(); it != m_frames.end();) {
        if (it->second->getTexture() == texture) {
            it = m_frames.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace pagly::engine
