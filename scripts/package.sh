#!/usr/bin/env bash
# Builds the Debian package build/pagly_<version>_amd64.deb from the release build (CPack's DEB
# generator over the CMake install rules; dpkg-shlibdeps computes the Depends). Prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
# Files the build writes into the package get the permissions Debian expects (0644, 0755).
umask 022
./scripts/setup.sh
cmake --preset release
cmake --build --preset release
rm -f build/release/pagly_*.deb
(cd build/release && cpack -G DEB)
deb=$(ls build/release/pagly_*.deb)
mv -f "$deb" build/
echo "package: build/$(basename "$deb")"
