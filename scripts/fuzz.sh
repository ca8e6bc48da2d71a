#!/usr/bin/env bash
# Runs each fuzz target for the given time (seconds, default 60) with the fuzz
# preset, over a working copy of its corpus; new inputs that add coverage are
# merged back into the saved corpus, minimised. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=($(ls fuzz/corpus))

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target $(printf 'fuzz_%s ' "${targets[@]}")

for t in "${targets[@]}"; do
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$t/." "$work/"
  echo "== $t for ${seconds}s"
  "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="fuzz/crash-$t-" "$work" 2>&1 |
    grep -E '^(#|stat::|==|SUMMARY|artifact)' | grep -E 'DONE|stat::number_of_executed_units|stat::peak_rss|cov:|SUMMARY|artifact' | tail -6
  merged=$(mktemp -d)
  "build-fuzz/fuzz/fuzz_$t" -merge=1 "$merged" "fuzz/corpus/$t" "$work" >/dev/null 2>&1
  rm -rf "fuzz/corpus/$t" && mv "$merged" "fuzz/corpus/$t"
  rm -rf "$work"
done
