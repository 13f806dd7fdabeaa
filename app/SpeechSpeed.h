#pragma once

#include <string>

namespace pagly::engine {
class CCNode;
}

namespace pagly {

// How fast the recordings are read: 0.5, 0.75, 1 (as recorded) or 1.25, without a change of
// pitch. The - and + keys step through these on the screens that play sound; the choice is
// remembered for the next run with the session's memory (ResumeState).

// True for one of the offered speeds.
bool isOfferedSpeechSpeed(float speed);

// The speed one step slower (direction < 0) or faster than `current`, staying within the
// offered speeds; a speed that is not one of them steps from the nearest one.
float steppedSpeechSpeed(float current, int direction);

// Steps the audio engine's speed, remembers it and shows a fading note (FadingNote) on `screen`.
void changeSpeechSpeed(engine::CCNode* screen, int direction);

// Sets one of the offered speeds (a speed that is not one of them: the nearest), remembers it
// and shows the note, as a step does.
void chooseSpeechSpeed(engine::CCNode* screen, float speed);

// The offered speed in force (the nearest one to the audio engine's).
float currentSpeechSpeed();

// The offered speeds, slowest first.
const float* offeredSpeechSpeeds(int* count);

// What the note says for a speed ("Speed 0.75×").
std::string speechSpeedNoteText(float speed);

}  // namespace pagly
