// The UI document of one converted page: the page's picture centred in the 640 x 960 frame on
// the page's own colour, and one sentence button per sentence over the rectangle the browser
// laid it out in. A button is invisible at rest and shows a translucent highlight while it is
// pressed and while its sentence plays (the reader focuses it then, which shows the pressed
// picture); the book says so with "keepButtonLook", so the reader keeps these pictures.
#ifndef PAGLY_TOOLS_IMPORT_PAGEDOCUMENT_H
#define PAGLY_TOOLS_IMPORT_PAGEDOCUMENT_H

#include <json/json.h>

#include <string>
#include <vector>

namespace pagly::import {

// A sentence's rectangle in design points, from the frame's top left.
struct ButtonPlace {
    double x = 0, y = 0, width = 0, height = 0;
    // A sentence over several lines has pictures of its own, of the rectangle's size, lit only
    // on its lines (relative to the page document's folder); empty: the shared pictures.
    std::string rest, lit;
    // Those sentences' lines, in the pictures' pixels from their top left: the only parts of
    // the button that take touches, so a tap on a neighbour's words on a shared line is the
    // neighbour's.
    std::vector<ButtonPlace> pieces;
};

struct PagePlan {
    int page = 0;          // the page number
    std::string picture;   // relative to the page document's folder
    int pictureWidth = 0;  // in design points (the picture's pixels)
    int pictureHeight = 0;
    std::string background;            // "#rrggbb"
    std::vector<ButtonPlace> buttons;  // sentence i + 1 is buttons[i]
};

// The pictures every converted page's buttons use, relative to the page documents' folder.
extern const char* const kRestPicture;  // transparent
extern const char* const kLitPicture;   // the highlight
// Their size in pixels; a button scales them to its sentence's rectangle.
constexpr int kButtonPictureSize = 32;

Json::Value pageDocument(const PagePlan& plan);

// Writes the two button pictures as PNG files; false when it cannot.
bool writeButtonPictures(const std::string& restPath, const std::string& litPath);

// Writes a sentence's own pictures, `width` x `height` pixels: one transparent, one lit on the
// `pieces` (its lines, in pixels from the pictures' top left) and clear between them.
bool writeSentencePictures(const std::string& restPath, const std::string& litPath, int width,
                           int height, const std::vector<ButtonPlace>& pieces);

}  // namespace pagly::import

#endif
