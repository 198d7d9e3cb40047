#!/bin/sh
# Runs a command with a keyring of its own: a private D-Bus session with gnome-keyring's secret
# service, unlocked, its files in a temporary HOME. The user's own keyring is never reached.
set -eu
home=$(mktemp -d /tmp/quillora-keyring.XXXXXX)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QUILLORA_TEST_KEYRING=1
exec dbus-run-session -- sh -c 'printf "test keyring" | gnome-keyring-daemon --unlock --components=secrets >/dev/null && exec "$@"' keyring "$@"
