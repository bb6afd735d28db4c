#!/usr/bin/env bash
# Writes the message template of every text the sources mark for
# translation: po/make_template.sh OUTPUT.pot
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t sources < <(find runtime publication cli window app i18n \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
# Every marked message is a format for formatMessage, so msgfmt --check
# holds each translation to its original's placeholders.
xgettext --language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS: \
  --keyword= --keyword=localized:1c,2 --keyword=localizedCount:1c,2,3 \
  --flag=localized:2:c-format --flag=localizedCount:2:c-format --flag=localizedCount:3:c-format \
  --package-name=Lumvrex --package-version=1.00 --msgid-bugs-address=lumvrex@example.org \
  --sort-by-file --add-location=file --omit-header -o "$1" "${sources[@]}"
