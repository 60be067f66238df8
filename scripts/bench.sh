#!/usr/bin/env bash
# Builds the release preset's benchmarks and runs them: the engine and its
# Boost.Context peer (Google Benchmark), then the SystemC peer, one program
# per N because SystemC elaborates once per program. Extra arguments go to
# Google Benchmark, e.g. --benchmark_filter=hold_cycle.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target zorva_bench peer_systemc_processes zorva_kernel_bench \
  zorva_animation_bench

bin=build/release/bench
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
"$bin/zorva_bench" --benchmark_min_time=0.3 "$@"

# SystemC's cost per event grows steeply with N: N = 100 000 took 90 s and
# more of CPU on the machine in bench/README.md, beyond a benchmark run's
# budget, so it runs only with ZORVA_BENCH_SYSTEMC_100K=1. SystemC also maps a
# stack with a guard page for every thread, two memory maps each: near
# vm.max_map_count / 2 threads it can fail whatever the stack size, so the
# regular run takes the largest N that surely fits.
export SYSTEMC_DISABLE_COPYRIGHT_MESSAGE=1
systemc() {
  local out
  out=$("$bin/peer_systemc_processes" "$@" 2>&1) && grep '^systemc/' <<<"$out" && return 0
  echo "systemc/processes/n:$1 stack:${3:-default} failed: $(grep -m1 -E 'Error|Fatal' <<<"$out" || echo "exit status")"
  return 1
}
systemc 10
systemc 1000
limit=$(cat /proc/sys/vm/max_map_count 2>/dev/null || echo 65530)
fits=$(( (limit / 2 - 2000) / 1000 * 1000 ))
echo "largest N that fits vm.max_map_count=$limit: $fits"
systemc "$fits" || true
if [ "${ZORVA_BENCH_SYSTEMC_100K:-0}" = 1 ]; then
  systemc 100000 || systemc 100000 10 16384 || true
fi

"$bin/zorva_kernel_bench" --benchmark_min_time=0.2
"$bin/zorva_animation_bench" --benchmark_min_time=0.2
