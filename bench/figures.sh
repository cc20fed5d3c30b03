#!/bin/sh
# The README's performance tables from bench_engine: real-time factor (audio seconds per CPU
# second, best of REPS runs) of the baseline path (ORV_FORCE_BASELINE=1) and of the vector path,
# then the worst 64-frame block (thread CPU time, each block's median over seven job rounds, the
# median of REPS runs) as a share of the block's duration, for the job blocks and for every
# block, and the slowest single block as measured. Prints the load too.
#   bench/figures.sh [BUILD_DIR] [REPS]
set -eu
bench=${1:-build}/bench/bench_engine
reps=${2:-5}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
run() {
  "$bench" --benchmark_repetitions="$reps" --benchmark_format=json --benchmark_filter="$@"
}
echo "load before: $(uptime)"
ORV_FORCE_BASELINE=1 run BM_RealTimeFactor >"$tmp/baseline.json"
run BM_RealTimeFactor >"$tmp/vector.json"
run BM_WorstBlockWithJobs >"$tmp/worst.json"
echo "load after: $(uptime)"
python3 - "$tmp" <<'PY'
import json, statistics, sys
def runs(name):
    with open(f"{sys.argv[1]}/{name}.json") as f:
        out = {}
        for b in json.load(f)["benchmarks"]:
            if b.get("run_type") == "iteration":
                key = tuple(int(a) for a in b["run_name"].split("/")[1:] if a.isdigit())
                out.setdefault(key, []).append(b)
        return out
mode = {0: "LowCPU", 1: "Brilliant"}
base, wide = runs("baseline"), runs("vector")
print("\n| rate | CPUmode | rotors | baseline | vector |\n|---|---|---|---|---|")
for (rate, cpu, block, lever) in sorted(base, key=lambda k: (k[1], k[0], k[3])):
    best = lambda r: max(b["realtime_x"] for b in r[(rate, cpu, block, lever)])
    print(f"| {rate / 1000:g} kHz | {mode[cpu]} | {'fast' if lever else 'slow'} | "
          f"{best(base):.1f}× | {best(wide):.1f}× |")
print("\n| rate | block | LowCPU job block | LowCPU any block | Brilliant job block | Brilliant any block | slowest single block |")
print("|---|---|---|---|---|---|---|")
worst = runs("worst")
for rate in sorted({k[0] for k in worst}):
    cells, single = [], []
    for cpu in (0, 1):
        r = worst[(rate, cpu)]
        span = r[0]["block_duration_us"]
        for key in ("worst_job_block_us", "worst_block_us"):
            us = statistics.median(b[key] for b in r)
            cells.append(f"{us:.0f} µs ({100 * us / span:.0f} %)")
        single.append(f"{statistics.median(b['worst_single_block_us'] for b in r):.0f}")
    print(f"| {rate / 1000:g} kHz | {span:.0f} µs | " + " | ".join(cells) + f" | {' / '.join(single)} µs |")
PY
