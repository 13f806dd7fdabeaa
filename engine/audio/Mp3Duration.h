#pragma once

#include <cstddef>
#include <string>

namespace pagly::audio {

// Reads how long an MPEG audio (MP3) recording plays by walking its frame headers; nothing
// is decoded. Returns the playing time in seconds, or a negative value when the data is not
// an MPEG audio stream (missing, empty, random bytes). A truncated file counts the frames
// that are there.
double mp3Duration(const unsigned char* data, size_t size);
double mp3DurationOfFile(const std::string& path);

}  // namespace pagly::audio
