// Readable page titles and numbers on the tinted ribbon (see PageLook.h).
#include "app/PageLook.h"

#include "app/Contrast.h"
#include "gui/UIWidget.h"
#include "gui/WidgetHelper.h"

using namespace pagly::engine;
using namespace pagly::gui;

namespace pagly {

namespace {
// The ribbon's artwork is white; the disc behind the number is 235 grey.
const int kRibbonGrey = 255, kBadgeGrey = 235;
// The title's type is large (3:1 is enough); the number's is not.
const double kLargeTextContrast = 3.0, kTextContrast = 4.5;

void mendText(UIWidget* label, const ccColor3B& tint, int grey, double needed) {
    if (!label) return;
    ccColor3B ground(tint.r * grey / 255, tint.g * grey / 255, tint.b * grey / 255);
    if (contrastRatio(label->getColor(), ground) < needed) label->setColor(inkFor(ground));
}
}  // namespace

void keepTitleReadable(UIWidget* page) {
    if (!page) return;
    UIWidget* ribbon = WidgetHelper::findWidgetByName(page, "ribbon");
    if (!ribbon) return;
    ccColor3B tint = ribbon->getColor();
    mendText(WidgetHelper::findWidgetByName(page, "title"), tint, kRibbonGrey, kLargeTextContrast);
    mendText(WidgetHelper::findWidgetByName(page, "pagenumber"), tint, kBadgeGrey, kTextContrast);
}

}  // namespace pagly
