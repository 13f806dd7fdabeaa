// The option groups every widget shares (Common, Colour) and those of the panel family
// (Layout, Panel, ScrollView, DragPanel).
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/ReaderOptions.h"
#include "gui/reader/WidgetHeaders.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

void CCSGUIReader::applyWidgetOptions(UIWidget* widget, JsonDictionary* dict) {
    if (!widget) return;
    ReaderOptions o(dict);
    if (o.has("ignoreSize")) widget->setIgnoreSize(o.boolean("ignoreSize"));
    widget->setSize(CCSize(o.size("width"), o.size("height")));
    widget->setTag(o.integer("tag"));
    widget->setActionTag(o.integer("actiontag"));
    widget->setTouchEnabled(o.boolean("touchAble"));
    const char* name = o.string("name");
    widget->setName(name ? name : "default");
    widget->setPosition(CCPoint(o.number("x"), o.number("y")));
    if (o.has("scaleX")) widget->setScaleX(o.number("scaleX"));
    if (o.has("scaleY")) widget->setScaleY(o.number("scaleY"));
    if (o.has("rotation")) widget->setRotation(o.number("rotation"));
    // Any present value that is not true (0, 1, a string) hides the widget.
    if (o.has("visible")) widget->setVisible(o.boolean("visible"));
    widget->setWidgetZOrder(o.integer("ZOrder"));
}

void CCSGUIReader::applyColorOptions(UIWidget* widget, JsonDictionary* dict) {
    if (!widget) return;
    ReaderOptions o(dict);
    if (o.has("opacity")) widget->setOpacity(o.byte("opacity", 255));
    widget->setColor(o.color("colorR", "colorG", "colorB", 255));
    widget->setAnchorPoint(CCPoint(o.number("anchorPointX", 0.5f), o.number("anchorPointY", 0.5f)));
    widget->setFlipX(o.boolean("flipX"));
    widget->setFlipY(o.boolean("flipY"));
}

void CCSGUIReader::applyLayoutOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    ReaderOptions o(dict);
    // Scroll containers clip by themselves; the document does not switch that.
    bool scrolls = false;
    scrolls = scrolls || dynamic_cast<UIScrollView*>(widget);
    scrolls = scrolls || dynamic_cast<UIDragPanel*>(widget);
    Layout* panel = dynamic_cast<Layout*>(widget);
    if (panel && !scrolls) panel->setClipAble(o.boolean("clipAble"));
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyPanelOptions(UIWidget* widget, JsonDictionary* dict) {
    applyLayoutOptions(widget, dict);
    Layout* panel = dynamic_cast<Layout*>(widget);
    if (panel) {
        ReaderOptions o(dict);
        bool scale9 = o.boolean("backGroundScale9Enable");
        panel->setBackGroundImageScale9Enabled(scale9);
        // Every colour value is read before any is applied.
        ccColor3B color = o.color("bgColorR", "bgColorG", "bgColorB", 0);
        ccColor3B start = o.color("bgStartColorR", "bgStartColorG", "bgStartColorB", 0);
        ccColor3B end = o.color("bgEndColorR", "bgEndColorG", "bgEndColorB", 0);
        CCPoint vector(o.number("vectorX"), o.number("vectorY"));
        unsigned char opacity = o.byte("bgColorOpacity", 0);
        int type = o.integer("colorType");
        panel->setBackGroundColorVector(vector);
        // Kinds other than the three known ones paint nothing, as "none" does.
        panel->setBackGroundColorType(type >= BackGroundColorNone && type <= BackGroundColorGradient
                                          ? (BackGroundColorType)type
                                          : BackGroundColorNone);
        panel->setBackGroundColor(start, end);
        panel->setBackGroundColor(color);
        panel->setBackGroundColorOpacity(opacity);
        ImageRule(o, m_documentDirectory, m_legacyDocument)
            .apply("backGroundImage", "backGroundImageData",
                   [panel](const char* name, TextureResType type) {
                       panel->setBackGroundImage(name, type);
                   });
        if (scale9) panel->setBackGroundImageCapInsets(o.capInsets());
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyScrollViewOptions(UIWidget* widget, JsonDictionary* dict) {
    applyPanelOptions(widget, dict);
    if (UIScrollView* view = dynamic_cast<UIScrollView*>(widget)) {
        ReaderOptions o(dict);
        view->setInnerContainerSize(CCSize(o.size("innerWidth"), o.size("innerHeight")));
        // Written as it stands: 1 vertical, 2 horizontal, anything else scrolls nowhere.
        view->setDirection(o.integer("direction"));
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyDragPanelOptions(UIWidget* widget, JsonDictionary* dict) {
    applyPanelOptions(widget, dict);
    if (UIDragPanel* panel = dynamic_cast<UIDragPanel*>(widget)) {
        ReaderOptions o(dict);
        panel->setBounceEnabled(o.boolean("bounceEnable"));
        panel->setInnerContainerSize(CCSize(o.size("innerWidth"), o.size("innerHeight")));
    }
    applyColorOptions(widget, dict);
}

}  // namespace pagly::gui

namespace pagly::gui {

std::vector<CCRect> ReaderOptions::hitAreas() const {
    std::vector<CCRect> areas;
    int count = std::min(m_json->getArrayCount(m_options, "hitAreas"), kMaxHitAreas);
    for (int i = 0; i < count; ++i) {
        JsonDictionaryPtr part(m_json->getArrayDictionary(m_options, "hitAreas", i));
        if (!part) continue;
        ReaderOptions o(part.get());
        CCRect area(o.number("x"), o.number("y"), o.size("width"), o.size("height"));
        if (area.size.width > 0 && area.size.height > 0) areas.push_back(area);
    }
    return areas;
}

}  // namespace pagly::gui
