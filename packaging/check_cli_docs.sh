#!/usr/bin/env bash
# Checks that the manual page and the bash completion of lumvrex-cli keep up
# with the program: every option that "lumvrex-cli --help" lists is documented
# and completed (and the completion offers no other), every exit code it lists
# is documented, and the completion offers file names where a file is wanted.
#
# A translated manual page given after them is held to the same options and
# exit codes, under its own section names.
#
#   check_cli_docs.sh LUMVREX_CLI MANUAL_PAGE.scd COMPLETION [PAGE.es.1.scd]
set -euo pipefail
cli=$(realpath "$1") page=$(realpath "$2") completion=$(realpath "$3")
translated=${4:+$(realpath "$4")}

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

help=$(LC_ALL=C "$cli" --help)

# "  -o,--output OUTPUT  Write ..." (or "-o, --output") gives --output and -o.
mapfile -t long_options < <(sed -n 's/^  \(-[^ ,]*, \{0,1\}\)\{0,1\}\(--[a-z][a-z-]*\).*/\2/p' <<<"$help")
mapfile -t short_pairs < <(sed -n 's/^  \(-[a-z]\), \{0,1\}\(--[a-z][a-z-]*\).*/\1 \2/p' <<<"$help")
mapfile -t exit_codes < <(sed -n '/^Exit codes:/,/^$/s/^  \([0-9][0-9]*\)  .*/\1/p' <<<"$help")
[ "${#long_options[@]}" -ge 10 ] || fail "found only ${#long_options[@]} options in --help: ${long_options[*]}"
[ "${#exit_codes[@]}" -ge 3 ] || fail "found only ${#exit_codes[@]} exit codes in --help: ${exit_codes[*]}"

# The manual page: an option is documented by a heading line (not indented)
# in OPTIONS that names it in bold, such as "*-o*, *--output* _OUTPUT_".
check_page() { # check_page PAGE OPTIONS-SECTION EXIT-STATUS-SECTION
    local page=$1 options=$2 exits=$3 headings statuses
    section() { awk -v name="$1" '/^# /{on = ($0 == "# " name); next} on' "$page"; }
    headings=$(section "$options" | grep '^\*-' || true)
    for option in "${long_options[@]}"; do
        grep -qF -- "*$option*" <<<"$headings" || fail "$page does not document $option under $options"
    done
    for pair in "${short_pairs[@]}"; do
        read -r short long <<<"$pair"
        grep -F -- "*$long*" <<<"$headings" | grep -qF -- "*$short*, " ||
            fail "$page does not name $short beside $long"
    done
    statuses=$(section "$exits")
    for code in "${exit_codes[@]}"; do
        grep -qx "\*$code\*" <<<"$statuses" || fail "$page does not document exit code $code under $exits"
    done
}
check_page "$page" OPTIONS "EXIT STATUS"
[ -z "$translated" ] || check_page "$translated" OPCIONES "ESTADO DE SALIDA"

# The completion, run as bash runs it for "lumvrex-cli WORDS... CURRENT".
# compopt works only inside a real completion; here it records what it was
# asked, and the first line of the answer says whether the replies were
# marked as file names (for quoting and a "/" after folders).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/folder"
touch "$work/pic one.jpg" "$work/pic2.png" "$work/list.txt"
complete_words() {
    (cd "$work" && bash --norc --noprofile -c '
        set -eu
        source "$1"
        shift
        marked=plain
        compopt() { if [ "$*" = "-o filenames" ]; then marked=files; fi; }
        COMP_WORDS=(lumvrex-cli "$@"); COMP_CWORD=$#
        COMP_LINE="${COMP_WORDS[*]}"; COMP_POINT=${#COMP_LINE}
        _lumvrex_cli lumvrex-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
        echo "$marked"
        printf "%s\n" "${COMPREPLY[@]}"' check "$completion" "$@" | { read -r marked && echo "$marked" && sort; })
}
check_completion() { # check_completion plain|files "WHAT IS OFFERED" WORDS...
    local marked=$1 wanted=$2 answer
    shift 2
    if ! answer=$(complete_words "$@"); then
        fail "completing 'lumvrex-cli $*' failed"
        return
    fi
    local got_marked=${answer%%$'\n'*} got=''
    [[ $answer == *$'\n'* ]] && got=$(paste -sd '|' <<<"${answer#*$'\n'}")
    [ "$got" = "$wanted" ] || fail "completing 'lumvrex-cli $*' offered '$got', not '$wanted'"
    [ "$got_marked" = "$marked" ] || fail "completing 'lumvrex-cli $*' gave $got_marked replies, not $marked"
}
expect() { check_completion plain "$@"; }
expect_files() { check_completion files "$@"; }

(bash --norc --noprofile -c 'source "$1" && complete -p lumvrex-cli' check "$completion" |
    grep -q -- '-F _lumvrex_cli lumvrex-cli$') || fail "$completion does not register a completion for lumvrex-cli"

all_options=$(printf '%s\n' "${long_options[@]}" | sort | paste -sd '|')
expect "$all_options" --
expect "$all_options" pic2.png -
expect "$all_options" --title "x" --
expect "--natural-sort|--null" --n
files='folder|list.txt|pic one.jpg|pic2.png'
expect_files "$files" ''                       # a picture
expect_files "pic one.jpg|pic2.png" --seed 3 pic
expect_files "$files" -o ''
expect_files "$files" --output ''
expect_files "$files" --output = ''            # --output=<TAB>, split at "=" by bash
expect_files "list.txt" --files-from l
expect_files "list.txt" --files-from = l
expect_files "" --files-from -                 # a value, not an option: no options offered
expect_files "" -o -
expect "" --title ''                           # free text
expect "" --seed ''
expect "" --icon ''
expect "" --title = ''
expect_files "pic2.png" -o out.pub -- pic2     # after "--", pictures only
expect_files "" -- --n

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "lumvrex-cli: ${#long_options[@]} options and ${#exit_codes[@]} exit codes documented and completed"
