#!/usr/bin/python3
"""The differentially heated square cavity at Ra 10^4, Pr 0.71, built from
Python: the hot wall's mean Nusselt number against de Vahl Davis (1983), and
the temperature field as a figure.

    heated_cavity.py [OUT.png [CELLS]]

CELLS (default 34: 32 x 32 fluid cells, a few seconds) counts the walls.
The west wall holds T = 1, the east wall T = 0, floor and lid are
insulated. Lengths and Ra are on the inner height L of the cavity, L = (CELLS
- 2) / CELLS of the domain; re is the Reynolds number of the free-fall speed
on it, sqrt(Ra / Pr) / L^1.5 in the domain's units, as Grids/heated_cavity.grid
takes it.
"""
import sys

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import kelvo

# G. de Vahl Davis, Natural convection of air in a square cavity: a bench
# mark numerical solution, Int. J. Numer. Meth. Fluids 3 (1983) 249-264,
# the benchmark table: mean Nusselt number at Ra 10^4, Pr 0.71.
DAVIS_NUSSELT = 2.243
RAYLEIGH, PRANDTL = 1e4, 0.71

out = sys.argv[1] if len(sys.argv) > 1 else "heated_cavity.png"
n = int(sys.argv[2]) if len(sys.argv) > 2 else 34

grid = kelvo.Grid(n, n)
grid.cells[[0, -1], :] = kelvo.NOSLIP_WALL
grid.cells[:, [0, -1]] = kelvo.NOSLIP_WALL
grid.rayleigh = RAYLEIGH            # switches heat on, every wall insulated
grid.prandtl = PRANDTL
grid.fixed_temperature[[0, -1], :] = 1
grid.T[0, :], grid.T[-1, :] = 1.0, 0.0
grid.T[1:-1, 1:-1] = 0.5

inner = (n - 2) / n
sim = kelvo.Simulation(grid, re=np.sqrt(RAYLEIGH / (PRANDTL * inner**3)), dt="auto",
                       default_u=0, default_v=0, threads=1)
stopped = sim.run(until_steady=1e-8, steps=40000)
hot = next(wall for wall in sim.nusselt() if wall["temperature"] == 1.0)
off = 100 * (hot["nusselt"] / DAVIS_NUSSELT - 1)
print(f"{sim.steps} steps ({stopped}): Nu {hot['nusselt']:.4f}, de Vahl Davis {DAVIS_NUSSELT} ({off:+.2f} %)")

x = (np.arange(1, n - 1) + 0.5) / n       # the fluid cells' centres, walls left out
plt.contourf(x, x, sim.T[1:-1, 1:-1].T, levels=np.linspace(0, 1, 21), cmap="coolwarm")
plt.colorbar(label="T")
plt.gca().set_aspect("equal")
plt.title(f"Heated cavity, Ra 10^4, {n} x {n} cells: Nu {hot['nusselt']:.3f}")
plt.xlabel("x")
plt.ylabel("y")
plt.savefig(out, dpi=100)
