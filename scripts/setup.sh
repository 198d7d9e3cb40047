#!/bin/sh
# Installs, only when missing and without questions, every Debian package the project needs
# to build, run and test. Safe to run again.
set -eu

packages="g++ cmake make pkg-config qt6-base-dev qt6-webengine-dev libsqlite3-dev \
libcurl4-openssl-dev libssl-dev libxxhash-dev libgit2-dev qtkeychain-qt6-dev desktop-file-utils appstream lintian dpkg-dev file libvips-dev liblcms2-dev zlib1g-dev libhunspell-dev hunspell-en-us hunspell-fr hunspell libgtest-dev libgmock-dev libbenchmark-dev \
git python3 python3-pyftpdlib python3-openssl openssl curl xvfb xauth clang-format fonts-dejavu-core fonts-liberation2 \
libharfbuzz-dev libfontconfig-dev libwoff-dev fonts-open-sans fonts-lato fonts-roboto-unhinted fonts-inter \
fonts-ebgaramond fonts-cantarell fonts-firacode fonts-quicksand fonts-manrope fonts-comic-neue \
clang libclang-rt-14-dev chromium libimage-exiftool-perl openssh-client openssh-server passwd gnome-keyring dbus libsecret-tools"

# The browser tests fetch their accessibility checker and Lighthouse, and the bucket tests
# s3rver, from the npm registry.
if ! command -v npm >/dev/null 2>&1; then
    packages="$packages nodejs npm"
fi

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    # shellcheck disable=SC2086
    $sudo apt-get install -y -q --no-install-recommends $missing
fi
