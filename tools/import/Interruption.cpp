// Stopping a conversion (see Interruption.h).
#include "tools/import/Interruption.h"

#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pagly::import {

namespace {
std::atomic<bool> g_cancel{false};
}  // namespace

bool cancelRequested() { return g_cancel.load(); }
void requestCancel(bool cancel) { g_cancel.store(cancel); }

double monotonicSeconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

void holdAt(const char* stage) {
    const char* wanted = std::getenv("PAGLY_IMPORT_HOLD_AT");
    if (!wanted || std::strcmp(wanted, stage) != 0) return;
    static std::atomic<bool> held{false};
    if (held.exchange(true)) return;
    std::fprintf(stderr, "pagly-import: holding at %s\n", stage);
    std::fflush(stderr);
    while (!cancelRequested()) usleep(10000);
}

}  // namespace pagly::import
