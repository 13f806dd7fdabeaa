#!/usr/bin/env bash
# Sets up the machine, builds pagly with AddressSanitizer + UBSan + LeakSanitizer, and runs
# every test. This is the one test command; CI runs exactly this.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset ci
cmake --build --preset ci
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --preset ci -j2 "$@"

# Every reader of book bytes under libFuzzer (clang), each for a bounded time (25 s, two at a
# time) over its seeds and past findings: documents, property lists, bitmap fonts, MP3
# headers, images and the book checker must never crash, hang or leak.
cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz -j2

# The Debian package, built from the release build (not the sanitizer one) and checked
# unpacked, without installing it: files, metadata, lintian, and the reader on screen.
./scripts/package.sh
./scripts/check-package.sh
