#!/usr/bin/env bash
# The libFuzzer targets of fuzz/, built with clang in build-fuzz/.
#   scripts/fuzz.sh                      replays every saved corpus once (what CI does)
#   scripts/fuzz.sh run NAME [SECONDS]   fuzzes NAME (default 600 s); new inputs
#                                        that reach new code are kept in its corpus
set -euo pipefail
cd "$(dirname "$0")/.."

CC=clang CXX=clang++ scripts/setup.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCONTRATTO_FUZZ=ON -DCONTRATTO_TESTS=OFF -DCONTRATTO_GUI=OFF

common=(-timeout=30 -rss_limit_mb=2048 -malloc_limit_mb=1024)
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if [ "${1:-replay}" = run ]; then
  name=$2
  seconds=${3:-600}
  mkdir -p "fuzz/corpus/$name"
  exec "build-fuzz/fuzz/$name" "${common[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    "fuzz/corpus/$name"
fi

count=0
for target in build-fuzz/fuzz/*_fuzzer; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/$name"
  if [ ! -d "$corpus" ] || [ -z "$(ls -A "$corpus")" ]; then
    echo "fuzz: $name has no saved corpus" >&2
    exit 1
  fi
  files=$(find "$corpus" -type f | wc -l)
  # Each input runs once; a crash, leak, hang or sanitizer report fails the run.
  find "$corpus" -type f -print0 | xargs -0 "$target" "${common[@]}" >"build-fuzz/$name.log" 2>&1 || {
    tail -n 60 "build-fuzz/$name.log"
    echo "fuzz: $name failed on its saved corpus" >&2
    exit 1
  }
  echo "fuzz: $name replayed $files inputs"
  count=$((count + 1))
done
echo "fuzz: $count targets replayed"
