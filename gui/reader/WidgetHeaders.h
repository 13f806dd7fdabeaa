#pragma once

// The widget classes the reader builds. The input widgets still being written are picked up
// as their headers appear.
#include "gui/Layout.h"
#include "gui/UIWidget.h"

#include "gui/UIButton.h"
#if __has_include("gui/UICheckBox.h")
#include "gui/UICheckBox.h"
#define PAGLY_HAVE_CHECKBOX 1
#endif
#include "gui/UILabel.h"
#include "gui/UILabelAtlas.h"
#include "gui/UILabelBMFont.h"
#if __has_include("gui/UILoadingBar.h")
#include "gui/UILoadingBar.h"
#define PAGLY_HAVE_LOADINGBAR 1
#endif
#include "gui/UIScrollView.h"
#if __has_include("gui/UITextField.h")
#include "gui/UITextField.h"
#define PAGLY_HAVE_TEXTFIELD 1
#endif
#include "gui/UIImageView.h"
#if __has_include("gui/UISlider.h")
#include "gui/UISlider.h"
#define PAGLY_HAVE_SLIDER 1
#endif
#include "gui/UIPageView.h"
#include "gui/UIDragPanel.h"
