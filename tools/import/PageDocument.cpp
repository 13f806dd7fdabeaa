// The UI document of a converted page (see PageDocument.h).
#include "tools/import/PageDocument.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdio>

#include "app/BookNames.h"

namespace pagly::import {

const char* const kRestPicture = "pictures/sentence_rest.png";
const char* const kLitPicture = "pictures/sentence_lit.png";

namespace {

// What every widget of the page carries, in the layout the book maker writes too.
Json::Value common(const std::string& name, int tag, double x, double y, double width,
                   double height, double anchor, int z) {
    Json::Value o;
    o["name"] = name;
    o["tag"] = tag;
    o["actiontag"] = 0;
    o["x"] = x;
    o["y"] = y;
    o["width"] = width;
    o["height"] = height;
    o["touchAble"] = false;
    o["visible"] = true;
    o["ZOrder"] = z;
    o["scaleX"] = 1.0;
    o["scaleY"] = 1.0;
    o["rotation"] = 0;
    o["anchorPointX"] = anchor;
    o["anchorPointY"] = anchor;
    o["colorR"] = 255;
    o["colorG"] = 255;
    o["colorB"] = 255;
    o["opacity"] = 255;
    o["flipX"] = false;
    o["flipY"] = false;
    return o;
}

Json::Value image(const std::string& path) {
    Json::Value ref;
    ref["path"] = path;
    ref["resourceType"] = 0;
    return ref;
}

Json::Value node(const char* classname, const Json::Value& options) {
    Json::Value n;
    n["classname"] = classname;
    n["name"] = options["name"];
    n["options"] = options;
    n["children"] = Json::Value(Json::arrayValue);
    return n;
}

Json::Value panel(const std::string& name, int tag, double x, double y, double width, double height,
                  int z, const int* rgb) {
    Json::Value o = common(name, tag, x, y, width, height, 0.0, z);
    o["clipAble"] = false;
    o["backGroundScale9Enable"] = false;
    o["colorType"] = rgb ? 1 : 0;
    o["bgColorR"] = rgb ? rgb[0] : 255;
    o["bgColorG"] = rgb ? rgb[1] : 255;
    o["bgColorB"] = rgb ? rgb[2] : 255;
    o["bgColorOpacity"] = rgb ? 255 : 0;
    for (const char* key : {"bgStartColorR", "bgStartColorG", "bgStartColorB", "bgEndColorR",
                            "bgEndColorG", "bgEndColorB"})
        o[key] = 255;
    o["vectorX"] = 0.0;
    o["vectorY"] = -0.5;
    for (const char* key : {"capInsetsX", "capInsetsY", "capInsetsWidth", "capInsetsHeight"})
        o[key] = 0;
    return node("Panel", o);
}

// The highlight: a warm highlighter yellow at a third of full strength, so the text under it
// stays legible.
const Uint8 kLit[4] = {255, 204, 0, 96};
const Uint8 kClear[4] = {255, 255, 255, 0};

// A picture clear but for `pieces` (all of it when there are none given), in colour `rgba`.
bool savePicture(const std::string& path, int width, int height, const Uint8* rgba,
                 const std::vector<ButtonPlace>* pieces = nullptr) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return false;
    Uint32 colour = SDL_MapRGBA(surface->format, rgba[0], rgba[1], rgba[2], rgba[3]);
    if (!pieces) {
        SDL_FillRect(surface, nullptr, colour);
    } else {
        SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 0, 0, 0, 0));
        for (const ButtonPlace& piece : *pieces) {
            int x0 = (int)std::floor(piece.x), y0 = (int)std::floor(piece.y);
            SDL_Rect r{x0, y0, (int)std::ceil(piece.x + piece.width) - x0,
                       (int)std::ceil(piece.y + piece.height) - y0};
            SDL_FillRect(surface, &r, colour);  // SDL clips it to the surface
        }
    }
    bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

}  // namespace

Json::Value pageDocument(const PagePlan& plan) {
    int rgb[3] = {255, 255, 255};
    if (plan.background.size() == 7 && plan.background[0] == '#')
        std::sscanf(plan.background.c_str() + 1, "%2x%2x%2x", &rgb[0], &rgb[1], &rgb[2]);
    int tag = 1;
    Json::Value root = panel("page" + std::to_string(plan.page), tag++, 0, 0, 640, 960, 0, rgb);

    Json::Value picture = common("picture", tag++, 320, 480, 0, 0, 0.5, 0);
    picture["ignoreSize"] = true;
    picture["scale9Enable"] = false;
    picture["fileNameData"] = image(plan.picture);
    root["children"].append(node("ImageView", picture));

    // Positions relative to the frame's centre: the reader places captions from there.
    Json::Value sentences = panel("sentences", tag++, 320, 480, 0, 0, 5, nullptr);
    for (size_t i = 0; i < plan.buttons.size(); ++i) {
        const ButtonPlace& b = plan.buttons[i];
        Json::Value o = common(sentenceButtonName(plan.page, (int)i + 1), tag++,
                               b.x + b.width / 2 - 320, 480 - (b.y + b.height / 2), 0, 0, 0.5, 1);
        o["touchAble"] = true;
        o["ignoreSize"] = true;
        o["scale9Enable"] = false;
        if (b.lit.empty()) {
            // The shared pictures are scaled, not sliced: the button's scale is its rectangle,
            // which is also what the reader sizes the caption from.
            o["scaleX"] = b.width / kButtonPictureSize;
            o["scaleY"] = b.height / kButtonPictureSize;
            o["normalData"] = image(kRestPicture);
            o["pressedData"] = image(kLitPicture);
        } else {
            // Its own pictures already have the rectangle's size.
            o["normalData"] = image(b.rest);
            o["pressedData"] = image(b.lit);
            for (const ButtonPlace& piece : b.pieces) {
                Json::Value area;
                area["x"] = piece.x;
                area["y"] = piece.y;
                area["width"] = piece.width;
                area["height"] = piece.height;
                o["hitAreas"].append(area);
            }
        }
        o["disabledData"] = image("");
        sentences["children"].append(node("Button", o));
    }
    root["children"].append(sentences);

    Json::Value document;
    document["version"] = "1.2.0.0";
    document["designWidth"] = 640;
    document["designHeight"] = 960;
    document["textures"] = Json::Value(Json::arrayValue);
    document["widgetTree"] = root;
    return document;
}

bool writeButtonPictures(const std::string& restPath, const std::string& litPath) {
    return savePicture(restPath, kButtonPictureSize, kButtonPictureSize, kClear) &&
           savePicture(litPath, kButtonPictureSize, kButtonPictureSize, kLit);
}

bool writeSentencePictures(const std::string& restPath, const std::string& litPath, int width,
                           int height, const std::vector<ButtonPlace>& pieces) {
    std::vector<ButtonPlace> none;
    return width > 0 && height > 0 && savePicture(restPath, width, height, kClear, &none) &&
           savePicture(litPath, width, height, kLit, &pieces);
}

}  // namespace pagly::import
