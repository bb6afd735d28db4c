#!/usr/bin/env bash
# Fails when a message of the sources is missing from the template or from
# es.po, when es.po has an untranslated or fuzzy entry, when a translation's
# placeholders differ from its original's, or when its plural forms are not
# ones the programs' own catalogue reader knows.
# Usage: check_catalogue.sh [ES_PO] (po/es.po unless another copy is given)
set -euo pipefail
po=$(cd "$(dirname "$0")" && pwd)
es=${1:-$po/es.po}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

"$po/make_template.sh" "$work/sources.pot"
touch "$work/sources.pot"   # xgettext writes nothing when nothing is marked

if ! msgcmp --use-untranslated "$po/lumvrex.pot" "$work/sources.pot" 2>"$work/template.err"; then
  echo "po/lumvrex.pot lacks messages of the sources (run po/update.sh):" >&2
  cat "$work/template.err" >&2
  failed=1
fi
if ! msgcmp --use-untranslated "$es" "$work/sources.pot" 2>"$work/es.err"; then
  echo "po/es.po lacks messages of the sources:" >&2
  cat "$work/es.err" >&2
  failed=1
fi
for kind in untranslated only-fuzzy; do
  msgattrib --$kind --no-obsolete "$es" -o "$work/$kind.po"
  if [ -s "$work/$kind.po" ] && grep -q '^msgid' "$work/$kind.po"; then
    echo "po/es.po has ${kind#only-} entries:" >&2
    cat "$work/$kind.po" >&2
    failed=1
  fi
done
if ! msgfmt --check -o "$work/es.mo" "$es" 2>"$work/msgfmt.err"; then
  echo "msgfmt --check refuses po/es.po:" >&2
  cat "$work/msgfmt.err" >&2
  failed=1
fi
# The Windows programs read the catalogue themselves and know only the
# Plural-Forms of i18n/mo_catalog.cpp's table (or none: English's).
forms=$(msgcat --no-wrap "$es" | sed -n 's/^"Plural-Forms: *\(.*[^ ]\) *\\n"$/\1/p')
if [ -n "$forms" ] && ! grep -qF "{\"$forms\"," "$po/../i18n/mo_catalog.cpp"; then
  echo "po/es.po has plural forms that i18n/mo_catalog.cpp does not know: $forms" >&2
  failed=1
fi
[ "$failed" -eq 0 ] && echo "catalogue: template and es.po cover every message of the sources"
exit "$failed"
