// Listening aid: writes a recording stretched to a speed as a WAV file, the way the reader
// plays it, so it can be heard and measured (for example with `sox OUT.wav -n stat`).
//   pagly_stretch_to_wav IN.mp3 SPEED OUT.wav
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/audio/StretchedSound.h"
#include "engine/platform/CCFileUtils.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: %s IN.mp3 SPEED OUT.wav\n", argv[0]);
        return 2;
    }
    std::string bytes;
    if (!pagly::engine::CCFileUtils::sharedFileUtils()->readFile(argv[1], bytes)) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    double speed = atof(argv[2]);
    auto sound = pagly::audio::StretchedSound::fromMp3(bytes, speed);
    if (!sound) {
        fprintf(stderr, "%s does not decode, or %s is not a speed\n", argv[1], argv[2]);
        return 1;
    }
    FILE* out = fopen(argv[3], "wb");
    const std::vector<unsigned char>& wav = sound->wholeImage();
    if (!out || fwrite(wav.data(), 1, wav.size(), out) != wav.size()) {
        fprintf(stderr, "cannot write %s\n", argv[3]);
        if (out) fclose(out);
        return 1;
    }
    fclose(out);
    printf("%s at %.2f: %.3f s\n", argv[1], speed, sound->seconds());
    return 0;
}
