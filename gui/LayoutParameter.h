#pragma once

#include <string>

#include "engine/base/CCObject.h"
#include "gui/GuiNamespace.h"

namespace pagly::gui {

// Placement hints a panel may read from its children. Panels here only lay out absolutely,
// so nothing sets these; they exist so a widget can carry one and be found by relative name.
class LayoutParameter : public CCObject {
  public:
    static LayoutParameter* create() {
        LayoutParameter* p = new LayoutParameter();
        p->autorelease();
        return p;
    }
};

// A layout parameter that names its widget for relative placement.
class RelativeLayoutParameter : public LayoutParameter {
  public:
    static RelativeLayoutParameter* create() {
        RelativeLayoutParameter* p = new RelativeLayoutParameter();
        p->autorelease();
        return p;
    }
    void setRelativeName(const char* name) { m_strRelativeName = name ? name : ""; }
    const char* getRelativeName() const { return m_strRelativeName.c_str(); }

  private:
    std::string m_strRelativeName;
};

}  // namespace pagly::gui
