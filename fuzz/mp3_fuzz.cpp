// libFuzzer target: arbitrary bytes as a recording for the MP3 frame walker, which tells the
// virtual audio back-end how long a recording plays. A crash, a hang or a duration that is
// not a finite number of seconds (or the "not MPEG audio" answer) is a finding; keep each
// finding's input under fuzz/regressions/mp3/.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "engine/audio/Mp3Duration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double seconds = pagly::audio::mp3Duration(data, size);
    // A recording is at most what its bytes can hold: at the lowest bit rate (8 kbit/s),
    // one byte plays for 1 ms; a frame plays for at most 1152 samples at 8000 Hz.
    double most = (double)size / 1000.0 + 0.144;
    if (!std::isfinite(seconds) || (seconds >= 0 && seconds > most * 10.0)) {
        fprintf(stderr, "mp3Duration gave %g s for %zu bytes\n", seconds, size);
        abort();
    }
    return 0;
}
