// Cutting clips into MP3 files of their own (see ClipCutter.h).
#include "tools/import/ClipCutter.h"
#include "tools/import/Interruption.h"
#include "tools/import/QuietDecoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace pagly::import {

namespace {

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

// Frames decoded at a time: the clip passes through in pieces this long, so that a recording
// of many channels at a high rate costs no more memory than a plain one.
const long long kBlockFrames = 16384;

// Catmull-Rom interpolation to 48 kHz, fed a block at a time: plenty for speech, and no
// library beyond libsndfile. Gives exactly what interpolating the whole clip at once would.
class Resampler {
  public:
    explicit Resampler(int rate) : m_step((double)rate / ClipCutter::kRate) {}

    // Takes the next input samples and appends to `out` every output sample they complete.
    void add(const float* in, size_t count, std::vector<float>& out) {
        if (count == 0) return;
        m_input.insert(m_input.end(), in, in + count);
        m_received += (long long)count;
        // A sample needs its input up to two past its place.
        while (at(m_made).second + 2 < m_received) emit(out);
        // Input before the next sample's left neighbour is never needed again.
        long long keep = std::clamp(at(m_made).second - 1, 0LL, m_received - 1);
        if (keep > m_first + (long long)kBlockFrames) {
            m_input.erase(m_input.begin(), m_input.begin() + (long)(keep - m_first));
            m_first = keep;
        }
    }

    // The samples after the last input: as many as the clip's length gives.
    void finish(std::vector<float>& out) {
        if (m_received == 0) return;
        long long count = std::llround((double)m_received / m_step);
        while (m_made < count) emit(out);
    }

  private:
    std::pair<double, long long> at(long long k) const {
        double pos = (double)k * m_step;
        return {pos, (long long)std::floor(pos)};
    }
    float input(long long i) const {
        i = std::clamp<long long>(i, 0, m_received - 1);
        return m_input[(size_t)(i - m_first)];
    }
    void emit(std::vector<float>& out) {
        auto [pos, i] = at(m_made++);
        float t = (float)(pos - (double)i);
        float p0 = input(i - 1), p1 = input(i), p2 = input(i + 1), p3 = input(i + 2);
        float v = p1 + 0.5f * t *
                           (p2 - p0 +
                            t * (2 * p0 - 5 * p1 + 4 * p2 - p3 + t * (3 * (p1 - p2) + p3 - p0)));
        out.push_back(std::clamp(v, -1.0f, 1.0f));
    }

    double m_step;
    std::vector<float> m_input;  // input samples from m_first on
    long long m_first = 0;
    long long m_received = 0;
    long long m_made = 0;
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

    // Decoded, mixed down, resampled and encoded a block at a time.
    std::vector<float> frames((size_t)kBlockFrames * (size_t)m_channels);
    std::vector<float> mono, out;
    Resampler resampler(m_rate);
    long long got = 0, put = 0;
    bool writeFailed = false;
    auto write = [&]() {
        if (out.empty()) return;
        writeFailed = writeFailed || sf_writef_float(written, out.data(), (sf_count_t)out.size()) !=
                                         (sf_count_t)out.size();
        put += (long long)out.size();
        out.clear();
    };
    while (got < wanted) {
        // A long clip is many blocks: a stop asked for is seen within one of them.
        if (cancelRequested()) {
            sf_close(written);
            unlink(target.c_str());
            close();
            return why = "the conversion was stopped", false;
        }
        sf_count_t n = sf_readf_float(m_file, frames.data(), std::min(kBlockFrames, wanted - got));
        if (n <= 0) break;
        mono.resize((size_t)n);
        for (sf_count_t i = 0; i < n; ++i) {
            float sum = 0;
            for (int c = 0; c < m_channels; ++c) sum += frames[(size_t)(i * m_channels + c)];
            mono[(size_t)i] = sum / (float)m_channels;
        }
        resampler.add(mono.data(), mono.size(), out);
        write();
        got += n;
    }
    // A damaged recording may end early; a few milliseconds of rounding are no fault.
    if ((double)(wanted - got) / m_rate > 0.05) {
        sf_close(written);
        unlink(target.c_str());
        close();
        return why = "the recording breaks off at " + secondsText(begin + (double)got / m_rate),
               false;
    }
    resampler.finish(out);
    write();
    int closed = sf_close(written);
    if (writeFailed || closed != 0) return why = "cannot write " + target, false;
    seconds = (double)put / kRate;
    return true;
}
}  // namespace pagly::import
