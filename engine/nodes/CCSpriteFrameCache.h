#pragma once

#include <map>
#include <set>
#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCSpriteFrame.h"
#include "engine/nodes/SheetFrames.h"

namespace pagly::engine {

class CCDictionary;
class CCTexture2D;

// The process-wide table of named sprite frames, filled from sprite-sheet property lists.
// Sheets are read by readSheetFrames (SheetFrames.h), which describes their layout.
class CCSpriteFrameCache {
  public:
    static CCSpriteFrameCache* sharedSpriteFrameCache();
    static void purgeSharedSpriteFrameCache();

    // Reads a sheet once (later calls with the same file do nothing). A missing or broken
    // plist or image adds nothing and logs a line. Frames already known keep their first
    // definition.
    void addSpriteFramesWithFile(const char* plist);
    void addSpriteFramesWithFile(const char* plist, const char* textureFileName);
    void addSpriteFramesWithFile(const char* plist, CCTexture2D* texture);
    void addSpriteFrame(CCSpriteFrame* frame, const char* name);
    bool isSheetLoaded(const char* plist) const;
    // Has the texture cache prepare the image of a sheet not loaded yet (see
    // CCTextureCache::prepareImage); its frames are read when the sheet is added.
    void prepareSheet(const char* plist);

    // Null (and a log line) when unknown.
    CCSpriteFrame* spriteFrameByName(const char* name);

    void removeSpriteFrames();
    void removeUnusedSpriteFrames();
    void removeSpriteFrameByName(const char* name);
    void removeSpriteFramesFromFile(const char* plist);
    void removeSpriteFramesFromTexture(CCTexture2D* texture);
    unsigned int count() const { return (unsigned int)m_frames.size(); }

  private:
    CCSpriteFrameCache() = default;
    void addFramesFromDictionary(CCDictionary* dict, CCTexture2D* texture,
                                 const std::string& sheetKey);

    std::map<std::string, RefPtr<CCSpriteFrame>> m_frames;
    std::map<std::string, std::set<std::string>> m_framesOfSheet;  // sheet path -> names
    std::set<std::string> m_loadedSheets;
};

}  // namespace pagly::engine
