#!/usr/bin/env python3
"""Observed order of the lid-driven cavity's centre lines under refinement.

    convergence.py WORK_DIR RE SCHEME:CELLS[:faces] ... > convergence.dat

Reads WORK_DIR/SCHEME-CELLS-RE.csv for each case (measure.sh writes them),
takes u on x = 1/2 and v on y = 1/2 at 31 points 1/32 apart, and compares
each case with the last one given (the finest of its method): prints
"cells du dv" per case but the last, then the observed orders between
successive grids as comments. ':faces' marks a method whose walls sit on the
cell faces (see compare_ghia.py).
"""
import math
import sys

from compare_ghia import centre_lines, interpolate, read_dump

POINTS = [k / 32 for k in range(1, 32)]


def profile(path, faces):
    n, u, v = read_dump(path)
    return n, centre_lines(n, u, v, faces)


def main():
    work, re = sys.argv[1], sys.argv[2]
    cases = []
    for case in sys.argv[3:]:
        method, cells, *walls = case.split(':')
        faces = walls == ['faces']
        cases.append(profile(f"{work}/{method}-{cells}-{re}.csv", faces))
    _, (fy, fu, fx, fv) = cases[-1]
    rows = []
    for n, (ys, us, xs, vs) in cases[:-1]:
        du = max(abs(interpolate(ys, us, p) - interpolate(fy, fu, p)) for p in POINTS)
        dv = max(abs(interpolate(xs, vs, p) - interpolate(fx, fv, p)) for p in POINTS)
        rows.append((n, du, dv))
        print(f"{n} {du:.6g} {dv:.6g}")
    for (n1, u1, v1), (n2, u2, v2) in zip(rows, rows[1:]):
        print(f"# order {n1} -> {n2}: u {math.log2(u1 / u2):.2f}, v {math.log2(v1 / v2):.2f}")


if __name__ == '__main__':
    main()
