#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and benchmarking Pimavo needs.
# Idempotent: when everything is present it prints nothing and touches nothing.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config ccache
    # the layout check (scripts/check-format.sh)
    clang-format-14
    # engine
    libtbb-dev
    # Qt (the core services use Qt Core)
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libxkbcommon-dev xkb-data
    # translations: lupdate and lrelease (qt6-l10n-tools) and their CMake functions (qt6-tools-dev);
    # Qt's own translations of the standard dialogs, loaded beside the editor's
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    # help videos: Qt Multimedia and the GStreamer plugins it plays through (Ogg/Theora, WebM, MP4
    # containers); gst-launch-1.0 makes the tests' videos
    qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
    # image files: pixels and metadata
    libopenimageio-dev libexiv2-dev libtiff-dev libdeflate-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
    # colour management: conversions through LittleCMS, the screen's profile read from the X server
    liblcms2-dev libxcb1-dev
    # tests and benchmarks; exiftool and exiv2 read written files back independently; gdb shows where
    # a test stuck outside the event loop is, before the watchdog stops it
    libgtest-dev libgmock-dev libbenchmark-dev libimage-exiftool-perl exiv2 gdb
    # project files are read back with the common ZIP tools; the file type is checked as the desktop sees it
    unzip zip shared-mime-info libglib2.0-bin
    # the desktop entry and the AppStream description are checked by their own validators
    desktop-file-utils appstream
    # the recovery test kills an editor on a virtual screen and restores its work there
    xvfb xdotool
    # the editor on Wayland, and the headless compositor the `wayland` tests run it under
    qt6-wayland weston
    # import: cameras through libgphoto2, scanners through SANE (sane-utils enables its test backend),
    # photo-manager libraries read through SQLite
    libgphoto2-dev libsane-dev libsane1 sane-utils libsqlite3-dev
    # sharing: Qt Network Authorization signs OAuth 1.0a requests, QtKeychain keeps tokens in the keyring
    qt6-networkauth-dev qtkeychain-qt6-dev libsecret-1-0
    # sharing tests: a keyring on a private session bus (secret-tool reads it back), curl plays the browser, xdg-email is the
    # mail hand-over's fallback
    dbus dbus-x11 gnome-keyring libsecret-tools curl xdg-utils
    # the Debian package (scripts/package.sh): dpkg-shlibdeps computes its Depends, lintian checks it
    dpkg-dev fakeroot lintian
    # peer tools timed beside ours in bench/peers.sh
    libvips-tools gegl
)

# `--fuzz` adds what scripts/fuzz.sh needs: clang with its sanitizer and libFuzzer runtimes.
# `--screen` adds what looking at the program on a virtual screen needs: Xvfb, a window manager, xdotool, ImageMagick,
# and the accessibility bus with its Python client, to hear it as a screen reader does.
for option in "$@"; do
    case "$option" in
    --fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;
    --screen) packages+=(xvfb xdotool imagemagick openbox at-spi2-core python3-pyatspi) ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

sudo=()
((EUID == 0)) || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
