#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the installed reader finds the
# installed book (not the source tree's) and that the package carries what it should.
# Usage: install_smoke.sh <cmake> <build dir>
set -euo pipefail
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" > /dev/null
fail() { echo "FAIL: $*"; exit 1; }
for f in bin/pagly bin/pagly-check share/pagly/book/String.xml share/pagly/book/Stringstr.xml \
         share/applications/pagly.desktop share/icons/hicolor/scalable/apps/pagly.svg \
         share/metainfo/io.github.pagly.pagly.metainfo.xml share/mime/packages/pagly.xml \
         share/man/man1/pagly.1.gz share/man/man1/pagly-check.1.gz share/doc/pagly/README.md; do
  [ -e "$prefix/$f" ] || fail "$f not installed"
done
[ -e "$prefix/share/pagly/book/ft.xml" ] && fail "the first-run marker was installed"
help=$("$prefix/bin/pagly" --help)
echo "$help"
echo "$help" | grep -qF "The bundled book: $prefix/bin/../share/pagly/book/" ||
  fail "the installed reader does not read the installed book"
echo "$help" | grep -qF "$(realpath "$prefix")/share/doc/pagly/README.md" ||
  fail "the installed reader's --help does not name the installed key table"
"$prefix/bin/pagly-check" "$prefix/share/pagly/book" > /dev/null || fail "installed book fails the checker"
echo "1 passed, 0 failed"
