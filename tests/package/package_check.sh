#!/bin/sh
# The Debian package made of this build: lintian finds no error in it, and the programs it
# installs, unpacked into a folder of their own, answer and make and publish a site from the
# package's own starters, with no source tree or build folder to lean on.
# Usage: package_check.sh BUILD_FOLDER VERSION
set -eu
build="$1"
version="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB > "$work/cpack.log")
deb="$build/quillora_${version}_amd64.deb"
lintian --fail-on error "$deb"
dpkg-deb -x "$deb" "$work/root"
bin="$work/root/usr/bin"
test "$("$bin/quillora-publish" --version)" = "quillora-publish $version"
test "$("$bin/quillora" --version)" = "quillora $version"
"$bin/quillora-publish" --workdir "$work/home" --list-starters | grep -q "^cafe	"
"$bin/quillora-publish" --workdir "$work/home" --new-site cafe "$work/site"
rm "$work/site/index.html"
"$bin/quillora-publish" --workdir "$work/home" "$work/site"
grep -q "Corner Caf" "$work/site/index.html"
