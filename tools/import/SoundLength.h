// How long a book's recording plays, found by decoding all of it with libsndfile (MP3, WAV,
// FLAC, Ogg): a recording that does not decode is found here, before any clip is cut from
// it. An MP3 whose Info header gives the encoder's delay and padding decodes without them,
// as every gapless player plays it.
#ifndef PAGLY_TOOLS_IMPORT_SOUNDLENGTH_H
#define PAGLY_TOOLS_IMPORT_SOUNDLENGTH_H

#include <string>

namespace pagly::import {

// Seconds of decoded sound, or a negative value with why set (missing, not a sound format
// libsndfile knows, no decodable frames).
double decodedSoundSeconds(const std::string& path, std::string& why);

}  // namespace pagly::import

#endif
