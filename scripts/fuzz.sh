#!/usr/bin/env bash
# Fuzzes the parsers of the portable core with libFuzzer.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET ...]
#
# Installs clang and its fuzzer runtime when they are missing, builds the
# targets of tests/fuzz/ (a native clang build with ASan and UBSan), replays
# the kept crash inputs of tests/fuzz/regressions/<target>/, then fuzzes
# each target (all of tests/fuzz/targets.txt, or those named) for SECONDS
# (default 60) from its seed corpus. Prints executions and crashes per
# target; exits non-zero on any crash, sanitizer report, failed check,
# time-out or memory blow-up. New inputs that reach new code are kept in
# the build folder's corpus, so later runs go on from them; crash inputs go
# to <build>/fuzz/artifacts/<target>/. TAVRIN_FUZZ_RUNS caps the executions
# of each target (the run ends at whichever limit comes first). Every run
# adds a line to <build>/fuzz/history.tsv: date, target, seconds, processor
# seconds, executions, crashes, result. An input that runs longer than
# TAVRIN_FUZZ_TIMEOUT seconds (default 10, wall-clock time: raise it for a
# run under nice on a busy machine) is a time-out.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}
seconds=${1:-60}
shift || true
fuzzdir=$build/fuzz

# --- tools ---------------------------------------------------------------
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }
for p in clang libclang-rt-14-dev cmake ninja-build; do have "$p" || need+=("$p"); done
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# --- build ---------------------------------------------------------------
echo "== build: fuzz targets"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzzdir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRIN_FUZZ=ON -DTAVRIN_TESTS=OFF >/dev/null
ninja -C "$fuzzdir" -j "$(nproc)" >/dev/null

# --- targets -------------------------------------------------------------
# tests/fuzz/targets.txt: "name max_len" per line; '#' starts a comment.
declare -A maxLen=()
order=()
while read -r name len _; do
  [ -z "${name:-}" ] || [ "${name:0:1}" = "#" ] && continue
  maxLen[$name]=$len
  order+=("$name")
done < "$root/tests/fuzz/targets.txt"
if [ $# -gt 0 ]; then order=("$@"); fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
history=$fuzzdir/history.tsv
status=0
rows=()

for name in "${order[@]}"; do
  exe=$fuzzdir/tests/fuzz/${name}_fuzz
  if [ ! -x "$exe" ] || [ -z "${maxLen[$name]:-}" ]; then
    echo "unknown fuzz target: $name"; status=1; continue
  fi
  seeds=$root/tests/fuzz/corpus/$name
  regressions=$root/tests/fuzz/regressions/$name
  dict=$root/tests/fuzz/dict/$name.dict
  corpus=$fuzzdir/corpus/$name
  artifacts=$fuzzdir/artifacts/$name/
  logs=$fuzzdir/logs
  mkdir -p "$corpus" "$artifacts" "$logs"
  common=(-max_len="${maxLen[$name]}" -timeout="${TAVRIN_FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048
          -artifact_prefix="$artifacts")

  # Kept crash inputs first: each must now pass.
  replayed=0
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    replayed=$(find "$regressions" -type f | wc -l)
    if ! "$exe" "${common[@]}" "$regressions"/* >"$logs/$name.replay.log" 2>&1; then
      echo "REGRESSION in $name (see $logs/$name.replay.log):"
      grep -m5 -E 'ERROR|FUZZ CHECK|runtime error|Running:' "$logs/$name.replay.log" || true
      rows+=("$(printf '%-16s %12s %9s %6s %6s %8s  %s' "$name" - - - - 1 "regression failed")")
      status=1
      continue
    fi
  fi

  args=("${common[@]}" -max_total_time="$seconds" -print_final_stats=1)
  [ -n "${TAVRIN_FUZZ_RUNS:-}" ] && args+=(-runs="$TAVRIN_FUZZ_RUNS")
  [ -f "$dict" ] && args+=(-dict="$dict")
  log=$logs/$name.log
  before=$(find "$artifacts" -type f | wc -l)
  start=$(date +%s)
  rc=0
  # The processor time the run had, besides the time it took: on a shared
  # machine (or under nice) the two differ.
  TIMEFORMAT='%U %S'
  { time "$exe" "${args[@]}" "$corpus" "$seeds" >"$log" 2>&1; } 2>"$logs/$name.cpu" || rc=$?
  took=$(( $(date +%s) - start ))
  cpu=$(awk '{printf "%d", $1 + $2}' "$logs/$name.cpu" 2>/dev/null || echo 0)
  execs=$(awk '/^stat::number_of_executed_units:/ {n=$2} END {print n+0}' "$log")
  rate=$(awk '/^stat::average_exec_per_sec:/ {n=$2} END {print n+0}' "$log")
  crashes=$(( $(find "$artifacts" -type f | wc -l) - before ))
  result=ok
  if grep -q 'ALARM: working on the last Unit' "$log"; then result=time-out
  elif grep -q -E 'out-of-memory|ERROR: libFuzzer: out-of-memory' "$log"; then result=out-of-memory
  elif grep -q -E 'ERROR: (Address|Leak|Undefined)Sanitizer|runtime error|FUZZ CHECK FAILED|deadly signal' "$log"; then result=crash
  elif [ $rc -ne 0 ]; then result="exit $rc"
  fi
  [ "$result" != ok ] && [ $crashes -eq 0 ] && crashes=1
  [ "$result" != ok ] && status=1
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$name" "$took" "$cpu" "${execs:-0}" "$crashes" \
    "$result" >>"$history"
  rows+=("$(printf '%-16s %12s %9s %5ss %5ss %8s  %s' "$name" "${execs:-0}" "${rate:-0}" "$took" "$cpu" "$crashes" \
            "$result$([ $replayed -gt 0 ] && echo " ($replayed kept inputs pass)")")")
  if [ "$result" != ok ]; then
    echo "== $name: $result (log: $log, inputs: $artifacts)"
    grep -m8 -E 'ERROR|FUZZ CHECK|runtime error|ALARM|#[0-9]+ 0x' "$log" || true
  fi
done

echo
printf '%-16s %12s %9s %6s %6s %8s  %s\n' target executions "exec/s" time cpu crashes result
for r in "${rows[@]}"; do echo "$r"; done
if [ $status -ne 0 ]; then echo "FUZZING FOUND FAULTS"; fi
exit $status
