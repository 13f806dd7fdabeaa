#pragma once

#include <memory>

struct SDL_RWops;

namespace pagly::audio {

class StretchedSound;

// An SDL stream over a stretched sound's WAV image: a player reading it makes the sound
// stretch just ahead of what it plays. The stream keeps the sound alive until it is closed.
SDL_RWops* openStretchedSoundStream(std::shared_ptr<StretchedSound> sound);

}  // namespace pagly::audio
