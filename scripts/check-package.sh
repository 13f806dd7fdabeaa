#!/usr/bin/env bash
# Checks the Debian package without installing it: unpacks it into a temporary root and checks
# its commands, version, dependencies, book, desktop entry, icon, metainfo, file type, manual
# pages and documentation, runs lintian, and opens the unpacked reader under Xvfb until its
# main page is on screen. Usage: scripts/check-package.sh [build/pagly_VERSION_amd64.deb]
# (default: the newest one in build/). The main page's screenshot is kept in
# build/package-check/main-page.png for a person to look at.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-$(ls -t build/pagly_*_amd64.deb 2>/dev/null | head -n 1)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "check-package: no package (run scripts/package.sh)" >&2; exit 1; }
root=$(mktemp -d /tmp/pagly-package.XXXXXX)
trap 'rm -rf "$root"' EXIT
out=build/package-check
mkdir -p "$out"

problems=0
fail() { echo "check-package: FAIL: $*" >&2; problems=$((problems + 1)); }
pass() { echo "check-package: ok: $*"; }

dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)

# The three commands (the importer once it is in the tree), and one version everywhere.
commands=(pagly pagly-check)
[ -d tools/pagly-import ] && commands+=(pagly-import)
for c in "${commands[@]}"; do
  if [ -x "$root/usr/bin/$c" ] && file -b "$root/usr/bin/$c" | grep -q "ELF 64-bit.*stripped" &&
     ! file -b "$root/usr/bin/$c" | grep -q "not stripped"; then
    pass "usr/bin/$c (stripped)"
  else
    fail "usr/bin/$c is missing, not executable or not stripped"
  fi
done
[ "$("$root/usr/bin/pagly" --version)" = "pagly $version" ] && pass "pagly --version says $version" ||
  fail "pagly --version says '$("$root/usr/bin/pagly" --version)', the package $version"
help=$("$root/usr/bin/pagly" --help)
grep -qF "$root/usr/share/doc/pagly/README.md" <<<"$help" &&
  grep -qF "$root/usr/bin/../share/pagly/book" <<<"$help" &&
  pass "pagly --help names the installed key table and book" ||
  fail "pagly --help does not name the installed README and book: $help"
for option in --help --version; do
  grep -q -- "$option" <<<"$help" || fail "pagly --help does not list $option"
done
grep -q "Using the reader" "$root/usr/share/doc/pagly/README.md" || fail "README.md without its key table"

# Depends computed from the binaries, plus what they open at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libsdl2-2.0-0 libsdl2-mixer-2.0-0 fonts-liberation2; do
  grep -q "\b$d\b" <<<"$depends" || fail "Depends lacks $d: $depends"
done
grep -qx "chromium" <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "chromium is not recommended"
pass "Depends: $depends"

# The sample book where the reader and the importer look for it, and whole.
book="$root/usr/share/pagly/book"
if "$root/usr/bin/pagly-check" "$book" >"$out/pagly-check.txt"; then
  pass "$(tail -n 1 "$out/pagly-check.txt")"
else
  fail "the installed book does not pass pagly-check (see $out/pagly-check.txt)"
fi
[ ! -e "$book/ft.xml" ] || fail "the book maker's ft.xml is in the package"

# Desktop entry, icon, metainfo, file type.
desktop="$root/usr/share/applications/pagly.desktop"
desktop-file-validate "$desktop" && pass "desktop entry valid" || fail "desktop-file-validate"
grep -qx "Exec=pagly %f" "$desktop" && grep -qx "Icon=pagly" "$desktop" &&
  grep -q "^MimeType=.*application/x-bloompub;" "$desktop" &&
  grep -q "^MimeType=.*application/epub+zip;" "$desktop" &&
  pass "desktop entry opens files, names its icon and both book types" ||
  fail "desktop entry lacks Exec=pagly %f, Icon=pagly or a MimeType"
icons="$root/usr/share/icons/hicolor"
xmllint --noout "$icons/scalable/apps/pagly.svg" || fail "scalable icon"
for size in 16 24 32 48 64 128 256; do
  file -b "$icons/${size}x${size}/apps/pagly.png" 2>/dev/null | grep -q "PNG image data, $size x $size" ||
    fail "no $size x $size PNG icon"
done
pass "icon: SVG and 7 PNG sizes"
metainfo="$root/usr/share/metainfo/io.github.pagly.pagly.metainfo.xml"
if appstreamcli validate --no-net --pedantic "$metainfo" >"$out/appstream.txt" 2>&1; then
  grep -q "release version=\"$version\"" "$metainfo" && pass "metainfo valid, release $version" ||
    fail "metainfo's release is not $version"
else
  fail "appstreamcli validate: $(cat "$out/appstream.txt")"
fi
mime="$root/usr/share/mime"
mkdir -p "$root/mime-check"
cp -r "$mime" "$root/mime-check/mime"
if XDG_DATA_HOME="$root/mime-check" update-mime-database "$root/mime-check/mime" 2>"$out/mime.txt" &&
   [ ! -s "$out/mime.txt" ] &&
   grep -q ":application/x-bloompub:\*\.bloompub" "$root/mime-check/mime/globs2"; then
  pass "shared MIME type: *.bloompub is application/x-bloompub"
else
  fail "the MIME type XML does not give *.bloompub its type: $(cat "$out/mime.txt")"
fi

# Manual pages render without a warning.
for c in "${commands[@]}"; do
  page="$root/usr/share/man/man1/$c.1.gz"
  if [ -f "$page" ] && text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$out/man-$c.txt") &&
     [ ! -s "$out/man-$c.txt" ] && grep -q "^NAME" <<<"$text" && grep -q "pagly $version" <<<"$text"; then
    pass "man $c ($(wc -l <<<"$text") lines)"
  else
    fail "man page of $c missing or renders with warnings: $(cat "$out/man-$c.txt" 2>/dev/null)"
  fi
done
grep -q "^KEYS" <<<"$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/pagly.1.gz")" ||
  fail "pagly(1) has no KEYS section"

# Documentation as Debian wants it (a native package: changelog.gz).
doc="$root/usr/share/doc/pagly"
[ -f "$doc/copyright" ] || fail "no copyright file"
[ "$(zcat "$doc/changelog.gz" | head -n 1 | sed -n 's/^pagly (\(.*\)) .*/\1/p')" = "$version" ] &&
  pass "copyright, changelog.gz at $version" || fail "changelog.gz does not begin with $version"

# lintian: no errors (its warnings are explained in the README's packaging section).
lintian "$deb" >"$out/lintian.txt" 2>&1 || true
if grep -q "^E:" "$out/lintian.txt"; then
  fail "lintian errors: $(grep "^E:" "$out/lintian.txt")"
else
  pass "lintian: no errors ($(grep -c "^W:" "$out/lintian.txt" || true) warnings)"
fi

# The unpacked reader finds the unpacked book (../share/pagly/book beside its folder) and
# shows its main page in a real window. Its user data and cache go to the temporary root.
cat >"$root/show.sh" <<'EOF'
#!/usr/bin/env bash
set -u
root=$1 shot=$2
SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$root/data" XDG_CACHE_HOME="$root/cache" \
  "$root/usr/bin/pagly" >"$root/pagly.log" 2>&1 &
pid=$!
wid=""
for _ in $(seq 1 100); do
  wid=$(xdotool search --name '^pagly$' 2>/dev/null | head -n 1) && [ -n "$wid" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
status=1
if [ -n "$wid" ]; then
  # Until the page is drawn: a window that is still one colour is not the main page yet.
  for _ in $(seq 1 40); do
    sleep 0.5
    xwd -silent -id "$wid" -out "$root/shot.xwd" 2>/dev/null || continue
    convert "$root/shot.xwd" "$shot" 2>/dev/null || continue
    colours=$(convert "$shot" -format %k info:)
    if [ "$colours" -gt 200 ]; then status=0; break; fi
  done
  echo "window $wid: $(convert "$shot" -format '%w x %h, %k colours' info: 2>/dev/null)"
fi
kill $pid 2>/dev/null
wait $pid 2>/dev/null
exit $status
EOF
chmod +x "$root/show.sh"
(cd "$root" && find usr | sort) >"$root/files-before.txt"
if shown=$(xvfb-run -a -s "-screen 0 1280x1024x24" "$root/show.sh" "$root" "$out/main-page.png"); then
  pass "the unpacked reader shows its main page: $shown ($out/main-page.png)"
else
  fail "the unpacked reader did not show its main page: $shown; its log: $(tail -n 5 "$root/pagly.log")"
fi
# The package's files are read, never written, even by root: whatever the reader leaves in
# them would stay behind when the package is removed.
written=$(cd "$root" && find usr | sort | comm -13 "$root/files-before.txt" -)
[ -z "$written" ] && pass "the reader wrote nothing into the package's files" ||
  fail "the reader wrote into the package's files: $written"

if [ "$problems" -ne 0 ]; then
  echo "check-package: $deb: $problems problem(s)" >&2
  exit 1
fi
echo "check-package: $deb: all checks passed"
