#!/usr/bin/env bash
# Runs trimlet-bench builds in turn (the first, the second, ..., then again) and prints the
# median CPU time of each benchmark for each build and its ratio to the last build, so that
# a change in the machine's load falls on all alike.
#
#   bench/engine_in_turn.sh ROUNDS NEW_BENCH [OTHER_BENCH...] BASELINE_BENCH
#
# Environment: FILTER (a --benchmark_filter, default: the HTML cases and the copy baseline).
set -euo pipefail
rounds=$1; shift
filter=${FILTER:-BM_(TrimHtml|CollapseCopy)}
tmp=$(mktemp -d)
for r in $(seq "$rounds"); do
  k=0
  for bin in "$@"; do
    "$bin" --benchmark_filter="$filter" --benchmark_format=json 2>/dev/null > "$tmp/$k.$r.json"
    k=$((k+1))
  done
done
python3 - "$tmp" "$rounds" "$@" <<'PY'
import json, sys, statistics
tmp, rounds, bins = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
res = {}
for k in range(len(bins)):
    for r in range(1, rounds + 1):
        for b in json.load(open(f"{tmp}/{k}.{r}.json"))["benchmarks"]:
            res.setdefault(b["name"], {}).setdefault(k, []).append(b["cpu_time"])
print("CPU-time medians (ms) of %d rounds in turn; ratios to the last" % rounds)
for k, b in enumerate(bins): print(f"  [{k}] {b}")
print(f"{'benchmark':30}" + "".join(f"{'['+str(k)+']':>9}" for k in range(len(bins))) + "".join(f"{'['+str(k)+']/last':>11}" for k in range(len(bins)-1)))
for name, v in res.items():
    m = [statistics.median(v[k]) for k in range(len(bins))]
    print(f"{name:30}" + "".join(f"{x:9.2f}" for x in m) + "".join(f"{x/m[-1]:11.3f}" for x in m[:-1]))
PY
rm -rf "$tmp"
