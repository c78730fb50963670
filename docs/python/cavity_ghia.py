#!/usr/bin/python3
"""u on the vertical centre line of the lid-driven cavity at Re 1000, for the
four methods, against Ghia, Ghia and Shin: the README's figure
docs/images/cavity_centre_line_re1000.png, drawn from Python.

    cavity_ghia.py [OUT.png [CELLS [MAX_STEPS]]]

CELLS defaults to 130 and MAX_STEPS to 60000 (each method runs until no u or
v changes by more than 1e-6 in a step); the tests run it on 18 cells.
Lengths are the cavity's: rk3 holds the walls on the cell faces, so its
cavity is CELLS - 2 cells and its program Re is 1000 CELLS / (CELLS - 2);
the forward-Euler methods hold them at the wall cells' centres, CELLS - 1
cells apart, and take Re 1000 as it is (docs/accuracy/compare_ghia.py).
"""
import sys

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import kelvo

# U. Ghia, K. N. Ghia, C. T. Shin, J. Comput. Phys. 48 (1982) 387-411,
# Table I: u on the vertical line through the centre, Re 1000.
GHIA_Y = [1.0000, 0.9766, 0.9688, 0.9609, 0.9531, 0.8516, 0.7344, 0.6172, 0.5000,
          0.4531, 0.2813, 0.1719, 0.1016, 0.0703, 0.0625, 0.0547, 0.0000]
GHIA_U = [1.00000, 0.65928, 0.57492, 0.51117, 0.46604, 0.33304, 0.18719, 0.05702, -0.06080,
          -0.10648, -0.27805, -0.38289, -0.29730, -0.22220, -0.20196, -0.18109, 0.00000]

out = sys.argv[1] if len(sys.argv) > 1 else "cavity_centre_line_re1000.png"
n = int(sys.argv[2]) if len(sys.argv) > 2 else 130
max_steps = int(sys.argv[3]) if len(sys.argv) > 3 else 60000

# No-slip walls round the grid; the north wall moves east at speed 1.
grid = kelvo.Grid(n, n)
grid.cells[[0, -1], :] = kelvo.NOSLIP_WALL
grid.cells[:, [0, -1]] = kelvo.NOSLIP_WALL
grid.cells[1:-1, -1] = kelvo.MOVING_WALL
grid.u[1:-1, -1] = 1.0

for method, style in [("rk3", "-"), ("central", "-"), ("blended", "-"), ("designed", "--")]:
    faces = method == "rk3"
    sim = kelvo.Simulation(grid, re=1000 * n / (n - 2) if faces else 1000, dt="auto", method=method)
    stopped = sim.run(until_steady=1e-6, steps=max_steps)
    if faces:   # u of the middle column, between the wall faces
        y = np.r_[0.0, (np.arange(1, n - 1) - 0.5) / (n - 2), 1.0]
        u = np.r_[0.0, sim.u[(n - 2) // 2, 1:-1], 1.0]
    else:       # u of the column left of the middle, wall centre to wall centre
        y = np.arange(n) / (n - 1)
        u = sim.u[n // 2 - 1, :]
    off = np.max(np.abs(np.interp(GHIA_Y[::-1], y, u) - GHIA_U[::-1]))
    print(f"{method}: {sim.steps} steps ({stopped}), u within {off:.4f} of Ghia's points")
    plt.plot(u, y, style, lw=3 if faces else 2, label=method + (" (default)" if faces else ""))

plt.plot(GHIA_U, GHIA_Y, "ko", label="Ghia, Ghia and Shin (1982)")
plt.title(f"Lid-driven cavity, Re 1000, {n} x {n} cells: u on x = 1/2")
plt.xlabel("u / lid speed")
plt.ylabel("y")
plt.xlim(-0.5, 1.05)
plt.ylim(0, 1)
plt.grid(True)
plt.legend(loc="upper left")
plt.savefig(out, dpi=100)
