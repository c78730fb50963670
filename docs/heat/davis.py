#!/usr/bin/python3
"""The heated-cavity figures of a kelvo-batch run beside de Vahl Davis (1983).

Usage: davis.py SUMMARY.json DUMP.csv RAYLEIGH PRANDTL REYNOLDS

de Vahl Davis, G. (1983), Natural convection of air in a square cavity: a
bench mark numerical solution, Int. J. Numer. Meth. Fluids 3, 249-264,
Table (benchmark solution), Pr 0.71: the mean Nusselt number of the hot
wall, the largest u on the vertical centre line and the largest v on the
horizontal one, in units of the thermal diffusivity over the side L.

The program's cavity is N - 2 cells wide (walls on the faces), so L is
s = (N - 2) / N of its unit length; its speeds are in units of U = Re nu / 1,
and U / (alpha / L) = Re Pr s. The u faces of column N/2 lie on the vertical
centre line, the v faces of row N/2 on the horizontal one; each largest
value is the peak of the parabola through the largest face value and its
two neighbours.
"""
import csv
import json
import sys

DAVIS = {  # Ra: (Nu mean, u max, v max)
    1e3: (1.118, 3.649, 3.697),
    1e4: (2.243, 16.178, 19.617),
    1e5: (4.519, 34.73, 68.59),
    1e6: (8.800, 64.63, 219.36),
}


def peak(values):
    k = max(range(len(values)), key=lambda n: values[n])
    if 0 < k < len(values) - 1:
        a, b, c = values[k - 1], values[k], values[k + 1]
        bend = a - 2 * b + c
        if bend < 0:
            return b - (a - c) ** 2 / (8 * bend)
    return values[k]


def main():
    summary, dump, rayleigh, prandtl, reynolds = sys.argv[1:6]
    rayleigh, prandtl, reynolds = float(rayleigh), float(prandtl), float(reynolds)
    nusselt = json.load(open(summary))["heated_walls"][0]["nusselt"]
    rows = list(csv.DictReader(open(dump)))
    n = max(int(r["i"]) for r in rows) + 1
    u = {(int(r["i"]), int(r["j"])): float(r["u"]) for r in rows}
    v = {(int(r["i"]), int(r["j"])): float(r["v"]) for r in rows}
    scale = reynolds * prandtl * (n - 2) / n
    mid = n // 2
    u_max = scale * peak([u[(mid, j)] for j in range(1, n - 1)])
    v_max = scale * peak([v[(i, mid)] for i in range(1, n - 1)])
    ref = DAVIS.get(rayleigh)
    for name, mine, k in (("Nu", nusselt, 0), ("u_max", u_max, 1), ("v_max", v_max, 2)):
        if ref:
            print("Ra %g %s %.4f  de Vahl Davis %.4g  %+.2f %%" % (rayleigh, name, mine, ref[k],
                                                                   100 * (mine / ref[k] - 1)))
        else:
            print("Ra %g %s %.4f" % (rayleigh, name, mine))


main()
