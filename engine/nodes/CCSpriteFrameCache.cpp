#include "engine/nodes/CCSpriteFrameCache.h"

#include "engine/base/CCDictionary.h"
#include "engine/platform/CCFileUtils.h"
#include "engine/platform/UnusableFiles.h"
#include "engine/render/CCTexture2D.h"
#include "engine/render/CCTextureCache.h"

namespace pagly::engine {

namespace {
CCSpriteFrameCache* s_cache = nullptr;
}  // namespace

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

void CCSpriteFrameCache::prepareSheet(const char* plist) {
    if (!plist || !*plist) return;
    std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
    if (m_loadedSheets.count(path) || !CCFileUtils::sharedFileUtils()->isFileExist(path)) return;
    if (CCDictionary* dict = CCDictionary::createWithContentsOfFile(path.c_str()))
        CCTextureCache::sharedTextureCache()->prepareImage(sheetImagePath(dict, path).c_str());
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
                                                                  : sheetImagePath(dict, path);
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
    SheetFrames sheet = readSheetFrames(dict);
    if (!sheet.problem.empty()) {
        reportUnusableFile(sheetKey, sheet.problem);
        return;
    }
    const float textureWide = (float)texture->getPixelsWide();
    const float textureHigh = (float)texture->getPixelsHigh();
    std::set<std::string>& names = m_framesOfSheet[sheetKey];
    std::string skipped;  // frames whose rectangle is not inside the image
    for (const SheetFrame& f : sheet.frames) {
        if (m_frames.count(f.name)) continue;  // the first definition stays
        if (!f.fitsImage(textureWide, textureHigh)) {
            skipped += (skipped.empty() ? "" : ", ") + f.name;
            continue;
        }
        CCSpriteFrame* frame = new CCSpriteFrame();
        frame->initWithTexture(texture, f.rect, f.rotated, f.offset, f.sourceSize);
        m_frames[f.name] = frame;
        frame->release();
        names.insert(f.name);
    }
    // One line for the sheet, however many frames (a sheet is read again on every page).
    if (!skipped.empty()) reportUnusableFile(sheetKey, unfitFramesReason(skipped));
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
