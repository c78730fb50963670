#!/usr/bin/env python3
"""The table of benchmark.sh, and WORK_DIR/convergence.dat for benchmark.gp.

    benchmark_table.py WORK_DIR

2D-1: C_D, C_L of body1 and the pressure difference of the two probes
from WORK_DIR/2d1-D.json, the difference scaled to their units (U_mean
0.2: times 0.04). 2D-2: from WORK_DIR/2d2-D.csv after t = 15, the Strouhal
number D / period (periods between upward zero crossings of C_L) and the
largest C_D and C_L. The reference values for the errors of the plot are
the converged ones of John (2004), Int. J. Numer. Meth. Fluids 44, 777-788:
C_D 5.57953523, dp 0.11752017.
"""
import csv
import json
import sys

REFERENCE_CD, REFERENCE_DP = 5.57953523, 0.11752017


def steady(work, d):
    with open(f"{work}/2d1-{d}.json") as f:
        s = json.load(f)
    body = s["bodies"][0]
    return body["cd_mean"], body["cl_mean"], 0.04 * s["pressure_difference"]


def periodic(work, d):
    with open(f"{work}/2d2-{d}.json") as f:
        length = json.load(f)["bodies"][0]["reference_length"]
    rows = list(csv.reader(open(f"{work}/2d2-{d}.csv")))
    head = rows[0]
    t, cd, cl = head.index("t"), head.index("body1_cd"), head.index("body1_cl")
    data = [(float(r[t]), float(r[cd]), float(r[cl])) for r in rows[1:] if float(r[t]) >= 15.0]
    ups = [a[0] + (b[0] - a[0]) * -a[2] / (b[2] - a[2]) for a, b in zip(data, data[1:]) if a[2] < 0 <= b[2]]
    period = (ups[-1] - ups[0]) / (len(ups) - 1)
    return length / period, max(r[1] for r in data), max(r[2] for r in data)


def main():
    work = sys.argv[1]
    print("| D (cells) | 2D-1 C_D | C_L | dp | 2D-2 St | C_D max | C_L max |")
    print("|---|---|---|---|---|---|---|")
    print("| Schäfer & Turek (1996) | 5.57–5.59 | 0.0104–0.0110 | 0.1172–0.1176 | 0.295–0.305 | 3.22–3.24 | 0.99–1.01 |")
    with open(f"{work}/convergence.dat", "w") as out:
        out.write("# cells  |C_D - 5.5795|  |dp - 0.11752|\n")
        for d in (10, 20, 40):
            cd, cl, dp = steady(work, d)
            try:
                st, cdmax, clmax = periodic(work, d)
                second = f"{st:.4f} | {cdmax:.3f} | {clmax:.3f}"
            except (OSError, ValueError, ZeroDivisionError):
                second = "– | – | –"
            print(f"| {d} | {cd:.4f} | {cl:.5f} | {dp:.4f} | {second} |")
            out.write(f"{d} {abs(cd - REFERENCE_CD):.6g} {abs(dp - REFERENCE_DP):.6g}\n")


if __name__ == "__main__":
    main()
