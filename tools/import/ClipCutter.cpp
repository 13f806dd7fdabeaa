// Cutting clips into MP3 files of their own (see ClipCutter.h).
#include "tools/import/ClipCutter.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace pagly::import {

namespace {

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

// Catmull-Rom interpolation to 48 kHz: plenty for speech, and no library beyond libsndfile.
std::vector<float> resample(const std::vector<float>& in, int rate) {
    if (rate == ClipCutter::kRate || in.empty()) return in;
    size_t outCount = (size_t)std::llround((double)in.size() * ClipCutter::kRate / rate);
    std::vector<float> out(outCount);
    double step = (double)rate / ClipCutter::kRate;
    auto at = [&](long long i) {
        return in[(size_t)std::clamp<long long>(i, 0, (long long)in.size() - 1)];
    };
    for (size_t k = 0; k < outCount; ++k) {
        double pos = k * step;
        long long i = (long long)std::floor(pos);
        float t = (float)(pos - (double)i);
        float p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        float v = p1 + 0.5f * t *
                           (p2 - p0 +
                            t * (2 * p0 - 5 * p1 + 4 * p2 - p3 + t * (3 * (p1 - p2) + p3 - p0)));
        out[k] = std::clamp(v, -1.0f, 1.0f);
    }
    return out;
}

// The MP3 decoder under libsndfile prints notes about damaged data on stderr, where the tool's
// own problem lines go; while it decodes, they go nowhere (the cutter says what was wrong).
class QuietDecoder {
  public:
    QuietDecoder() {
        std::fflush(stderr);
        m_saved = dup(2);
        int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0) dup2(null, 2);
        if (null >= 0) ::close(null);
    }
    ~QuietDecoder() {
        if (m_saved < 0) return;
        dup2(m_saved, 2);
        ::close(m_saved);
    }

  private:
    int m_saved = -1;
};

}  // namespace

ClipCutter::~ClipCutter() { close(); }

void ClipCutter::close() {
    if (m_file) sf_close(m_file);
    m_file = nullptr;
    m_path.clear();
}

bool ClipCutter::open(const std::string& source, std::string& why) {
    if (m_file && m_path == source) return true;
    close();
    struct stat st;
    if (stat(source.c_str(), &st) != 0) return why = "it is missing", false;
    if (!S_ISREG(st.st_mode)) return why = "it is not a file", false;
    SF_INFO info{};
    QuietDecoder quiet;
    SNDFILE* file = sf_open(source.c_str(), SFM_READ, &info);
    if (!file) return why = "it is not a recording that can be decoded", false;
    if (info.samplerate < 8000 || info.samplerate > 192000 || info.channels < 1 ||
        info.channels > 8) {
        sf_close(file);
        return why = "it is not a recording that can be decoded (" +
                     std::to_string(info.samplerate) + " Hz, " + std::to_string(info.channels) +
                     " channels)",
               false;
    }
    m_file = file;
    m_path = source;
    m_rate = info.samplerate;
    m_channels = info.channels;
    m_frames = info.frames;
    return true;
}

bool ClipCutter::cut(const std::string& source, double begin, double end, const std::string& target,
                     double& seconds, std::string& why) {
    QuietDecoder quiet;
    if (!open(source, why)) return false;
    double length = m_frames > 0 ? (double)m_frames / m_rate : 0.0;
    if (!std::isfinite(begin) || !std::isfinite(end) || begin < 0)
        return why = "its clip times are not times", false;
    if (end < 0) end = length;
    if (length <= 0) return why = "the recording holds no sound", false;
    if (begin >= length)
        return why = "its clip starts at " + secondsText(begin) +
                     ", past the end of the recording (" + secondsText(length) + ")",
               false;
    if (end > length + kSlack)
        return why = "its clip ends at " + secondsText(end) + ", past the end of the recording (" +
                     secondsText(length) + ")",
               false;
    end = std::min(end, length);
    if (end <= begin)
        return why = "its clip is empty (" + secondsText(begin) + " to " + secondsText(end) + ")",
               false;
    if (end - begin > kLongestClip)
        return why = "its clip lasts " + secondsText(end - begin) + ", longer than a sentence can",
               false;

    long long first = std::llround(begin * m_rate), last = std::llround(end * m_rate);
    long long wanted = std::max(1LL, last - first);
    if (sf_seek(m_file, first, SEEK_SET) != first) {
        close();
        return why = "the recording cannot be read at " + secondsText(begin), false;
    }
    std::vector<float> frames((size_t)wanted * (size_t)m_channels);
    sf_count_t got = sf_readf_float(m_file, frames.data(), wanted);
    if (got < 0) got = 0;
    // A damaged recording may end early; a few milliseconds of rounding are no fault.
    if ((double)(wanted - got) / m_rate > 0.05) {
        close();
        return why = "the recording breaks off at " + secondsText(begin + (double)got / m_rate),
               false;
    }
    std::vector<float> mono((size_t)got);
    for (sf_count_t i = 0; i < got; ++i) {
        float sum = 0;
        for (int c = 0; c < m_channels; ++c) sum += frames[(size_t)(i * m_channels + c)];
        mono[(size_t)i] = sum / (float)m_channels;
    }
    std::vector<float> out = resample(mono, m_rate);

    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* written = sf_open(target.c_str(), SFM_WRITE, &info);
    if (!written) return why = "cannot write " + target + ": " + sf_strerror(nullptr), false;
    int mode = SF_BITRATE_MODE_CONSTANT;
    sf_command(written, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    // 0 is the encoder's best and largest, 1 its smallest. 0.85 gives 80 kbit/s at 48 kHz: at
    // 56 kbit/s and below the first frame is too small for the encoder's Info tag, and without
    // it players also play the encoder's delay and padding (about 40 ms more).
    double level = 0.85;
    sf_command(written, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
    sf_count_t put = sf_writef_float(written, out.data(), (sf_count_t)out.size());
    int closed = sf_close(written);
    if (put != (sf_count_t)out.size() || closed != 0) return why = "cannot write " + target, false;
    seconds = (double)out.size() / kRate;
    return true;
}

}  // namespace pagly::import
