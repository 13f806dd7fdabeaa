#include "gui/reader/WidgetClasses.h"

#include <cstring>

#include "gui/Layout.h"
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/WidgetHeaders.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

namespace {

template <class T>
UIWidget* make() {
    return T::create();
}

typedef CCSGUIReader R;

// In the order the format lists the classes.
const WidgetClass kClasses[] = {
    {"Button", &make<UIButton>, {&R::applyButtonOptions, nullptr}},
    {"CheckBox", &make<UICheckBox>, {&R::applyCheckBoxOptions, nullptr}},
    {"Label", &make<UILabel>, {&R::applyLabelOptions, nullptr}},
    {"LabelAtlas", &make<UILabelAtlas>, {&R::applyLabelAtlasOptions, nullptr}},
    {"LoadingBar", &make<UILoadingBar>, {&R::applyLoadingBarOptions, nullptr}},
    {"ScrollView", &make<UIScrollView>, {&R::applyScrollViewOptions, nullptr}},
    {"TextArea", &make<UILabel>, {&R::applyTextAreaOptions, nullptr}},
    {"TextButton", &make<UIButton>, {&R::applyTextButtonOptions, nullptr}},
    {"TextField", &make<UITextField>, {&R::applyTextFieldOptions, nullptr}},
    {"ImageView", &make<UIImageView>, {&R::applyImageViewOptions, nullptr}},
    {"Panel", &make<Layout>, {&R::applyPanelOptions, nullptr}},
    {"Slider", &make<UISlider>, {&R::applySliderOptions, nullptr}},
    {"ListView", nullptr, {nullptr, nullptr}},
    {"PageView", &make<UIPageView>, {&R::applyPanelOptions, &R::applyColorOptions}},
    {"LabelBMFont", &make<UILabelBMFont>, {&R::applyLabelBMFontOptions, nullptr}},
    {"DragPanel", &make<UIDragPanel>, {&R::applyDragPanelOptions, nullptr}},
};

}  // namespace

const WidgetClass* findWidgetClass(const char* classname) {
    if (!classname) return nullptr;
    for (const WidgetClass& c : kClasses) {
        if (std::strcmp(c.classname, classname) == 0) return &c;
    }
    return nullptr;
}

}  // namespace pagly::gui
