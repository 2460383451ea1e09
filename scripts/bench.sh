#!/usr/bin/env bash
# Runs the benchmarks on the shipped word database and prints each figure with its ratio to the
# baseline measured in the same run (benchmark NAME against NAME_Baseline).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BENCH=ON \
    -DQM_ECHO_ADDRESS=127.0.0.1 -DQM_UPDATE_URL=http://127.0.0.1:9/dictversion.txt \
    -DQM_SITE_URL=http://127.0.0.1:9/ >/dev/null
cmake --build build -j"$(nproc)" --target benchmarks
out=$(mktemp)
build/bench/benchmarks --benchmark_format=json --benchmark_out="$out" --benchmark_out_format=json "$@" >/dev/null
python3 - "$out" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
for name, b in runs.items():
    if name.endswith("_Baseline"):
        continue
    base = runs.get(name + "_Baseline")
    t = b["real_time"]; unit = b["time_unit"]
    extra = "".join(f"  {k}={b[k]:.0f}" for k in ("peak_kb", "baseline_kb", "extra_kb") if k in b)
    if base:
        print(f"{name:40s} {t:12.3f} {unit}  baseline {base['real_time']:12.3f} {unit}  ratio {t / base['real_time']:6.2f}{extra}")
    else:
        print(f"{name:40s} {t:12.3f} {unit}{extra}")
PY
rm -f "$out"
