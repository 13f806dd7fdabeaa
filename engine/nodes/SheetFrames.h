// Reads a sprite sheet's property list into its frames. This is the only reading of sheets:
// the frame cache builds its frames from it and the book checker judges sheets with it, so a
// sheet the reader takes the checker takes, and one it refuses is refused for the same reason.
#pragma once

#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"

namespace pagly::engine {

class CCDictionary;

// Property-list geometry strings: "{x,y}", "{w,h}", "{{x,y},{w,h}}". Malformed text gives
// zero values.
CCPoint CCPointFromString(const char* text);
CCSize CCSizeFromString(const char* text);
CCRect CCRectFromString(const char* text);

// One frame as its sheet describes it, values already made safe: a non-finite offset is
// zero, a missing or unusable source size is the rectangle's size (an untrimmed frame).
struct SheetFrame {
    std::string name;
    CCRect rect;  // pixels in the image, origin top-left; the unrotated size when rotated
    CCPoint offset;
    CCSize sourceSize;
    bool rotated = false;

    // True when the frame has a size and lies inside an image of that many pixels (a rotated
    // frame lies turned, its height along x). Not-a-number values do not fit.
    bool fitsImage(float pixelsWide, float pixelsHigh) const;
};

// What a sheet's property list says. `problem` is set, and `frames` empty, when none of it can
// be used; the words are the reader's log reason ("it is ...").
struct SheetFrames {
    std::string problem;
    int format = 0;
    std::vector<SheetFrame> frames;  // in name order; entries that are no dictionary left out
};

// The sheet layout (a dictionary root):
//   "frames"   dict: frame name -> dict with
//       "frame"           "{{x,y},{w,h}}"  the frame's rectangle in the texture, in pixels,
//                                          origin at the texture's top-left. For a rotated
//                                          frame w,h are the UNROTATED size and the pixels
//                                          occupy a region h wide and w high, the image
//                                          turned 90 degrees clockwise.
//       "offset"          "{x,y}"          centre of the trimmed frame minus centre of the
//                                          source image (y up)
//       "rotated"         true/false       stored turned 90 degrees clockwise: <true/>, or a
//                                          string "true"/"yes" in any case, or a non-zero number
//       "sourceSize"      "{w,h}"          the untrimmed source image's size
//       "sourceColorRect" "{{x,y},{w,h}}"  where the trimmed pixels sit in the source
//                                          (informational; offset already says it)
//   "metadata" dict:
//       "format"          2 (any number from 0 to 3, fraction dropped; absent means 0)
//       "textureFileName" the sheet image, relative to the plist's folder (default: the
//                         plist's name with its extension replaced by .png)
// Formats 0 (x, y, width, height, offsetX, offsetY, originalWidth, originalHeight),
// 1 (as 2 without "rotated") and 3 ("textureRect", "spriteOffset", "spriteSourceSize",
// "textureRotated") are read too.
SheetFrames readSheetFrames(const CCDictionary* plist);

// The image a sheet's metadata names, as a path: relative names are taken from the folder of
// `plistPath`; without a name, the plist's own path with ".png" for its extension.
std::string sheetImagePath(const CCDictionary* plist, const std::string& plistPath);

// The reason logged for a sheet whose frames `names` (comma-separated) do not fit its image.
std::string unfitFramesReason(const std::string& names);

}  // namespace pagly::engine
