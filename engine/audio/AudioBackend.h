#pragma once

#include <memory>
#include <string>

namespace pagly::audio {

class StretchedSound;

// The seam under SimpleAudioEngine: one background-music stream. The real back-end plays
// through SDL_mixer; tests install a virtual-clock back-end instead.
class AudioBackend {
  public:
    virtual ~AudioBackend() = default;

    // Starts `fullPath` (already resolved) from its beginning, replacing whatever plays.
    // `requestedPath` is the name the caller gave, kept for diagnostics and tests.
    // Returns false when the file cannot be played; nothing plays then.
    virtual bool playMusic(const std::string& requestedPath, const std::string& fullPath,
                           bool loop) = 0;
    // Plays a recording already stretched to another speed, in the same stream and with the
    // same answers as playMusic. The back-end keeps `sound` alive while it plays.
    virtual bool playStretchedMusic(const std::string& requestedPath,
                                    std::shared_ptr<StretchedSound> sound, bool loop) = 0;
    // Why the file of the last play that returned false could not be used, or "" when the
    // file was not the cause (no sound device, say) or the back-end cannot tell. The back-end
    // logs nothing about the file itself: the audio engine names it once, with one reason.
    virtual std::string playProblem() const { return std::string(); }
    // Stops at once; nothing plays afterwards.
    virtual void stopMusic() = 0;
    virtual void pauseMusic() = 0;
    virtual void resumeMusic() = 0;
    // Starts the current recording again from its beginning.
    virtual void rewindMusic() = 0;
    // True exactly while a recording is audibly playing (not paused, not finished).
    virtual bool isMusicPlaying() = 0;
    // 0..1, already clamped.
    virtual void setMusicVolume(float volume) = 0;
    // Stops the music and lets go of the sound device; the next play opens it again.
    virtual void shutdown() = 0;

    // While held, an open sound device stays open through any silence (a cue, a recording and
    // its playback are one exchange); once let go, the silence counts from then.
    virtual void holdDevice(bool /*held*/) {}
    // Seconds from a sound leaving the music stream to its being heard, as far as the
    // back-end knows (the device's own buffer; a sound server may add more).
    virtual double outputLatency() const { return 0; }
    // Seconds of the current recording the device has played, in heard time (at any speed),
    // or -1 when the back-end cannot tell. Unlike the clock since the play call, it does not
    // run while a device is late to start.
    virtual double playedSeconds() { return -1; }
    // Whether sounds go to a silent stand-in because there is no sound device.
    virtual bool isSilent() const { return false; }
};

}  // namespace pagly::audio
