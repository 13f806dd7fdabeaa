#pragma once

#include <map>
#include <set>
#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/RefPtr.h"
#include "engine/nodes/CCSpriteFrame.h"

namespace pagly::engine {

class CCDictionary;
class CCTexture2D;

// Property-list geometry strings: "{x,y}", "{w,h}", "{{x,y},{w,h}}". Malformed text gives
// zero values.
CCPoint CCPointFromString(const char* text);
CCSize CCSizeFromString(const char* text);
CCRect CCRectFromString(const char* text);

// The process-wide table of named sprite frames, filled from sprite-sheet property lists.
//
// Sheet format (an XML property list, dict root):
//   "frames"   dict: frame name -> dict with
//       "frame"           "{{x,y},{w,h}}"  the frame's rectangle in the texture, in pixels,
//                                          origin at the texture's top-left. For a rotated
//                                          frame w,h are the UNROTATED size and the pixels
//                                          occupy a region h wide and w high, the image
//                                          turned 90 degrees clockwise.
//       "offset"          "{x,y}"          centre of the trimmed frame minus centre of the
//                                          source image (y up)
//       "rotated"         <true/>/<false/> stored turned 90 degrees clockwise
//       "sourceSize"      "{w,h}"          the untrimmed source image's size
//       "sourceColorRect" "{{x,y},{w,h}}"  where the trimmed pixels sit in the source
//                                          (informational; offset already says it)
//   "metadata" dict:
//       "format"          2
//       "textureFileName" the sheet image, relative to the plist's folder (default: the
//                         plist's name with its extension replaced by .png)
// Formats 0 (x, y, width, height, offsetX, offsetY, originalWidth, originalHeight),
// 1 (as 2 without "rotated") and 3 ("textureRect", "spriteOffset", "spriteSourceSize",
// "textureRotated") are read too.
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
