#!/usr/bin/env bash
# Runs the benchmarks on the shipped word database and prints each figure with its ratio to the
# baseline measured in the same run (benchmark NAME against NAME_Baseline). The start-up and
# memory figures run real windows, so the benchmarks run on an X display of their own. The
# build is an optimised one in a folder of its own (build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BENCH=ON \
    -DQM_ECHO_ADDRESS=127.0.0.1 -DQM_UPDATE_URL=http://127.0.0.1:9/dictversion.txt \
    -DQM_SITE_URL=http://127.0.0.1:9/ >/dev/null
cmake --build build-bench -j"$(nproc)" --target benchmarks
out=$(mktemp)
# Qt's runtime folder, where the session has none, in the build tree rather than in /tmp.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$PWD/build-bench/runtime}"
xvfb-run -a -s "-screen 0 1024x768x24" build-bench/bench/benchmarks --benchmark_format=json \
    --benchmark_out="$out" --benchmark_out_format=json "$@" >/dev/null 2>&1
python3 - "$out" <<'PY'
import json, sys
# Names without the "/iterations:N/manual_time" that fixed iteration counts add.
runs = {b["name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
for name, b in runs.items():
    if name.endswith("_Baseline"):
        continue
    base = runs.get(name + "_Baseline")
    if "error_occurred" in b:
        print(f"{name:40s} skipped: {b.get('error_message', '')}")
        continue
    t = b["real_time"]; unit = b["time_unit"]
    skip = {"name", "run_name", "run_type", "repetitions", "repetition_index", "threads",
            "iterations", "real_time", "cpu_time", "time_unit", "family_index",
            "per_family_instance_index", "aggregate_name", "aggregate_unit"}
    extra = "".join(f"  {k}={v:.0f}" for k, v in b.items()
                    if k not in skip and isinstance(v, (int, float)))
    if base:
        print(f"{name:40s} {t:12.3f} {unit}  baseline {base['real_time']:12.3f} {unit}  ratio {t / base['real_time']:6.2f}{extra}")
    else:
        print(f"{name:40s} {t:12.3f} {unit}{extra}")
PY
rm -f "$out"
