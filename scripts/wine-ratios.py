#!/usr/bin/env python3
"""Prints the Wine benchmarks against the bare DDE floor of the same run and fails when a ratio
is over its bound:  wine-ratios.py BENCH.json"""
import json
import sys

BOUNDS = {"directed": 0.8, "ddeml": 1.15, "extraction": 8000, "endurance": 1.2}

runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
ratios = {}
for name, run in runs.items():
    if run.get("error_occurred"):
        print(f"bench {name}: {run.get('error_message')}")
        ratios[name] = float("inf")
    elif "floor_us" in run and run["floor_us"] <= 0:
        print(f"bench {name}: dde-floor.exe did not run")
        ratios[name] = float("inf")
    elif name.startswith("BM_WineSendMacro") and name.endswith("_median"):
        how = "ddeml" if "ddeml:1" in name else "directed"
        ratio = run["real_time"] / run["floor_us"]
        ratios[how] = ratio
        print(f"bench SendMacro through the bridge ({how}): median {run['real_time']:.0f} µs, "
              f"floor {run['floor_us']:.0f} µs, ratio {ratio:.2f} (at most {BOUNDS[how]})")
    elif name.startswith("BM_WineFullExtraction"):
        floors = run["real_time"] * 1000 / run["floor_us"]
        ratios["extraction"] = floors
        print(f"bench 100 classes ({run['conversations']:.0f} conversations): "
              f"{run['real_time'] / 1000:.2f} s = {floors:.0f} x the floor "
              f"(7,301 x the floor: {7301 * run['floor_us'] / 1e6:.2f} s; at most 8,000 x)")
    elif name.startswith("BM_WineEndurance"):
        ratio = run["last_over_first"]
        ratios["endurance"] = ratio
        print(f"bench {run['conversations']:.0f} conversations: first 1000 "
              f"{run['first_1000_ms']:.0f} ms, last 1000 {run['last_1000_ms']:.0f} ms, "
              f"ratio {ratio:.2f} (at most 1.2)")
over = [what for what, ratio in ratios.items() if ratio > BOUNDS.get(what, 0)]
missing = [what for what in BOUNDS if what not in ratios]
for what in over + missing:
    print(f"bench: {what} " + ("over its bound" if what in over else "not measured"))
sys.exit(1 if over or missing else 0)
