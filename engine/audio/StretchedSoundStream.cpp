#include "engine/audio/StretchedSoundStream.h"

#include <SDL.h>

#include "engine/audio/StretchedSound.h"

namespace pagly::audio {

namespace {

struct Reader {
    std::shared_ptr<StretchedSound> sound;
    Sint64 position = 0;
};

Reader* readerOf(SDL_RWops* stream) { return static_cast<Reader*>(stream->hidden.unknown.data1); }

Sint64 streamSize(SDL_RWops* stream) { return (Sint64)readerOf(stream)->sound->byteSize(); }

Sint64 streamSeek(SDL_RWops* stream, Sint64 offset, int whence) {
    Reader* reader = readerOf(stream);
    Sint64 size = (Sint64)reader->sound->byteSize();
    Sint64 base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? reader->position : size;
    Sint64 target = base + offset;
    if (target < 0) return SDL_SetError("seek before the start of a stretched sound");
    reader->position = target > size ? size : target;
    return reader->position;
}

size_t streamRead(SDL_RWops* stream, void* out, size_t size, size_t count) {
    if (size == 0 || count == 0) return 0;
    Reader* reader = readerOf(stream);
    size_t got = reader->sound->read((size_t)reader->position, out, size * count);
    // Whole objects only, as SDL's own memory streams do.
    got -= got % size;
    reader->position += (Sint64)got;
    return got / size;
}

size_t streamWrite(SDL_RWops*, const void*, size_t, size_t) {
    SDL_SetError("a stretched sound is read-only");
    return 0;
}

int streamClose(SDL_RWops* stream) {
    delete readerOf(stream);
    SDL_FreeRW(stream);
    return 0;
}

}  // namespace

SDL_RWops* openStretchedSoundStream(std::shared_ptr<StretchedSound> sound) {
    if (!sound) return nullptr;
    SDL_RWops* stream = SDL_AllocRW();
    if (!stream) return nullptr;
    stream->type = SDL_RWOPS_UNKNOWN;
    stream->size = streamSize;
    stream->seek = streamSeek;
    stream->read = streamRead;
    stream->write = streamWrite;
    stream->close = streamClose;
    stream->hidden.unknown.data1 = new Reader{std::move(sound), 0};
    return stream;
}

}  // namespace pagly::audio
