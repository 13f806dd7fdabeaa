#include "engine/audio/MixerLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace pagly::audio {

namespace {

std::mutex s_lock;
bool s_tried = false;
const MixerLibrary* s_library = nullptr;
MixerLibrary s_loaded;
std::string s_error;
const char* const kMixerName = "libSDL2_mixer-2.0.so.0";
std::string s_name = kMixerName;

template <typename F>
bool find(void* handle, const char* name, F& out, std::string& missing) {
    out = reinterpret_cast<F>(dlsym(handle, name));
    if (!out && missing.empty()) missing = name;
    return out != nullptr;
}

const MixerLibrary* open(std::string& error) {
    void* handle = dlopen(s_name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot open " + s_name + ": " + (why ? why : "unknown reason");
        return nullptr;
    }
    // Kept open for the process: the device thread may still be inside the mixer.
    MixerLibrary found;
    MixerLibrary* lib = &found;
    std::string missing;
    find(handle, "Mix_Init", lib->init, missing);
    find(handle, "Mix_Quit", lib->quit, missing);
    find(handle, "Mix_OpenAudio", lib->openAudio, missing);
    find(handle, "Mix_CloseAudio", lib->closeAudio, missing);
    find(handle, "Mix_LoadMUS", lib->loadMusic, missing);
    find(handle, "Mix_LoadMUSType_RW", lib->loadMusicTypeRW, missing);
    find(handle, "Mix_FreeMusic", lib->freeMusic, missing);
    find(handle, "Mix_PlayMusic", lib->playMusic, missing);
    find(handle, "Mix_HaltMusic", lib->haltMusic, missing);
    find(handle, "Mix_PauseMusic", lib->pauseMusic, missing);
    find(handle, "Mix_ResumeMusic", lib->resumeMusic, missing);
    find(handle, "Mix_PausedMusic", lib->pausedMusic, missing);
    find(handle, "Mix_PlayingMusic", lib->playingMusic, missing);
    find(handle, "Mix_VolumeMusic", lib->volumeMusic, missing);
    find(handle, "Mix_MusicDuration", lib->musicDuration, missing);
    find(handle, "Mix_SetPostMix", lib->setPostMix, missing);
    find(handle, "Mix_QuerySpec", lib->querySpec, missing);
    if (!missing.empty()) {
        error = s_name + " has no " + missing + " (an SDL_mixer older than 2.6?)";
        dlclose(handle);
        return nullptr;
    }
    s_loaded = found;
    return &s_loaded;
}

}  // namespace

const MixerLibrary* mixerLibrary(std::string* error) {
    std::lock_guard<std::mutex> hold(s_lock);
    if (!s_tried) {
        s_tried = true;
        s_library = open(s_error);
    }
    if (error) *error = s_error;
    return s_library;
}

void setMixerLibraryName(const char* soname) {
    std::lock_guard<std::mutex> hold(s_lock);
    s_name = soname ? soname : kMixerName;
    s_tried = false;
    s_error.clear();
    // A library found before stays loaded (its entry points may be in use); only a later
    // first call looks again.
    s_library = nullptr;
}

}  // namespace pagly::audio
