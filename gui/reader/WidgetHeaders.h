#pragma once

// The widget classes the reader builds. Widgets still being written are picked up as their
// headers appear.
#include "gui/Layout.h"
#include "gui/UIWidget.h"

#if __has_include("gui/UIButton.h")
#include "gui/UIButton.h"
#define PAGLY_HAVE_BUTTON 1
#endif
#if __has_include("gui/UICheckBox.h")
#include "gui/UICheckBox.h"
#define PAGLY_HAVE_CHECKBOX 1
#endif
#if __has_include("gui/UILabel.h")
#include "gui/UILabel.h"
#define PAGLY_HAVE_LABEL 1
#endif
#if __has_include("gui/UILabelAtlas.h")
#include "gui/UILabelAtlas.h"
#define PAGLY_HAVE_LABELATLAS 1
#endif
#if __has_include("gui/UILabelBMFont.h")
#include "gui/UILabelBMFont.h"
#define PAGLY_HAVE_LABELBMFONT 1
#endif
#if __has_include("gui/UILoadingBar.h")
#include "gui/UILoadingBar.h"
#define PAGLY_HAVE_LOADINGBAR 1
#endif
#if __has_include("gui/UIScrollView.h")
#include "gui/UIScrollView.h"
#define PAGLY_HAVE_SCROLLVIEW 1
#endif
#if __has_include("gui/UITextField.h")
#include "gui/UITextField.h"
#define PAGLY_HAVE_TEXTFIELD 1
#endif
#if __has_include("gui/UIImageView.h")
#include "gui/UIImageView.h"
#define PAGLY_HAVE_IMAGEVIEW 1
#endif
#if __has_include("gui/UISlider.h")
#include "gui/UISlider.h"
#define PAGLY_HAVE_SLIDER 1
#endif
#if __has_include("gui/UIPageView.h")
#include "gui/UIPageView.h"
#define PAGLY_HAVE_PAGEVIEW 1
#endif
#if __has_include("gui/UIDragPanel.h")
#include "gui/UIDragPanel.h"
#define PAGLY_HAVE_DRAGPANEL 1
#endif
