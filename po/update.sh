#!/usr/bin/env bash
# After changing a marked message: remakes po/lumvrex.pot from the sources
# and merges it into po/es.po, whose new or changed entries then await a
# translator (check_catalogue.sh fails until they are done).
set -euo pipefail
po=$(cd "$(dirname "$0")" && pwd)
"$po/make_template.sh" "$po/lumvrex.pot"
msgmerge --quiet --update --backup=none --no-fuzzy-matching "$po/es.po" "$po/lumvrex.pot"
