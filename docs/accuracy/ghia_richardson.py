#!/usr/bin/env python3
"""The grid-converged Re 100 cavity against Ghia's table and a finer reference.

    ghia_richardson.py WORK_DIR COARSE MEDIUM FINE

Reads WORK_DIR/rk3-CELLS-100.csv for three grids, each with twice the cavity
cells of the one before (e.g. 66 130 258), and prints, at each of Ghia's
points (Tables I and II), the values on the two finer grids, the observed
order from all three, the Richardson value for second order,
f = f_fine + (f_fine - f_medium) / 3, and its distance from Ghia's number.
Then the extremes of the centre lines (parabola through the three values
around the extreme grid value), extrapolated alike, against those of
C. H. Marchi, R. Suero, L. K. Araki, J. Braz. Soc. Mech. Sci. & Eng. 31
(2009) 186-198 (1024 x 1024 finite volumes with repeated Richardson
extrapolation): u_min -0.2140424 at y 0.4581, v_max 0.1795728 at x 0.2370,
v_min -0.2538030 at x 0.8104.
"""
import math
import sys

from compare_ghia import GHIA_U, GHIA_V, GHIA_X, GHIA_Y, centre_lines, interpolate, read_dump, vertex_offset

MARCHI = {'u_min': (-0.2140424, 0.4581), 'v_max': (0.1795728, 0.2370), 'v_min': (-0.2538030, 0.8104)}


def extreme(positions, values, sign):
    """The extreme of sign * value: position and value of the parabola's vertex."""
    k = max(range(1, len(values) - 1), key=lambda m: sign * values[m])
    a, b, c = values[k - 1], values[k], values[k + 1]
    t = vertex_offset(a, b, c)
    h = positions[k + 1] - positions[k]
    return positions[k] + t * h, b + 0.25 * (c - a) * t


def richardson(coarse, medium, fine):
    order = float('nan')
    if (medium - fine) != 0 and (coarse - medium) / (medium - fine) > 0:
        order = math.log2((coarse - medium) / (medium - fine))
    return order, fine + (fine - medium) / 3.0


def main():
    work = sys.argv[1]
    lines = []
    for cells in sys.argv[2:5]:
        n, u, v = read_dump(f"{work}/rk3-{cells}-100.csv")
        lines.append(centre_lines(n, u, v, True))
    names = sys.argv[2:5]
    print(f"line point Ghia {names[1]} {names[2]} order Richardson Richardson-Ghia")
    for label, points, table, pick in (('u', GHIA_Y, GHIA_U[100], 0), ('v', GHIA_X, GHIA_V[100], 2)):
        for p, g in zip(points, table):
            if p in (0.0, 1.0):
                continue
            f = [interpolate(line[pick], line[pick + 1], p) for line in lines]
            order, extrapolated = richardson(*f)
            print(f"{label} {p:.4f} {g:+.5f} {f[1]:+.5f} {f[2]:+.5f} {order:5.2f} {extrapolated:+.5f} "
                  f"{extrapolated - g:+.5f}")
    for name, pick, sign in (('u_min', 0, -1), ('v_max', 2, 1), ('v_min', 2, -1)):
        found = [extreme(line[pick][1:-1], line[pick + 1][1:-1], sign) for line in lines]
        _, value = richardson(*(f[1] for f in found))
        _, where = richardson(*(f[0] for f in found))
        published, at = MARCHI[name]
        print(f"{name}: {' '.join(f'{v:+.5f} at {x:.4f}' for x, v in found)}; Richardson {value:+.5f} at "
              f"{where:.4f}; Marchi et al. {published:+.7f} at {at:.4f}, off {value - published:+.5f}")


if __name__ == '__main__':
    main()
