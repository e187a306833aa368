#!/usr/bin/env bash
# Runs the keyring tests inside a session bus of their own with an unlocked keyring daemon:
#   dbus-run-session -- bash keyring_test.sh SHARING_TESTS
set -euo pipefail
tests=$1
home=$(mktemp -d)
trap 'kill "${GNOME_KEYRING_PID:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# The daemon makes the login keyring with this password, unlocked and the default one, so nothing
# asks for a password on a screen the tests do not have. (An empty password makes no keyring.)
eval "$(printf 'pimavo-test' | gnome-keyring-daemon --unlock --components=secrets)"
export GNOME_KEYRING_CONTROL GNOME_KEYRING_PID
PIMAVO_TEST_KEYRING=1 "$tests" --gtest_filter='CredentialsTest.WithAKeyring*'
