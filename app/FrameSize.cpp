#include "app/FrameSize.h"

namespace pagly {

engine::CCSize frameSizeForDesktopHeight(double desktopHeight) {
    double height = desktopHeight * 0.94;
    return engine::CCSize((float)(height * 2 / 3), (float)height);
}

}  // namespace pagly
