#pragma once

#include <string>

#include "engine/base/RefPtr.h"
#include "engine/nodes/CCNode.h"

namespace pagly::engine {

class CCLabelTTF;

// One entry of a CCMenu: a node that runs a member callback of its target when the menu
// activates it. The target is not owned (it usually owns the menu); it is kept alive while
// the callback runs. Identity may be carried in the z-order, which stays as it was added.
class CCMenuItem : public CCNodeRGBA {
  public:
    CCMenuItem();
    ~CCMenuItem() override;

    static CCMenuItem* create();
    static CCMenuItem* create(CCObject* target, SEL_MenuHandler selector);
    bool initWithTarget(CCObject* target, SEL_MenuHandler selector);

    // The item's rectangle in its parent's (the menu's) space.
    CCRect rect();
    // Runs the callback once, if the item is enabled.
    virtual void activate();
    // The finger is on the item / has left it.
    virtual void selected();
    virtual void unselected();
    bool isSelected() const { return m_bSelected; }
    virtual void setEnabled(bool enabled);
    virtual bool isEnabled() const { return m_bEnabled; }
    void setTarget(CCObject* target, SEL_MenuHandler selector);

    std::string description() const override;

  protected:
    CCObject* m_pListener = nullptr;  // non-owning: usually the layer that owns the menu
    SEL_MenuHandler m_pfnSelector = nullptr;
    bool m_bSelected = false;
    bool m_bEnabled = true;
};

// An item showing a label (any node with CCLabelProtocol and colour, e.g. CCLabelTTF). It
// grows a little while selected and shows the disabled colour while disabled.
class CCMenuItemLabel : public CCMenuItem {
  public:
    CCMenuItemLabel();
    ~CCMenuItemLabel() override;

    static CCMenuItemLabel* create(CCNode* label);
    static CCMenuItemLabel* create(CCNode* label, CCObject* target, SEL_MenuHandler selector);
    bool initWithLabel(CCNode* label, CCObject* target, SEL_MenuHandler selector);

    CCNode* getLabel() const { return m_pLabel.get(); }
    // Replaces the label; the item takes its size.
    void setLabel(CCNode* label);
    // Sets the label's text; the item takes the new size.
    void setString(const char* text);
    const ccColor3B& getDisabledColor() const { return m_tDisabledColor; }
    void setDisabledColor(const ccColor3B& color);

    void activate() override;
    void selected() override;
    void unselected() override;
    void setEnabled(bool enabled) override;
    // Colour and opacity go to the label.
    void setColor(const ccColor3B& color) override;
    void setOpacity(unsigned char opacity) override;

  protected:
    void applyLabelColor();

    RefPtr<CCNode> m_pLabel;
    ccColor3B m_tDisabledColor;
    float m_fOriginalScale = 1.0f;
};

// A CCMenuItemLabel with a CCLabelTTF in the menu font: the process-wide default family and
// size (setFontName / setFontSize), or the item's own (setFontNameObj / setFontSizeObj).
class CCMenuItemFont : public CCMenuItemLabel {
  public:
    static void setFontSize(unsigned int size);
    static unsigned int fontSize();
    static void setFontName(const char* name);
    static const char* fontName();

    static CCMenuItemFont* create(const char* text);
    static CCMenuItemFont* create(const char* text, CCObject* target, SEL_MenuHandler selector);
    bool initWithString(const char* text, CCObject* target, SEL_MenuHandler selector);

    void setFontSizeObj(unsigned int size);
    unsigned int fontSizeObj() const { return m_uFontSize; }
    void setFontNameObj(const char* name);
    const char* fontNameObj() const { return m_strFontName.c_str(); }

  private:
    void recreateLabel();
    unsigned int m_uFontSize = 0;
    std::string m_strFontName;
};

// An item drawn with nodes (usually sprites): the normal image, and optionally one shown
// while selected and one while disabled (the normal one stands in for a missing one).
class CCMenuItemSprite : public CCMenuItem {
  public:
    static CCMenuItemSprite* create(CCNode* normal, CCNode* selected, CCNode* disabled = nullptr);
    static CCMenuItemSprite* create(CCNode* normal, CCNode* selected, CCObject* target,
                                    SEL_MenuHandler selector);
    static CCMenuItemSprite* create(CCNode* normal, CCNode* selected, CCNode* disabled,
                                    CCObject* target, SEL_MenuHandler selector);
    bool initWithNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled, CCObject* target,
                              SEL_MenuHandler selector);

    CCNode* getNormalImage() const { return m_pNormalImage; }
    // Replaces the image (the old one is removed); the item takes the normal image's size.
    void setNormalImage(CCNode* image);
    CCNode* getSelectedImage() const { return m_pSelectedImage; }
    void setSelectedImage(CCNode* image);
    CCNode* getDisabledImage() const { return m_pDisabledImage; }
    void setDisabledImage(CCNode* image);

    void selected() override;
    void unselected() override;
    void setEnabled(bool enabled) override;
    // Colour and opacity go to the images.
    void setColor(const ccColor3B& color) override;
    void setOpacity(unsigned char opacity) override;

  protected:
    void replaceImage(CCNode*& slot, CCNode* image, int tag);
    void updateImagesVisibility();

    // Non-owning: the images are children of the item, which owns them.
    CCNode* m_pNormalImage = nullptr;
    CCNode* m_pSelectedImage = nullptr;
    CCNode* m_pDisabledImage = nullptr;
};

// A CCMenuItemSprite made from image files. A missing image leaves that image out (and
// logs); a missing normal image gives an empty item of size zero.
class CCMenuItemImage : public CCMenuItemSprite {
  public:
    static CCMenuItemImage* create();
    static CCMenuItemImage* create(const char* normalImage, const char* selectedImage);
    static CCMenuItemImage* create(const char* normalImage, const char* selectedImage,
                                   const char* disabledImage);
    static CCMenuItemImage* create(const char* normalImage, const char* selectedImage,
                                   CCObject* target, SEL_MenuHandler selector);
    static CCMenuItemImage* create(const char* normalImage, const char* selectedImage,
                                   const char* disabledImage, CCObject* target,
                                   SEL_MenuHandler selector);
    bool initWithNormalImage(const char* normalImage, const char* selectedImage,
                             const char* disabledImage, CCObject* target, SEL_MenuHandler selector);
};

}  // namespace pagly::engine
