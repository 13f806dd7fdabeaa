// Cuts a sentence's clip out of a book's recording into an MP3 of its own: exactly the span
// from clipBegin to clipEnd, mono, 48 kHz, 80 kbit/s. 48 kHz keeps the encoder's frames short,
// so that even a player that counts whole frames hears the clip within 50 ms of its length.
#ifndef PAGLY_TOOLS_IMPORT_CLIPCUTTER_H
#define PAGLY_TOOLS_IMPORT_CLIPCUTTER_H

#include <string>

struct sf_private_tag;

namespace pagly::import {

class ClipCutter {
  public:
    static constexpr int kRate = 48000;
    // Clip times may run this far past the end of a recording (rounding in the book's
    // timings); further is a fault of the book.
    static constexpr double kSlack = 0.1;
    // A sentence longer than this is no sentence (and would cost a lot of memory).
    static constexpr double kLongestClip = 300.0;

    ClipCutter() = default;
    ~ClipCutter();
    ClipCutter(const ClipCutter&) = delete;
    ClipCutter& operator=(const ClipCutter&) = delete;

    // Writes the clip [begin, end) of `source` (end below 0: to its end) to `target`.
    // `seconds` gets the clip's length. False with `why` (for the person who made the book)
    // when the recording is missing, does not decode, or the times do not fit it.
    bool cut(const std::string& source, double begin, double end, const std::string& target,
             double& seconds, std::string& why);

  private:
    bool open(const std::string& source, std::string& why);
    void close();

    // The recording opened last stays open: a chapter's clips come from one file in turn.
    std::string m_path;
    sf_private_tag* m_file = nullptr;
    int m_rate = 0;
    int m_channels = 0;
    long long m_frames = 0;
};

}  // namespace pagly::import

#endif
