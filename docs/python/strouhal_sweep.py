#!/usr/bin/python3
"""The README's Reynolds-number sweep of the square obstacle
(docs/sweeps/square_cylinder_re.csv), from Python: five runs, two at a time
on two threads, then the Strouhal number St = f D / U of each against Re_D.

    strouhal_sweep.py [OUT.png [STEP_FRACTION]]

STEP_FRACTION (default 1) scales the steps of every run; the tests take a
small one. The grid's Reynolds number is the domain's (centre-line inflow
speed U, height 1); the obstacle's side is D = 6/49, so re = 49/6 Re_D,
rounded, as in the table.
"""
import os
import sys
from concurrent.futures import ThreadPoolExecutor

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt

import kelvo

out = sys.argv[1] if len(sys.argv) > 1 else "square_cylinder_strouhal.png"
fraction = float(sys.argv[2]) if len(sys.argv) > 2 else 1.0
grid = kelvo.Grid.load(os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../Grids/square_cylinder.grid"))
rows = [(60, 490, 40000), (80, 653, 52000), (100, 817, 65000), (120, 980, 78000), (150, 1225, 97000)]


def run(row):
    re_d, re, steps = row
    # Central convection and dt auto as in the table; one pressure thread
    # each, since two runs share the machine.
    sim = kelvo.Simulation(grid, re=re, dt="auto", method="central", pressure="multigrid", threads=1)
    sim.step(max(1, round(steps * fraction)))
    return sim.time, sim.summary()["bodies"][0]   # the obstacle: bodies come largest first


with ThreadPoolExecutor(max_workers=2) as pool:   # steps release the GIL
    results = list(pool.map(run, rows))

print("| Re_D | re (grid) | time | St | mean C_D | C_L amplitude |")
for (re_d, re, _), (time, body) in zip(rows, results):
    st = "none (steady)" if body["strouhal"] is None else f"{body['strouhal']:.3f}"
    print(f"| {re_d} | {re} | {time:.1f} | {st} | {body['cd_mean']:.3f} | {body['cl_amplitude']:.3f} |")

shedding = [(row[0], body["strouhal"]) for row, (_, body) in zip(rows, results) if body["strouhal"] is not None]
plt.plot([r for r, _ in shedding], [s for _, s in shedding], "o-")
plt.title("Square obstacle in a channel: Strouhal number")
plt.xlabel("Re_D")
plt.ylabel("St = f D / U")
plt.grid(True)
plt.savefig(out, dpi=100)
