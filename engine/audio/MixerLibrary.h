#pragma once

#include <SDL_mixer.h>

#include <string>

namespace pagly::audio {

// SDL_mixer, opened at run time instead of at start-up. Linked in, it and its decoders
// (MIDI synthesiser, module, FLAC, Opus and Vorbis players with some twenty libraries of
// their own) were mapped and relocated before the first line of main, although the book
// plays nothing but MP3 recordings and nothing before the first tap. The sound back-end
// opens it on its helper thread, beside SDL's audio system.
struct MixerLibrary {
    decltype(&Mix_Init) init = nullptr;
    decltype(&Mix_Quit) quit = nullptr;
    decltype(&Mix_OpenAudio) openAudio = nullptr;
    decltype(&Mix_CloseAudio) closeAudio = nullptr;
    decltype(&Mix_LoadMUS) loadMusic = nullptr;
    decltype(&Mix_LoadMUSType_RW) loadMusicTypeRW = nullptr;
    decltype(&Mix_FreeMusic) freeMusic = nullptr;
    decltype(&Mix_PlayMusic) playMusic = nullptr;
    decltype(&Mix_HaltMusic) haltMusic = nullptr;
    decltype(&Mix_PauseMusic) pauseMusic = nullptr;
    decltype(&Mix_ResumeMusic) resumeMusic = nullptr;
    decltype(&Mix_PausedMusic) pausedMusic = nullptr;
    decltype(&Mix_PlayingMusic) playingMusic = nullptr;
    decltype(&Mix_VolumeMusic) volumeMusic = nullptr;
    decltype(&Mix_MusicDuration) musicDuration = nullptr;
    decltype(&Mix_SetPostMix) setPostMix = nullptr;
    decltype(&Mix_QuerySpec) querySpec = nullptr;
};

// The mixer's entry points, opening the library on the first call (from any thread; later
// calls wait for the first and get its answer). Null when it cannot be opened or lacks one of
// them; `error` then says why (the same text at every call).
const MixerLibrary* mixerLibrary(std::string* error = nullptr);

// The file name the next first call opens (null: SDL_mixer's own). Tests point it elsewhere to
// see the failure.
void setMixerLibraryName(const char* soname);

}  // namespace pagly::audio
