#!/usr/bin/env bash
# Builds the Debian package (build/kalvero_<version>_<arch>.deb) and checks it: its file list,
# the desktop entry, the udev rule, lintian, the dependencies and the unpacked program.
# Everything it writes stays below build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/setup.sh"
kalvero_install
kalvero_install_package_check

build="$root/build"
tree_before=$(git -C "$root" status --porcelain 2>/dev/null || true)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target kalvero

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/kalvero_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
if ! (cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || [ ! -f "$deb" ]; then
    cat "$build/cpack.log" >&2
    echo "package-check: cpack did not build $deb" >&2
    exit 1
fi
echo "Built $deb"

unpacked="$build/package-root"
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"

passed=0
failed=0
# Runs a check (a function below); it prints what it found, shown when it fails. Checks run
# as conditions, so "set -e" does not apply inside them: each returns its failure itself.
check() {
    local name="$1"
    shift
    local output
    if output=$("$@" 2>&1); then
        passed=$((passed + 1))
        echo "PASS $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
        # shellcheck disable=SC2001
        sed 's/^/    /' <<<"$output"
    fi
}

expected_files=(
    /usr/bin/kalvero
    /usr/lib/udev/rules.d/70-kalvero.rules
    /usr/share/applications/kalvero.desktop
    /usr/share/doc/kalvero/changelog.gz
    /usr/share/doc/kalvero/copyright
    /usr/share/icons/hicolor/256x256/apps/kalvero.png
    /usr/share/icons/hicolor/48x48/apps/kalvero.png
    /usr/share/icons/hicolor/scalable/apps/kalvero.svg
    /usr/share/man/man1/kalvero.1.gz
    /usr/share/metainfo/org.example.Kalvero.metainfo.xml
)

# The expected files and every folder above them, nothing else.
file_list() {
    local expected actual
    expected=$(for f in "${expected_files[@]}"; do
        while [ "$f" != / ]; do
            echo "$f"
            f=$(dirname "$f")
        done
    done | sort -u)
    actual=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\.||; s|/$||' | grep -v '^$' | sort)
    diff -u <(echo "$expected") <(echo "$actual") | sed 's/^-\//missing: \//; s/^+\//unexpected: \//'
    [ "$expected" = "$actual" ]
}

desktop_entry() {
    local entry="$unpacked/usr/share/applications/kalvero.desktop"
    desktop-file-validate "$entry" || return 1
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -x "$unpacked/usr/bin/$exec" ] || {
        echo "Exec=$exec is not a program of the package"
        return 1
    }
    for theme_icon in scalable/apps/"$icon".svg {256x256,48x48}/apps/"$icon".png; do
        [ -f "$unpacked/usr/share/icons/hicolor/$theme_icon" ] || {
            echo "Icon=$icon: hicolor/$theme_icon is missing"
            return 1
        }
    done
}

# Prints every rule line that is no comma-separated list of KEY{ATTR}OP"value" pairs with
# known keys, their operators and attributes.
udev_rule_syntax_errors() {
    local match_keys=" ACTION DEVPATH KERNEL KERNELS SUBSYSTEM SUBSYSTEMS DRIVER DRIVERS "
    match_keys+=" ATTRS TAGS RESULT PROGRAM TEST CONST "
    local assign_keys=" OWNER GROUP MODE SECLABEL RUN LABEL GOTO OPTIONS IMPORT "
    local either_keys=" NAME SYMLINK TAG ENV ATTR SYSCTL "
    local needs_attr=" ATTR ATTRS ENV SYSCTL CONST SECLABEL IMPORT "
    local may_have_attr=" TEST RUN "
    local pair='^([A-Z]+)(\{([^}]*)\})?[[:space:]]*(==|!=|\+=|-=|:=|=)[[:space:]]*"(([^"\\]|\\.)*)"[[:space:]]*(,[[:space:]]*|$)'
    local number=0 line rest key attr op
    while IFS= read -r line || [ -n "$line" ]; do
        number=$((number + 1))
        rest="${line#"${line%%[![:space:]]*}"}"
        [ -z "$rest" ] || [ "${rest:0:1}" = "#" ] && continue
        while [ -n "$rest" ]; do
            if ! [[ $rest =~ $pair ]]; then
                echo "line $number: cannot read '$rest'"
                break
            fi
            key="${BASH_REMATCH[1]}" attr="${BASH_REMATCH[3]}" op="${BASH_REMATCH[4]}"
            if [[ $match_keys == *" $key "* ]]; then
                [[ $op == "==" || $op == "!=" ]] || echo "line $number: $key cannot take $op"
            elif [[ $assign_keys == *" $key "* ]]; then
                [[ $op != "==" && $op != "!=" ]] || echo "line $number: $key cannot take $op"
            elif [[ $either_keys != *" $key "* ]]; then
                echo "line $number: unknown key $key"
            fi
            if [[ $needs_attr == *" $key "* && -z $attr ]]; then
                echo "line $number: $key needs {attribute}"
            elif [[ -n ${BASH_REMATCH[2]} && $needs_attr != *" $key "* &&
                $may_have_attr != *" $key "* ]]; then
                echo "line $number: $key takes no {attribute}"
            fi
            rest="${rest:${#BASH_REMATCH[0]}}"
        done
    done <"$1"
}

# The software centres' listing: valid AppStream, launching the package's desktop entry, its
# newest release the package's version.
metainfo() {
    local listing="$unpacked/usr/share/metainfo/org.example.Kalvero.metainfo.xml"
    appstreamcli validate --no-net "$listing" || return 1
    local launchable release
    launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$listing")
    [ -f "$unpacked/usr/share/applications/$launchable" ] || {
        echo "launchable $launchable is no desktop entry of the package"
        return 1
    }
    release=$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$listing" | head -n 1)
    [ "$release" = "$version" ] || {
        echo "release $release is not the package's version $version"
        return 1
    }
}

udev_rule() {
    local rule="$unpacked/usr/lib/udev/rules.d/70-kalvero.rules"
    if udevadm verify --help >/dev/null 2>&1; then
        udevadm verify "$rule" || return 1
    else
        local errors
        errors=$(udev_rule_syntax_errors "$rule")
        if [ -n "$errors" ]; then
            echo "$errors"
            return 1
        fi
    fi
    # Each converter's tty node goes to the logged-in user and to plugdev.
    local product line found
    for product in "QRV 2.0" "VudurEve"; do
        found=no
        while IFS= read -r line; do
            [[ $line == *'SUBSYSTEM=="tty"'* && $line == *'ATTRS{idVendor}=="0403"'* &&
                $line == *"ATTRS{product}==\"$product\""* && $line == *'TAG+="uaccess"'* &&
                $line == *'GROUP="plugdev"'* && $line == *'MODE="0660"'* ]] && found=yes
        done < <(grep -v '^[[:space:]]*#' "$rule")
        if [ $found = no ]; then
            echo "no rule gives the tty of FTDI 0403 \"$product\" to uaccess and plugdev (0660)"
            return 1
        fi
    done
}

lintian_clean() {
    local output status=0
    output=$(lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1) || status=$?
    echo "$output"
    [ $status -eq 0 ] && ! grep -q '^E: ' <<<"$output"
}

depends() {
    local field missing=0 wanted
    field=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $field"
    for wanted in libqt6core6 libqt6sql6-sqlite qt6-qpa-plugins; do
        if ! tr ',' '\n' <<<"$field" | awk '{print $1}' | grep -qx "$wanted"; then
            echo "missing: $wanted"
            missing=1
        fi
    done
    [ $missing -eq 0 ]
}

unpacked_program() {
    local program="$unpacked/usr/bin/kalvero" description
    [ -x "$program" ] || {
        echo "$program is not executable"
        return 1
    }
    description=$(file -b "$program")
    echo "$description"
    [[ $description == ELF*executable* && $description == *", stripped"* ]] || return 1
    if ldd "$program" | grep 'not found'; then
        return 1
    fi
    # The packaged program tells its version, without a display.
    local shown
    shown=$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version) || return 1
    echo "$shown"
    [ "$shown" = "kalvero $version" ]
}

# The packaged program carries its English translation: with "Sprache=en" in the settings its
# help is English.
english_translation() {
    local config first
    config=$(mktemp -d)
    mkdir -p "$config/Morvek"
    printf '[Einstellungen]\nSprache=en\n' >"$config/Morvek/QRV.conf"
    first=$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$config" \
        "$unpacked/usr/bin/kalvero" --help | head -n 1) || true
    rm -rf "$config"
    echo "$first"
    [[ $first == "Usage: kalvero"* ]]
}

source_tree_clean() {
    local tree_after
    tree_after=$(git -C "$root" status --porcelain 2>/dev/null || true)
    diff <(echo "$tree_before") <(echo "$tree_after")
}

check "file list" file_list
check "desktop entry" desktop_entry
check "software centre listing" metainfo
check "udev rule" udev_rule
check "lintian" lintian_clean
check "Depends" depends
check "unpacked program" unpacked_program
check "English translation" english_translation
check "source tree untouched" source_tree_clean

echo "package-check: $passed passed, $failed failed"
[ $failed -eq 0 ]
