// pagly: a talking textbook for the desktop.
#include "app/AppDelegate.h"
#include "app/FrameSize.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCEGLView.h"

int main() {
    pagly::AppDelegate app;
    cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView();
    view->setViewName("pagly");
    double desktopHeight = cocos2d::CCApplication::usableDesktopHeight();
    cocos2d::CCSize frame = pagly::frameSizeForDesktopHeight(desktopHeight);
    view->setFrameSize(frame.width, frame.height);
    return cocos2d::CCApplication::sharedApplication()->run();
}
