#!/usr/bin/env bash
# The largest script: 32,767 pages with accented ~60-character paths (about
# 16 MB), written by lumvrex-cli --files-from to a new file. Prints, for each
# program given:
# - time, side by side with dd copying the same bytes with fdatasync (runs
#   alternate, so all see the same machine), as medians and their ratio;
# - instructions of the whole process counted by valgrind's callgrind,
#   which is the same from run to run;
# - peak memory (maximum resident set size).
# Given two programs (an older build and a newer one, say), both run in the
# same rounds and must write the same bytes.
#
#   bench/cli_write.sh [-n runs] [path/to/lumvrex-cli ...]
set -euo pipefail
runs=15
if [ "${1:-}" = -n ]; then
  runs="$2"
  shift 2
fi
clis=("$@")
[ "${#clis[@]}" -gt 0 ] || clis=(build/cli/lumvrex-cli)
for tool in /usr/bin/time valgrind bc; do
  command -v "$tool" >/dev/null || { echo "needs $tool (Debian packages time, valgrind, bc)" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/var/tmp}/lumvrex-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

for ((i = 0; i < 32767; i++)); do
  printf '/home/autora/Imágenes/Viaje a Cádiz y Málaga/día %02d/foto-%05d.jpg\n' $((i % 31)) "$i"
done >"$work/list"
write() { "$1" --seed 1 --files-from "$work/list" -o "$2"; }

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# Microseconds from bash itself: no program started around what is timed.
now_us() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t)); }

# The list and the programs in the page cache for everyone.
for c in "${!clis[@]}"; do
  write "${clis[c]}" "$work/book$c.pub"
  cmp -s "$work/book0.pub" "$work/book$c.pub" || { echo "${clis[c]} writes other bytes than ${clis[0]}" >&2; exit 1; }
done
declare -A times
dd_times=()
for ((r = 0; r < runs; r++)); do
  # Each writes a new file each time, so none pays for replacing an old one;
  # every other round the programs take turns in the other order.
  order=("${!clis[@]}")
  ((r % 2 == 0)) || order=($(printf '%s\n' "${order[@]}" | sort -rn))
  for c in "${order[@]}"; do
    rm -f "$work/book$c.pub"
    start=$(now_us); write "${clis[c]}" "$work/book$c.pub"; times[$c]+="$(($(now_us) - start)) "
  done
  rm -f "$work/copy"
  start=$(now_us); dd if="$work/book0.pub" of="$work/copy" bs=1M conv=fdatasync status=none
  dd_times+=($(($(now_us) - start)))
done
dd_us=$(printf '%s\n' "${dd_times[@]}" | median)

echo "script: $(wc -l <"$work/list") pages, $(stat -c %s "$work/book0.pub") bytes; medians of $runs runs side by side"
printf 'dd bs=1M conv=fdatasync: %.1f ms\n' "$(echo "$dd_us / 1000" | bc -l)"
for c in "${!clis[@]}"; do
  cli="${clis[c]}"
  cli_us=$(printf '%s\n' ${times[$c]} | median)
  rm -f "$work/book.pub"
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub" 2>"$work/valgrind.log"
  instructions=$(awk '/^summary:/ { print $2 }' "$work/callgrind.out")
  rm -f "$work/book.pub"
  /usr/bin/time -f '%M' -o "$work/usage" "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub"
  peak_kb=$(cat "$work/usage")

  echo "$cli:"
  printf '  time:         %.1f ms: ratio to dd %.2f (goal: at most 1.3)\n' \
    "$(echo "$cli_us / 1000" | bc -l)" "$(echo "$cli_us / $dd_us" | bc -l)"
  printf '  instructions: %s for the whole process (callgrind; goal: at most 40,000,000)\n' \
    "$(printf "%'d" "$instructions" 2>/dev/null || echo "$instructions")"
  printf '  peak memory:  %.1f MB (goal: under 40 MB)\n' "$(echo "$peak_kb / 1024" | bc -l)"
done
