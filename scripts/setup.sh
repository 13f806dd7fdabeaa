#!/usr/bin/env bash
# Installs every Debian package pagly needs to build, test, run and remake its book, and to run
# the response benchmark (bench/response.sh: a sound server, X damage and test input), and to
# import books from elsewhere (a headless browser lays their pages out; zip and sound files), and
# to speak the book with flite and time its words (pocketsphinx aligns recorded sentences), and
# to build and check the Debian package (icon PNGs, desktop entry, metainfo, manual pages), and
# to look words up: WordNet for an English word's dictionary form and meaning, the FreeDict
# English-to-X dictionaries for its translation (their tests read the installed files), and
# dictzip to make a test dictionary the way the real ones are made, and
# to load the machine while the tests run (stress-ng: a test that passes only on an idle machine
# depends on scheduling, and is found this way).
# Idempotent: packages already present are skipped and apt-get update runs at most once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libsoundtouch-dev libmpg123-dev
  libjsoncpp-dev libpugixml-dev libssl-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool imagemagick x11-apps x11-utils
  python3 python3-pil espeak-ng lame
  chromium fonts-sil-andika libzip-dev libsndfile1-dev zip unzip
  flite flite1-dev pocketsphinx pocketsphinx-en-us
  pulseaudio pulseaudio-utils libpulse-dev libx11-dev libxdamage-dev libxtst-dev
  lintian librsvg2-bin desktop-file-utils appstream shared-mime-info man-db
  wordnet-base dictzip dict-freedict-eng-spa dict-freedict-eng-fra dict-freedict-eng-deu
  dict-freedict-eng-por dict-freedict-eng-rus dict-freedict-eng-ara
  stress-ng
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
