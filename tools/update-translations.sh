#!/usr/bin/env bash
# Brings the English translation up to the texts of core/, ui/ and app/: lupdate adds every new
# text of a tr() (or QT_TRANSLATE_NOOP) as unfinished, keeps the translations of the texts that
# stay and drops those of texts that are gone. Fill in the new ones with Qt Linguist
# (linguist translations/kalvero_en.ts) or by hand, then build: the test
# translations_tst_translations fails while one is missing.
#
#   tools/update-translations.sh [TS-FILE]   (default translations/kalvero_en.ts)
#
# LUPDATE names another lupdate than Debian's Qt 6 one.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
ts="${1:-$root/translations/kalvero_en.ts}"
lupdate="${LUPDATE:-/usr/lib/qt6/bin/lupdate}"
if [ ! -x "$lupdate" ]; then
    echo "update-translations: $lupdate is missing (Debian package qt6-l10n-tools)" >&2
    exit 2
fi

cd "$root"
"$lupdate" -no-obsolete -locations none -I "$root" -source-language de_DE -target-language en_GB \
    core ui app -ts "$ts"
