#pragma once

// The widget classes the reader builds.
#include "gui/Layout.h"
#include "gui/UIButton.h"
#include "gui/UICheckBox.h"
#include "gui/UIDragPanel.h"
#include "gui/UIImageView.h"
#include "gui/UILabel.h"
#include "gui/UILabelAtlas.h"
#include "gui/UILabelBMFont.h"
#include "gui/UILoadingBar.h"
#include "gui/UIPageView.h"
#include "gui/UIScrollView.h"
#include "gui/UISlider.h"
#include "gui/UITextField.h"
#include "gui/UIWidget.h"
