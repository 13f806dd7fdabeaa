#pragma once

#include <string>
#include <vector>

#include "engine/audio/AudioBackend.h"

namespace pagly::audio {

// A silent back-end for tests. It knows each recording's real playing time from the file
// (MP3 frame headers; a stretched recording's own length) and runs on the director's clock: a
// recording plays until the director has stepped that much time past its start. Nothing here reads
// the wall clock. It also keeps the list of files it was asked to play. It can play a device
// that starts late (the sound is heard, and ends, that much after the play call) and a silent
// stand-in for a missing device.
class VirtualAudioBackend : public AudioBackend {
  public:
    VirtualAudioBackend() = default;

    bool playMusic(const std::string& requestedPath, const std::string& fullPath,
                   bool loop) override;
    bool playStretchedMusic(const std::string& requestedPath, std::shared_ptr<StretchedSound> sound,
                            bool loop) override;
    void stopMusic() override;
    void pauseMusic() override;
    void resumeMusic() override;
    void rewindMusic() override;
    bool isMusicPlaying() override;
    void setMusicVolume(float volume) override { m_volume = volume; }
    void shutdown() override { stopMusic(); }
    void holdDevice(bool held) override { m_held = held; }
    double playedSeconds() override { return position(); }
    bool isSilent() const override { return m_silent; }

    bool isDeviceHeld() const { return m_held; }
    void setSilent(bool silent) { m_silent = silent; }
    // Seconds between each play call and its first sound being heard (0 by default).
    void setStartDelay(double seconds) { m_startDelay = seconds > 0 ? seconds : 0; }

    // Every playMusic request, in order, as the caller named the file (also unplayable ones).
    const std::vector<std::string>& requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    // The recording that plays now ("" when silent).
    std::string currentMusic();
    // Seconds heard of the current recording, and its full length (-1 when nothing plays).
    double position();
    double duration() const { return m_active ? m_duration : -1.0; }
    float volume() const { return m_volume; }

  private:
    double clock() const;
    void start(const std::string& requestedPath, double length, bool loop);
    void update();

    std::vector<std::string> m_requests;
    std::string m_current;
    double m_duration = 0;
    double m_start = 0;      // director time at which position 0 was
    double m_pausedAt = -1;  // position while paused, else -1
    float m_volume = 1.0f;
    bool m_active = false;
    bool m_loop = false;
    bool m_held = false;
    bool m_silent = false;
    double m_startDelay = 0;
};

}  // namespace pagly::audio
