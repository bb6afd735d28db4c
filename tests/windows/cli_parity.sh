#!/usr/bin/env bash
# lumvrex-cli.exe under Wine against lumvrex-cli for Linux: for the same
# arguments, --seed and decimal separator, the same script byte for byte
# (to a file and to standard output), the same texts for --help, --version
# and bad usage, and the same exit codes.
#
# Usage: cli_parity.sh WINDOWS_CLI LINUX_CLI OUTPUT_DIR
# Needs WINEPREFIX with its wineserver running.
set -euo pipefail

windows_cli=$(realpath "$1")
linux_cli=$(realpath "$2")
out=$3
rm -rf "$out"
mkdir -p "$out"
out=$(realpath "$out")
cd "$out"

failures=0
fail() {
  echo "cli parity: FAILED: $*" >&2
  failures=$((failures + 1))
}

windows_path() { winepath -w "$1" 2>/dev/null; }

# The same run on both: arguments after the locale; OUT in them stands for
# the output file, LIST for the list file, each given in its system's form.
# Prints nothing; leaves NAME.linux, NAME.windows (the files), NAME.*.out,
# NAME.*.err and NAME.*.code.
run_both() {
  local name=$1 locale=$2
  shift 2
  local linux_arguments=() windows_arguments=() argument
  for argument in "$@"; do
    case "$argument" in
      OUT)
        linux_arguments+=("$out/$name.linux")
        windows_arguments+=("$(windows_path "$out/$name.windows")")
        ;;
      LIST)
        linux_arguments+=("$out/list")
        windows_arguments+=("$(windows_path "$out/list")")
        ;;
      *)
        linux_arguments+=("$argument")
        windows_arguments+=("$argument")
        ;;
    esac
  done
  local code=0
  LC_ALL=$locale "$linux_cli" "${linux_arguments[@]}" <"$out/list" >"$name.linux.out" 2>"$name.linux.err" || code=$?
  echo "$code" >"$name.linux.code"
  code=0
  LC_ALL=$locale wine "$windows_cli" "${windows_arguments[@]}" <"$out/list" >"$name.windows.out" \
    2>"$name.windows.err" || code=$?
  echo "$code" >"$name.windows.code"
}

same() {
  local name=$1 what=$2
  cmp -s "$name.linux.$what" "$name.windows.$what" || fail "$name: the $what differs (see $out/$name.*.$what)"
}
same_script() {
  local name=$1
  [ -s "$name.linux" ] || fail "$name: lumvrex-cli for Linux wrote nothing"
  cmp -s "$name.linux" "$name.windows" || fail "$name: the scripts differ ($out/$name.linux, $out/$name.windows)"
}

fields=(--title 'Viaje a Cádiz: día 1' --back-color 16777215 --width 800 --height 600
  --icon 'C:\Iconos\viaje ñ.ico')
# No * or ? among them: lumvrex-cli.exe takes those as patterns, and Linux's as names.
pictures=('C:\Fotos\playa en Cádiz.jpg' 'C:\Fotos\montaña 2.bmp' '\\servidor\fotos\Año nuevo\¡olé!.png'
  '/fotos/crème brûlée.gif' 'C:\Fotos\playa en Cádiz.jpg')

# 32,767 paths, NUL-separated, in an order that --natural-sort changes.
for i in $(seq 32767 -1 1); do printf 'C:\\Users\\Zoë\\Pictures\\Álbum de viaje\\foto %d.jpg\0' "$i"; done >list

for locale in C.UTF-8 es_ES.UTF-8 de_DE.UTF-8; do
  tag=${locale%%.*}
  run_both "pictures-$tag" "$locale" "${fields[@]}" --seed 7 -o OUT "${pictures[@]}"
  same_script "pictures-$tag"
  run_both "stdout-$tag" "$locale" "${fields[@]}" --seed 7 -o - "${pictures[@]}"
  same "stdout-$tag" out
  cmp -s "stdout-$tag.windows.out" "pictures-$tag.windows" || fail "$tag: standard output and the file differ on Windows"
  run_both "list-$tag" "$locale" "${fields[@]}" --seed 4294967295 --natural-sort --null --files-from LIST -o OUT
  same_script "list-$tag"
  run_both "stdin-$tag" "$locale" --seed 1 --files-from - --null -o OUT
  same_script "stdin-$tag"
  run_both "empty-$tag" "$locale" "${fields[@]}" -o OUT
  same_script "empty-$tag"
done
# The decimal separator did come from the locale.
grep -aq '^PageEffect = [0-9]*,[0-9]' "pictures-es_ES.windows" || fail "no decimal comma in the Spanish script"
grep -aq '^PageEffect = [0-9]*\.[0-9]' "pictures-C.windows" || fail "no decimal point in the C script"

# Texts and exit codes.
for case in "help|--help" "version|--version" "no-output|a.png" "bad-seed|--seed|x|-o|-|a.png" \
  "unknown-option|--colour|red|-o|-" "too-many-pages|--files-from|-|--null|-o|-|one-more.png" \
  "outside-windows-1252|-o|-|C:\\日本.png"; do
  IFS='|' read -r -a words <<<"$case"
  run_both "${words[0]}" C.UTF-8 "${words[@]:1}"
  same "${words[0]}" code
  same "${words[0]}" out
  same "${words[0]}" err
done
# Paths that cannot be written: exit 1 on both; the reasons are each
# system's own words.
run_both missing-folder C.UTF-8 -o "$out/no such folder/book.pub" a.png
[ "$(cat missing-folder.linux.code)" = 1 ] && [ "$(cat missing-folder.windows.code)" = 1 ] \
  || fail "missing folder: exit codes $(cat missing-folder.linux.code) and $(cat missing-folder.windows.code), not 1"
expected_code() { [ "$(cat "$1.linux.code")" = "$2" ] || fail "$1: exit code $(cat "$1.linux.code"), not $2"; }
expected_code help 0
expected_code no-output 2
expected_code too-many-pages 2
expected_code outside-windows-1252 2

compared=$(find . -maxdepth 1 -name '*.windows' | wc -l)
if [ "$failures" -gt 0 ]; then
  echo "cli parity: $failures failures" >&2
  exit 1
fi
echo "cli parity: $compared scripts and 7 usage cases the same on Linux and under Wine"
