#!/usr/bin/env bash
# po/check_catalogue.sh refuses a copy of es.po whose Plural-Forms the
# programs' own catalogue reader does not know.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sed 's/^"Plural-Forms: .*/"Plural-Forms: nplurals=2; plural=(n > 1);\\n"/' "$root/po/es.po" >"$work/es.po"
if "$root/po/check_catalogue.sh" "$work/es.po" 2>"$work/err"; then
  echo "check_catalogue.sh took plural forms the reader does not know" >&2
  exit 1
fi
grep -F "does not know: nplurals=2; plural=(n > 1);" "$work/err"
