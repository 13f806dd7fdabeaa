#include "app/VisibleArea.h"

#include "engine/director/CCDirector.h"

using namespace pagly::engine;

namespace pagly {

CCPoint VisibleArea::s_origin(0, 0);
CCSize VisibleArea::s_size(0, 0);

void VisibleArea::lazyInit() {
    if (s_size.width == 0 && s_size.height == 0) {
        CCDirector* director = CCDirector::sharedDirector();
        s_origin = director->getVisibleOrigin();
        s_size = director->getVisibleSize();
    }
}

void VisibleArea::reset() {
    s_origin = CCPoint(0, 0);
    s_size = CCSize(0, 0);
}

CCPoint VisibleArea::origin() {
    lazyInit();
    return s_origin;
}

CCSize VisibleArea::size() {
    lazyInit();
    return s_size;
}

CCRect VisibleArea::rect() {
    lazyInit();
    return CCRect(s_origin.x, s_origin.y, s_size.width, s_size.height);
}

CCPoint VisibleArea::left() {
    lazyInit();
    return CCPoint(s_origin.x, s_origin.y + s_size.height / 2);
}

CCPoint VisibleArea::right() {
    lazyInit();
    return CCPoint(s_origin.x + s_size.width, s_origin.y + s_size.height / 2);
}

CCPoint VisibleArea::top() {
    lazyInit();
    return CCPoint(s_origin.x + s_size.width / 2, s_origin.y + s_size.height);
}

CCPoint VisibleArea::bottom() {
    lazyInit();
    return CCPoint(s_origin.x + s_size.width / 2, s_origin.y);
}

CCPoint VisibleArea::center() {
    lazyInit();
    return CCPoint(s_origin.x + s_size.width / 2, s_origin.y + s_size.height / 2);
}

}  // namespace pagly
