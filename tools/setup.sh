#!/usr/bin/env bash
# Installs the Debian packages Kalvero needs (when missing) and builds it into build/.
# Sourced by run.sh, test.sh and tools/package-check.sh.
set -euo pipefail

KALVERO_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
    pxlib-dev
    # SQLite's own API (the online backup of the database file), the library Qt's driver uses.
    libsqlite3-dev
    # The charts of the analysis window; their CMake package needs Qt's OpenGL one.
    qt6-charts-dev libqt6opengl6-dev
    # The sounds of the display for the athlete (QSoundEffect).
    qt6-multimedia-dev
    # Qt's own dialogs and menus in German.
    qt6-translations-l10n
    # lupdate and lrelease with their CMake package: the build compiles the English
    # translation, the test suite checks that it is complete.
    qt6-l10n-tools qt6-tools-dev
    # The Excel workbook of the export for analysis tools, and zlib, which reads it back.
    libxlsxwriter-dev zlib1g-dev
)

# Only the tests need these: the PostgreSQL server they start for themselves, runuser to
# start it as the postgres user when the tests run as root, pdftotext and pdfimages, with
# which they read the PDF report, and unzip, with which they read the workbook's sheets.
KALVERO_TEST_PACKAGES=(postgresql util-linux poppler-utils unzip)

# Only the package check needs these: lintian, desktop-file-validate, dpkg-shlibdeps (run by
# cpack), file, and appstreamcli for the software centres' listing.
KALVERO_PACKAGE_CHECK_PACKAGES=(lintian desktop-file-utils dpkg-dev file appstream)

# Only the format check needs this (tools/format-check.sh): Debian's clang-format.
KALVERO_FORMAT_PACKAGES=(clang-format)

# Only the fuzzing needs these (tools/fuzz.sh): clang with libFuzzer and the sanitizer
# runtimes it links.
KALVERO_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# Prints those of the given packages (default: KALVERO_PACKAGES) that are not installed.
kalvero_missing_packages() {
    local missing=()
    local wanted=("$@")
    if [ $# -eq 0 ]; then
        wanted=("${KALVERO_PACKAGES[@]}")
    fi
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    echo "${missing[@]:-}"
}

# Installs those of the given packages (default: KALVERO_PACKAGES) that are missing.
kalvero_install() {
    local missing
    missing=$(kalvero_missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing missing packages: $missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

kalvero_install_package_check() {
    kalvero_install "${KALVERO_PACKAGE_CHECK_PACKAGES[@]}"
}

kalvero_install_fuzz() {
    kalvero_install "${KALVERO_FUZZ_PACKAGES[@]}"
}

# Builds into ROOT/build; further arguments go to cmake's configuration.
kalvero_build() {
    local root="$1"
    shift
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$root/build" -j "$(nproc)"
}
