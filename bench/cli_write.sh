#!/usr/bin/env bash
# The largest script: 32,767 pages with accented ~60-character paths (about
# 16 MB), written by lumvrex-cli --files-from to a file, against dd copying
# the same bytes with fdatasync. Prints the median of several runs of each
# and lumvrex-cli's peak memory.
#
#   bench/cli_write.sh [path/to/lumvrex-cli] [runs]
set -euo pipefail
cli="${1:-build/cli/lumvrex-cli}"
runs="${2:-7}"
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package 'time')" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/var/tmp}/lumvrex-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

for ((i = 0; i < 32767; i++)); do
  printf '/home/autora/Imágenes/Viaje a Cádiz y Málaga/día %02d/foto-%05d.jpg\n' $((i % 31)) "$i"
done >"$work/list"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

cli_times=() dd_times=() peaks=()
for ((r = 0; r < runs; r++)); do
  # Both write a new file each time, so neither pays for replacing an old one.
  rm -f "$work/book.pub"
  /usr/bin/time -f '%M' -o "$work/usage" "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub"
  peaks+=("$(cat "$work/usage")")

  rm -f "$work/book.pub"
  start=$(date +%s%N)
  "$cli" --seed 1 --files-from "$work/list" -o "$work/book.pub"
  cli_times+=($(( ($(date +%s%N) - start) / 1000 )))

  rm -f "$work/copy"
  start=$(date +%s%N)
  dd if="$work/book.pub" of="$work/copy" bs=1M conv=fdatasync status=none
  dd_times+=($(( ($(date +%s%N) - start) / 1000 )))
done

bytes=$(stat -c %s "$work/book.pub")
cli_us=$(printf '%s\n' "${cli_times[@]}" | median)
dd_us=$(printf '%s\n' "${dd_times[@]}" | median)
peak_kb=$(printf '%s\n' "${peaks[@]}" | median)
echo "script: $(wc -l <"$work/list") pages, $bytes bytes; median of $runs runs"
printf 'lumvrex-cli --files-from: %8.1f ms   peak memory %6.1f MB\n' "$(echo "$cli_us / 1000" | bc -l)" "$(echo "$peak_kb / 1024" | bc -l)"
printf 'dd bs=1M conv=fdatasync:  %8.1f ms\n' "$(echo "$dd_us / 1000" | bc -l)"
printf 'ratio: %.2f (goal: at most 1.5)   peak memory goal: under 40 MB\n' "$(echo "$cli_us / $dd_us" | bc -l)"
