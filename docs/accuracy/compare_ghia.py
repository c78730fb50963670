#!/usr/bin/env python3
"""Compares kelvo-batch dumps of the lid-driven cavity with Ghia, Ghia & Shin.

    compare_ghia.py [--faces] RE DUMP.csv [PROFILE.dat]

Prints the largest deviation of u on the vertical and of v on the horizontal
centre line from the published points, and the primary vortex centre (the
minimum of the stream function). With PROFILE.dat, writes y and u on the
vertical centre line for plotting.

Cavity coordinates: with the forward-Euler schemes the no-slip value of a
tangential velocity sits at the centre of a wall cell, so the cavity runs
from the centre of the first wall cell to the centre of the last one,
(N - 1) cells, and is scaled to 1: a u value in row j lies at
y = j / (N - 1), a v value in column i at x = i / (N - 1). With --faces (the
rk3 method) the walls sit on the faces of the wall cells: the cavity is
N - 2 cells, a u value in row j lies at y = (j - 1/2) / (N - 2) and a v
value in column i at x = (i - 1/2) / (N - 2). The lid speed is 1. The
program's domain is N cells = 1 high, so its Reynolds number U * 1 / nu is
N / (N - 1), or N / (N - 2) with --faces, times the cavity's.

Published values: U. Ghia, K. N. Ghia, C. T. Shin, J. Comput. Phys. 48
(1982) 387-411, Table I (u on the vertical line through the centre), Table II
(v on the horizontal line through the centre), Table III (primary vortex).
"""
import sys

GHIA_Y = [1.0000, 0.9766, 0.9688, 0.9609, 0.9531, 0.8516, 0.7344, 0.6172, 0.5000,
          0.4531, 0.2813, 0.1719, 0.1016, 0.0703, 0.0625, 0.0547, 0.0000]
GHIA_U = {
    100: [1.00000, 0.84123, 0.78871, 0.73722, 0.68717, 0.23151, 0.00332, -0.13641, -0.20581,
          -0.21090, -0.15662, -0.10150, -0.06434, -0.04775, -0.04192, -0.03717, 0.00000],
    400: [1.00000, 0.75837, 0.68439, 0.61756, 0.55892, 0.29093, 0.16256, 0.02135, -0.11477,
          -0.17119, -0.32726, -0.24299, -0.14612, -0.10338, -0.09266, -0.08186, 0.00000],
    1000: [1.00000, 0.65928, 0.57492, 0.51117, 0.46604, 0.33304, 0.18719, 0.05702, -0.06080,
           -0.10648, -0.27805, -0.38289, -0.29730, -0.22220, -0.20196, -0.18109, 0.00000],
}
GHIA_X = [1.0000, 0.9688, 0.9609, 0.9531, 0.9453, 0.9063, 0.8594, 0.8047, 0.5000,
          0.2344, 0.2266, 0.1563, 0.0938, 0.0781, 0.0703, 0.0625, 0.0000]
GHIA_V = {
    100: [0.00000, -0.05906, -0.07391, -0.08864, -0.10313, -0.16914, -0.22445, -0.24533, 0.05454,
          0.17527, 0.17507, 0.16077, 0.12317, 0.10890, 0.10091, 0.09233, 0.00000],
    400: [0.00000, -0.12146, -0.15663, -0.19254, -0.22847, -0.23827, -0.44993, -0.38598, 0.05186,
          0.30174, 0.30203, 0.28124, 0.22965, 0.20920, 0.19713, 0.18360, 0.00000],
    1000: [0.00000, -0.21388, -0.27669, -0.33714, -0.39188, -0.51550, -0.42665, -0.31966, 0.02526,
           0.32235, 0.33075, 0.37095, 0.32627, 0.30353, 0.29012, 0.27485, 0.00000],
}
# Table II's Re 400 value at x = 0.9063 breaks the run of its neighbours
# (-0.22847 at 0.9453, -0.44993 at 0.8594); it is reported apart.
SUSPECT_V = {400: 0.9063}
# Table III: the primary vortex (x, y).
GHIA_CENTRE = {100: (0.6172, 0.7344), 400: (0.5547, 0.6055), 1000: (0.5313, 0.5625)}


def read_dump(path):
    u, v = {}, {}
    n = 0
    with open(path) as f:
        for line in f:
            fields = line.split(',')
            if not fields[0].strip().lstrip('-').isdigit():
                continue
            i, j = int(fields[0]), int(fields[1])
            u[i, j], v[i, j] = float(fields[3]), float(fields[4])
            n = max(n, i + 1)
    return n, u, v


def interpolate(xs, ys, x):
    for k in range(len(xs) - 1):
        if xs[k] <= x <= xs[k + 1]:
            t = (x - xs[k]) / (xs[k + 1] - xs[k])
            return ys[k] + t * (ys[k + 1] - ys[k])
    raise ValueError(x)


def vertex_offset(a, b, c):
    """Offset of the extremum of the parabola through (-1, a), (0, b), (1, c)."""
    d = a - 2 * b + c
    return 0.0 if d == 0 else 0.5 * (a - c) / d


def vortex_centre(n, u, faces):
    # psi at the cell corners, zero on the bottom wall, summed up each column.
    first, size = (1, n - 2) if faces else (0, n - 1)
    lowest = 1 if faces else 0
    psi = {}
    for i in range(first, n - 1 if faces else n - 1):
        total = 0.0
        for j in range(1, n - 1):
            total += u[i, j] / size
            psi[i, j] = total
    (i, j) = min(psi, key=psi.get)
    di = vertex_offset(psi[i - 1, j], psi[i, j], psi[i + 1, j])
    dj = vertex_offset(psi[i, j - 1], psi[i, j], psi[i, j + 1])
    if faces:
        return (i + di) / size, (j + dj) / size, psi[i, j]
    return (i + 0.5 + di) / size, (j + 0.5 + dj) / size, psi[i, j]


def centre_lines(n, u, v, faces):
    """The positions and values of u on x = 1/2 and of v on y = 1/2."""
    if not faces:
        middle = n // 2 - 1
        ys = [j / (n - 1) for j in range(n)]
        xs = [i / (n - 1) for i in range(n)]
        return ys, [u[middle, j] for j in range(n)], xs, [v[i, middle] for i in range(n)]
    m = n - 2
    ys = [0.0] + [(j - 0.5) / m for j in range(1, n - 1)] + [1.0]
    us = [0.0] + [u[m // 2, j] for j in range(1, n - 1)] + [1.0]
    vs = [0.0] + [v[i, m // 2] for i in range(1, n - 1)] + [0.0]
    return ys, us, ys, vs


def main():
    args = sys.argv[1:]
    faces = args[0] == '--faces'
    if faces:
        args = args[1:]
    re, path = int(args[0]), args[1]
    n, u, v = read_dump(path)
    ys, us, xs, vs = centre_lines(n, u, v, faces)
    du = max(abs(interpolate(ys, us, y) - g) for y, g in zip(GHIA_Y, GHIA_U[re]))
    dv = max(abs(interpolate(xs, vs, x) - g) for x, g in zip(GHIA_X, GHIA_V[re])
             if x != SUSPECT_V.get(re))
    suspect = ""
    if re in SUSPECT_V:
        x = SUSPECT_V[re]
        suspect = f" (at x = {x}: {abs(interpolate(xs, vs, x) - GHIA_V[re][GHIA_X.index(x)]):.4f})"
    cx, cy, psi = vortex_centre(n, u, faces)
    gx, gy = GHIA_CENTRE[re]
    print(f"Re {re} on {n} x {n}: u within {du:.4f}, v within {dv:.4f}{suspect}, "
          f"vortex centre ({cx:.4f}, {cy:.4f}) [{abs(cx - gx):.4f}, {abs(cy - gy):.4f} off], psi {psi:.5f}")
    if len(args) > 2:
        with open(args[2], 'w') as out:
            for y, value in zip(ys, us):
                out.write(f"{y:.6f} {value:.6f}\n")


if __name__ == "__main__":
    main()
