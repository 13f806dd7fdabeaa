#!/usr/bin/env bash
# Sets up the machine, builds the reader and opens it on the bundled sample book, or on the
# book given (a book folder, a .bloompub or an .epub).
set -euo pipefail
# Paths given are the caller's: make them absolute before leaving the caller's folder.
args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$(realpath "$a")"); else args+=("$a"); fi
done
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset release
cmake --build --preset release
exec ./build/release/app/pagly "${args[@]}"
