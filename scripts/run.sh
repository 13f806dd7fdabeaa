#!/usr/bin/env bash
# Sets up the machine, builds the reader and opens it on the bundled sample book.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release
cmake --build --preset release
exec ./build/release/app/pagly
