#!/usr/bin/env python3
"""Ratio table of a benchmark run (JSON, with repetitions).

Each benchmark's median real time is compared with its baseline measured in the same run:
  * "BM_X" against "BM_X_Baseline";
  * "BM_X/<n>" (a size series) by the cost per item at each size against the smallest size,
    using the items_per_second counter.
Usage: python3 bench/ratios.py run.json [name-filter]
"""
import json
import re
import statistics
import sys


def main():
    data = json.load(open(sys.argv[1]))
    filt = sys.argv[2] if len(sys.argv) > 2 else ""
    times, per_item = {}, {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = re.sub(r"/(iterations|min_time|repeats):[^/]*", "", b.get("run_name", b["name"]))
        times.setdefault(name, []).append(b["real_time"])
        if "items_per_second" in b and b["items_per_second"] > 0:
            per_item.setdefault(name, []).append(1e9 / b["items_per_second"])
    med = {k: statistics.median(v) for k, v in times.items()}
    med_item = {k: statistics.median(v) for k, v in per_item.items()}
    rows = []
    for name in sorted(med):
        if filt and filt not in name:
            continue
        if name.endswith("_Baseline"):
            continue
        base = name + "_Baseline"
        if base in med:
            rows.append((name, base, med[name] / med[base]))
            continue
        m = re.match(r"(.*)/(\d+)$", name)
        if m and name in med_item:
            series = sorted((int(k.rsplit("/", 1)[1]), k) for k in med_item
                            if k.rsplit("/", 1)[0] == m.group(1) and re.match(r".*/\d+$", k))
            smallest = series[0][1]
            if smallest != name:
                rows.append((name, smallest + " per item", med_item[name] / med_item[smallest]))
    for name, base, ratio in rows:
        print(f"{name:55s} {base:55s} {ratio:6.2f}x")


if __name__ == "__main__":
    main()
