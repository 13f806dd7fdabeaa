#pragma once

#include <string>

namespace pagly::engine {
class CCNode;
}

namespace pagly {

// How fast the recordings are read: 0.5, 0.75, 1 (as recorded) or 1.25, without a change of
// pitch. The - and + keys step through these on the screens that play sound; the choice is
// remembered for the next run in a small file of its own in the user's data folder.

// The speed one step slower (direction < 0) or faster than `current`, staying within the
// offered speeds; a speed that is not one of them steps from the nearest one.
float steppedSpeechSpeed(float current, int direction);

// The remembered speed: 1 when nothing was remembered; a damaged file is ignored with a log
// line. Saving writes a temporary file and renames it over the old one, so a crash leaves
// either the old or the new speed.
std::string speechSpeedFilePath();
float loadSpeechSpeed();
void saveSpeechSpeed(float speed);

// Steps the audio engine's speed, remembers it and shows a short fading note on `screen`.
void changeSpeechSpeed(engine::CCNode* screen, int direction);

// What the note says for a speed ("Speed 0.75×").
std::string speechSpeedNoteText(float speed);

// The note's tag on the screen, and how long it stays before it is gone.
const int kSpeechSpeedNoteTag = 7170;
const float kSpeechSpeedNoteSeconds = 1.5f;

}  // namespace pagly
