#!/usr/bin/env bash
# Runs the keyring tests inside a session bus of their own with an unlocked keyring daemon:
#   dbus-run-session -- bash keyring_test.sh SHARING_TESTS
set -euo pipefail
tests=$1
source "$(dirname "$0")/start-keyring.sh"
trap 'rm -rf "$keyring_home"' EXIT
PIMAVO_TEST_KEYRING=1 "$tests" --gtest_filter='CredentialsTest.WithAKeyring*'
