#pragma once

namespace pagly::engine {
class CCMenuItem;
}

namespace pagly {

class PageLayer;
struct PageControls;

// The round button on every page that opens the learner's card (LearnerCard): an orange disc
// with three bars, as large as the play button is high, in the bar of controls between the next
// arrow and play, where no sentence of a page lies. It sits in a menu of its own, so the bar's
// own items keep their places and their order.
engine::CCMenuItem* addLearnerButton(PageLayer* page, int menuZOrder, const PageControls& bar);

}  // namespace pagly
