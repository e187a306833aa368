# Sourced inside `dbus-run-session`: a keyring daemon of the tests' own, in a home of their own.
# The daemon makes the login keyring with this password, unlocked and the default one, so nothing
# asks for a password on a screen the tests do not have. (An empty password makes no keyring.)
keyring_home=$(mktemp -d)
export HOME=$keyring_home XDG_DATA_HOME=$keyring_home/data XDG_RUNTIME_DIR=$keyring_home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
eval "$(printf 'pimavo-test' | gnome-keyring-daemon --unlock --components=secrets)"
export GNOME_KEYRING_CONTROL
