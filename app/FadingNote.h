#pragma once

#include <string>

namespace pagly::engine {
class CCNode;
class CCLabelTTF;
}  // namespace pagly::engine

namespace pagly {

// A short note on a dark plate in the middle of the screen that fades away: it says what a key
// did where no control shows it (echo pauses, speech speed). A new note on a screen replaces
// the one before, so quick presses never stack notes.
void showFadingNote(engine::CCNode* screen, const std::string& text);

// The label of the note on `screen`, or nullptr when none is shown (or it has gone).
engine::CCLabelTTF* fadingNoteLabel(engine::CCNode* screen);

// Said once a run when the recordings go to a silent stand-in for a missing sound device.
const char kNoSoundDeviceNote[] = "No sound device found";

// The note's tag on its screen, and how long it stays (held, then faded) before it is gone.
const int kFadingNoteTag = 7170;
const float kFadingNoteSeconds = 1.8f;

}  // namespace pagly
