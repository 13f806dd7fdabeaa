// The option groups of the input widgets: loading bar, slider, text field.
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/ReaderOptions.h"
#include "gui/reader/WidgetHeaders.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

void CCSGUIReader::applyLoadingBarOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UILoadingBar* bar = dynamic_cast<UILoadingBar*>(widget)) {
        ReaderOptions o(dict);
        ImageRule(o, m_documentDirectory, m_legacyDocument)
            .apply("texture", "textureData",
                   [bar](const char* name, TextureResType type) { bar->loadTexture(name, type); });
        if (!m_legacyDocument) {
            bool scale9 = o.boolean("scale9Enable");
            bar->setScale9Enabled(scale9);
            if (scale9) {
                bar->setCapInsets(o.capInsets());
                bar->setSize(CCSize(o.size("width"), o.size("height")));
            }
        }
        bar->setDirection(o.integer("direction"));
        bar->setPercent(o.integer("percent"));
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applySliderOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UISlider* slider = dynamic_cast<UISlider*>(widget)) {
        ReaderOptions o(dict);
        ImageRule images(o, m_documentDirectory, m_legacyDocument);
        bool scale9 = o.boolean("barTextureScale9Enable");
        slider->setScale9Enabled(scale9);
        float length = o.size("length");
        // The bar is loaded only when the legacy key is present, in both layouts.
        if (o.has("barFileName")) {
            images.apply("barFileName", "barFileNameData",
                         [slider](const char* name, TextureResType type) {
                             slider->loadBarTexture(name, type);
                         });
            if (scale9) slider->setSize(CCSize(length, slider->getSize().height));
        }
        images.apply("ballNormal", "ballNormalData",
                     [slider](const char* name, TextureResType type) {
                         slider->loadBallTextureNormal(name, type);
                     });
        images.apply("ballPressed", "ballPressedData",
                     [slider](const char* name, TextureResType type) {
                         slider->loadBallTexturePressed(name, type);
                     });
        images.apply("ballDisabled", "ballDisabledData",
                     [slider](const char* name, TextureResType type) {
                         slider->loadBallTextureDisabled(name, type);
                     });
        slider->setPercent(o.integer("percent"));
        images.apply("progressBarFileName", "progressBarData",
                     [slider](const char* name, TextureResType type) {
                         slider->loadProgressBarTexture(name, type);
                     });
    }
    applyColorOptions(widget, dict);
}

void CCSGUIReader::applyTextFieldOptions(UIWidget* widget, JsonDictionary* dict) {
    applyWidgetOptions(widget, dict);
    if (UITextField* field = dynamic_cast<UITextField*>(widget)) {
        ReaderOptions o(dict);
        if (const char* placeHolder = o.string("placeHolder")) field->setPlaceHolder(placeHolder);
        if (const char* text = o.string("text")) field->setText(text);
        if (o.has("fontSize")) field->setFontSize(o.fontSize());
        if (const char* font = o.string("fontName")) field->setFontName(font);
        if (o.has("touchSizeWidth") && o.has("touchSizeHeight")) {
            field->setTouchSize(CCSize(o.size("touchSizeWidth"), o.size("touchSizeHeight")));
            field->setUseTouchArea(true);
        }
        bool maxLength = o.boolean("maxLengthEnable");
        field->setMaxLengthEnabled(maxLength);
        if (maxLength) field->setMaxLength(o.integer("maxLength"));
        bool password = o.boolean("passwordEnable");
        field->setPasswordEnabled(password);
        if (password) {
            if (const char* style = o.string("passwordStyleText")) {
                field->setPasswordStyleText(style);
            }
        }
    }
    applyColorOptions(widget, dict);
}

}  // namespace pagly::gui
