// The MP3 decoder under libsndfile prints notes about damaged data on stderr ("Note: Illegal
// Audio-MPEG-Header ..."), where the importer's own one-line problems go. While one of these
// lives, stderr goes nowhere; whoever decodes says in its own words what was wrong.
#ifndef PAGLY_TOOLS_IMPORT_QUIETDECODER_H
#define PAGLY_TOOLS_IMPORT_QUIETDECODER_H

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace pagly::import {

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
        std::fflush(stderr);
        dup2(m_saved, 2);
        ::close(m_saved);
    }
    QuietDecoder(const QuietDecoder&) = delete;
    QuietDecoder& operator=(const QuietDecoder&) = delete;

  private:
    int m_saved = -1;
};

}  // namespace pagly::import

#endif
