#include "gui/reader/WidgetClasses.h"

#include <cstring>

#include "gui/Layout.h"
#include "gui/reader/CCSGUIReader.h"
#include "gui/reader/WidgetHeaders.h"

namespace cocos2d {
namespace extension {

namespace {

template <class T>
UIWidget* make() {
    return T::create();
}

typedef CCSGUIReader R;

// In the order the format lists the classes.
const WidgetClass kClasses[] = {
#if PAGLY_HAVE_BUTTON
    {"Button", &make<UIButton>, {&R::applyButtonOptions, nullptr}},
#endif
#if PAGLY_HAVE_CHECKBOX
    {"CheckBox", &make<UICheckBox>, {&R::applyCheckBoxOptions, nullptr}},
#endif
#if PAGLY_HAVE_LABEL
    {"Label", &make<UILabel>, {&R::applyLabelOptions, nullptr}},
#endif
#if PAGLY_HAVE_LABELATLAS
    {"LabelAtlas", &make<UILabelAtlas>, {&R::applyLabelAtlasOptions, nullptr}},
#endif
#if PAGLY_HAVE_LOADINGBAR
    {"LoadingBar", &make<UILoadingBar>, {&R::applyLoadingBarOptions, nullptr}},
#endif
#if PAGLY_HAVE_SCROLLVIEW
    {"ScrollView", &make<UIScrollView>, {&R::applyScrollViewOptions, nullptr}},
#endif
#if PAGLY_HAVE_LABEL
    {"TextArea", &make<UILabel>, {&R::applyTextAreaOptions, nullptr}},
#endif
#if PAGLY_HAVE_BUTTON
    {"TextButton", &make<UIButton>, {&R::applyTextButtonOptions, nullptr}},
#endif
#if PAGLY_HAVE_TEXTFIELD
    {"TextField", &make<UITextField>, {&R::applyTextFieldOptions, nullptr}},
#endif
#if PAGLY_HAVE_IMAGEVIEW
    {"ImageView", &make<UIImageView>, {&R::applyImageViewOptions, nullptr}},
#endif
    {"Panel", &make<Layout>, {&R::applyPanelOptions, nullptr}},
#if PAGLY_HAVE_SLIDER
    {"Slider", &make<UISlider>, {&R::applySliderOptions, nullptr}},
#endif
    {"ListView", nullptr, {nullptr, nullptr}},
#if PAGLY_HAVE_PAGEVIEW
    {"PageView", &make<UIPageView>, {&R::applyPanelOptions, &R::applyColorOptions}},
#endif
#if PAGLY_HAVE_LABELBMFONT
    {"LabelBMFont", &make<UILabelBMFont>, {&R::applyLabelBMFontOptions, nullptr}},
#endif
#if PAGLY_HAVE_DRAGPANEL
    {"DragPanel", &make<UIDragPanel>, {&R::applyDragPanelOptions, nullptr}},
#endif
};

}  // namespace

const WidgetClass* findWidgetClass(const char* classname) {
    if (!classname) return nullptr;
    for (const WidgetClass& c : kClasses) {
        if (std::strcmp(c.classname, classname) == 0) return &c;
    }
    return nullptr;
}

}  // namespace extension
}  // namespace cocos2d
