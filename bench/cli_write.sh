#!/usr/bin/env bash
# The largest script: 32,767 pages with accented ~60-character paths (about
# 16 MB), written by lumvrex-cli --files-from to a new file. Prints three
# figures:
# - time, side by side with dd copying the same bytes with fdatasync (runs
#   alternate, so both see the same machine), as medians and their ratio;
# - instructions of the whole process counted by valgrind's callgrind,
#   which is the same from run to run;
# - peak memory (maximum resident set size).
#
#   bench/cli_write.sh [path/to/lumvrex-cli] [runs]
set -euo pipefail
cli="${1:-build/cli/lumvrex-cli}"
runs="${2:-9}"
for tool in /usr/bin/time valgrind bc; do
  command -v "$tool" >/dev/null || { echo "needs $tool (Debian packages time, valgrind, bc)" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/var/tmp}/lumvrex-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

for ((i = 0; i < 32767; i++)); do
  printf '/home/autora/Imágenes/Viaje a Cádiz y Málaga/día %02d/foto-%05d.jpg\n' $((i % 31)) "$i"
done >"$work/list"
write() { "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub"; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Microseconds from bash itself: no program started around what is timed.
now_us() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t)); }

write # the list and the program in the page cache for everyone
cli_times=() dd_times=()
for ((r = 0; r < runs; r++)); do
  # Both write a new file each time, so neither pays for replacing an old one.
  rm -f "$work/book.pub"
  start=$(now_us); write; cli_times+=($(($(now_us) - start)))
  rm -f "$work/copy"
  start=$(now_us); dd if="$work/book.pub" of="$work/copy" bs=1M conv=fdatasync status=none
  dd_times+=($(($(now_us) - start)))
done
cli_us=$(printf '%s\n' "${cli_times[@]}" | median)
dd_us=$(printf '%s\n' "${dd_times[@]}" | median)

rm -f "$work/book.pub"
valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
  "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub" 2>"$work/valgrind.log"
instructions=$(awk '/^summary:/ { print $2 }' "$work/callgrind.out")

rm -f "$work/book.pub"
/usr/bin/time -f '%M' -o "$work/usage" "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub"
peak_kb=$(cat "$work/usage")

echo "script: $(wc -l <"$work/list") pages, $(stat -c %s "$work/book.pub") bytes"
printf 'time:         lumvrex-cli %.1f ms, dd bs=1M conv=fdatasync %.1f ms (medians of %d runs side by side): ratio %.2f (goal: at most 1.3)\n' \
  "$(echo "$cli_us / 1000" | bc -l)" "$(echo "$dd_us / 1000" | bc -l)" "$runs" "$(echo "$cli_us / $dd_us" | bc -l)"
printf 'instructions: %s for the whole process (callgrind; goal: at most 40,000,000)\n' \
  "$(printf "%'d" "$instructions" 2>/dev/null || echo "$instructions")"
printf 'peak memory:  %.1f MB (goal: under 40 MB)\n' "$(echo "$peak_kb / 1024" | bc -l)"
