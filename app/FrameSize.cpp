#include "app/FrameSize.h"

namespace pagly {

engine::CCSize frameSizeForDesktopHeight(double desktopHeight) {
    return engine::CCSize((float)(desktopHeight / 1.4), (float)(desktopHeight * 0.94));
}

}  // namespace pagly
