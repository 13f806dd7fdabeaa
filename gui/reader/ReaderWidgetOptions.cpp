// The option groups of buttons, images and labels.
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/ReaderOptions.h"
#include "gui/reader/WidgetHeaders.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

void CCSGUIReader::applyButtonOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UIButton* button = dynamic_cast<UIButton*>(widget)) {
        ReaderOptions o(dict);
        ImageRule images(o, m_documentDirectory, m_legacyDocument);
        bool scale9 = o.boolean("scale9Enable");
        button->setScale9Enabled(scale9);
        images.apply("normal", "normalData", [button](const char* name, TextureResType type) {
            button->loadTextureNormal(name, type);
        });
        images.apply("pressed", "pressedData", [button](const char* name, TextureResType type) {
            button->loadTexturePressed(name, type);
        });
        images.apply("disabled", "disabledData", [button](const char* name, TextureResType type) {
            button->loadTextureDisabled(name, type);
        });
        if (scale9) {
            button->setCapInsets(o.capInsets());
            if (o.has("scale9Width") && o.has("scale9Height")) {
                button->setSize(CCSize(o.size("scale9Width"), o.size("scale9Height")));
            }
        }
        button->setHitAreas(o.hitAreas());
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyTextButtonOptions(UIWidget* widget, JsonDictionary* dict) {
    applyButtonOptions(widget, dict);
    if (UIButton* button = dynamic_cast<UIButton*>(widget)) {
        ReaderOptions o(dict);
        // A text button without "text" keeps an empty title.
        if (const char* text = o.string("text")) button->setTitleText(text);
        button->setTitleColor(o.color("textColorR", "textColorG", "textColorB", 255));
        if (o.has("fontSize")) button->setTitleFontSize(o.fontSize());
        if (const char* font = o.string("fontName")) button->setTitleFontName(font);
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyCheckBoxOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UICheckBox* box = dynamic_cast<UICheckBox*>(widget)) {
        ReaderOptions o(dict);
        ImageRule images(o, m_documentDirectory, m_legacyDocument);
        images.apply("backGroundBox", "backGroundBoxData",
                     [box](const char* name, TextureResType type) {
                         box->loadTextureBackGround(name, type);
                     });
        images.apply("backGroundBoxSelected", "backGroundBoxSelectedData",
                     [box](const char* name, TextureResType type) {
                         box->loadTextureBackGroundSelected(name, type);
                     });
        images.apply("frontCross", "frontCrossData", [box](const char* name, TextureResType type) {
            box->loadTextureFrontCross(name, type);
        });
        images.apply("backGroundBoxDisabled", "backGroundBoxDisabledData",
                     [box](const char* name, TextureResType type) {
                         box->loadTextureBackGroundDisabled(name, type);
                     });
        images.apply("frontCrossDisabled", "frontCrossDisabledData",
                     [box](const char* name, TextureResType type) {
                         box->loadTextureFrontCrossDisabled(name, type);
                     });
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyImageViewOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UIImageView* image = dynamic_cast<UIImageView*>(widget)) {
        ReaderOptions o(dict);
        ImageRule images(o, m_documentDirectory, m_legacyDocument);
        auto load = [image](const char* name, TextureResType type) {
            image->loadTexture(name, type);
        };
        bool scale9 = o.boolean("scale9Enable");
        // The two layouts order the image and the nine-slice switch differently.
        if (m_legacyDocument) {
            image->setScale9Enabled(scale9);
            images.apply("fileName", "fileNameData", load);
        } else {
            images.apply("fileName", "fileNameData", load);
            image->setScale9Enabled(scale9);
        }
        if (scale9) {
            if (o.has("scale9Width") && o.has("scale9Height")) {
                image->setSize(CCSize(o.size("scale9Width"), o.size("scale9Height")));
            }
            image->setCapInsets(o.capInsets());
        }
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyLabelOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UILabel* label = dynamic_cast<UILabel*>(widget)) {
        ReaderOptions o(dict);
        label->setTouchScaleEnabled(o.boolean("touchScaleEnable"));
        if (const char* text = o.string("text")) label->setText(text);
        if (o.has("fontSize")) label->setFontSize(o.fontSize());
        if (const char* font = o.string("fontName")) label->setFontName(font);
        label->setColor(o.color("colorR", "colorG", "colorB", 255));
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyTextAreaOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UILabel* label = dynamic_cast<UILabel*>(widget)) {
        ReaderOptions o(dict);
        if (const char* text = o.string("text")) label->setText(text);
        if (o.has("fontSize")) label->setFontSize(o.fontSize());
        label->setColor(o.color("colorR", "colorG", "colorB", 0));
        // A text area without "fontName" keeps the label's default font.
        if (const char* font = o.string("fontName")) label->setFontName(font);
        if (o.has("areaWidth") && o.has("areaHeight")) {
            label->setTextAreaSize(CCSize(o.size("areaWidth"), o.size("areaHeight")));
        }
        if (o.has("hAlignment")) {
            int a = o.integer("hAlignment");
            // Only left, centre and right exist; other values keep the label's alignment.
            if (a >= 0 && a <= 2) label->setTextHorizontalAlignment(a);
        }
        if (o.has("vAlignment")) {
            int a = o.integer("vAlignment");
            if (a >= 0 && a <= 2) label->setTextVerticalAlignment(a);
        }
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyLabelAtlasOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UILabelAtlas* atlas = dynamic_cast<UILabelAtlas*>(widget)) {
        ReaderOptions o(dict);
        bool complete = o.has("stringValue") && o.has("charMapFile") && o.has("itemWidth") &&
                        o.has("itemHeight") && o.has("startCharMap");
        const char* text = o.string("stringValue");
        const char* start = o.string("startCharMap");
        int itemWidth = o.integer("itemWidth");
        int itemHeight = o.integer("itemHeight");
        std::string file = ImageRule(o, m_documentDirectory, m_legacyDocument)
                               .fileOnly("charMapFile", "charMapFileData");
        // Cells of no width or height cut no characters; such an atlas shows nothing.
        if (complete && text && start && !file.empty() && itemWidth > 0 && itemHeight > 0) {
            atlas->setProperty(text, file.c_str(), itemWidth, itemHeight, start);
        }
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyLabelBMFontOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UILabelBMFont* label = dynamic_cast<UILabelBMFont*>(widget)) {
        ReaderOptions o(dict);
        std::string file = ImageRule(o, m_documentDirectory, m_legacyDocument)
                               .fileOnly("fileName", "fileNameData");
        if (!file.empty()) label->setFntFile(file.c_str());
        if (const char* text = o.string("text")) label->setText(text);
    }
    applyColorOptions(widget, dict);
}

}  // namespace pagly::gui
