#include "app/FrameSize.h"

namespace pagly {

cocos2d::CCSize frameSizeForDesktopHeight(double desktopHeight) {
    return cocos2d::CCSize((float)(desktopHeight / 1.4), (float)(desktopHeight * 0.94));
}

}  // namespace pagly
