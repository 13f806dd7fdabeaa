// Turns a sprite sheet's property list into frames; see SheetFrames.h for the layout read.
#include "engine/nodes/SheetFrames.h"

#include <cmath>
#include <cstdlib>

#include "engine/base/CCDictionary.h"
#include "engine/base/CCString.h"
#include "engine/platform/CCFileUtils.h"

namespace pagly::engine {

namespace {

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

std::string stringFor(const CCDictionary* d, const char* key) {
    const CCString* s = d ? d->valueForKey(key) : nullptr;
    return s ? s->m_sString : std::string();
}
float floatFor(const CCDictionary* d, const char* key) {
    const CCString* s = d ? d->valueForKey(key) : nullptr;
    return s ? s->floatValue() : 0.0f;
}
bool boolFor(const CCDictionary* d, const char* key) {
    const CCString* s = d ? d->valueForKey(key) : nullptr;
    return s && s->boolValue();
}

const CCDictionary* dictFor(const CCDictionary* d, const char* key) {
    return d ? dynamic_cast<const CCDictionary*>(d->objectForKey(key)) : nullptr;
}

SheetFrame frameOf(const std::string& name, const CCDictionary* f, int format) {
    SheetFrame frame;
    frame.name = name;
    if (format == 0) {
        frame.rect =
            CCRect(floatFor(f, "x"), floatFor(f, "y"), floatFor(f, "width"), floatFor(f, "height"));
        frame.offset = CCPoint(floatFor(f, "offsetX"), floatFor(f, "offsetY"));
        frame.sourceSize = CCSize(std::fabs(floatFor(f, "originalWidth")),
                                  std::fabs(floatFor(f, "originalHeight")));
    } else if (format == 1 || format == 2) {
        frame.rect = CCRectFromString(stringFor(f, "frame").c_str());
        frame.offset = CCPointFromString(stringFor(f, "offset").c_str());
        frame.sourceSize = CCSizeFromString(stringFor(f, "sourceSize").c_str());
        frame.rotated = format == 2 && boolFor(f, "rotated");
    } else {
        frame.rect = CCRectFromString(stringFor(f, "textureRect").c_str());
        frame.offset = CCPointFromString(stringFor(f, "spriteOffset").c_str());
        frame.sourceSize = CCSizeFromString(stringFor(f, "spriteSourceSize").c_str());
        frame.rotated = boolFor(f, "textureRotated");
    }
    if (!std::isfinite(frame.offset.x) || !std::isfinite(frame.offset.y))
        frame.offset = CCPointZero;
    // A missing source size means the frame was not trimmed.
    const CCSize& source = frame.sourceSize;
    if (!(source.width > 0 && source.height > 0 && std::isfinite(source.width) &&
          std::isfinite(source.height)))
        frame.sourceSize = frame.rect.size;
    return frame;
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

bool SheetFrame::fitsImage(float pixelsWide, float pixelsHigh) const {
    const float wideInImage = rotated ? rect.size.height : rect.size.width;
    const float highInImage = rotated ? rect.size.width : rect.size.height;
    // Written as "not inside" so that NaN (from "nan" in a format-0 sheet) fails too.
    return rect.size.width > 0 && rect.size.height > 0 && rect.origin.x >= 0 &&
           rect.origin.y >= 0 && rect.origin.x + wideInImage <= pixelsWide &&
           rect.origin.y + highInImage <= pixelsHigh;
}

SheetFrames readSheetFrames(const CCDictionary* plist) {
    SheetFrames sheet;
    const CCDictionary* frames = dictFor(plist, "frames");
    if (!frames) {
        sheet.problem = "it is not a sprite sheet (no \"frames\" dictionary)";
        return sheet;
    }
    // Checked as a number first: turning "1e30" or "nan" straight into an int is undefined.
    const CCDictionary* meta = dictFor(plist, "metadata");
    const CCString* formatText = meta ? meta->valueForKey("format") : nullptr;
    double formatValue = formatText ? formatText->doubleValue() : 0;
    if (!(formatValue >= 0 && formatValue <= 3)) {
        sheet.problem = std::string("it is a sprite sheet of unknown format ") +
                        (formatText ? formatText->getCString() : "");
        return sheet;
    }
    sheet.format = (int)formatValue;
    for (const auto& entry : frames->stringEntries()) {
        const CCDictionary* f = dynamic_cast<const CCDictionary*>(entry.second);
        if (f) sheet.frames.push_back(frameOf(entry.first, f, sheet.format));
    }
    return sheet;
}

std::string sheetImagePath(const CCDictionary* plist, const std::string& plistPath) {
    std::string relative = stringFor(dictFor(plist, "metadata"), "textureFileName");
    if (relative.empty()) {
        // No name: the image shares the plist's name.
        std::string base = plistPath;
        size_t dot = base.find_last_of('.');
        size_t slash = base.find_last_of('/');
        if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            base.erase(dot);
        return base + ".png";
    }
    if (CCFileUtils::sharedFileUtils()->isAbsolutePath(relative)) return relative;
    return folderOf(plistPath) + relative;
}

std::string unfitFramesReason(const std::string& names) {
    return "its frames " + names + " have no size or lie outside its image; they are skipped";
}

}  // namespace pagly::engine
