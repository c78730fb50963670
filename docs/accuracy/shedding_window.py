#!/usr/bin/env python3
"""Strouhal number and mean drag of a shedding body over a window of time.

    shedding_window.py HISTORY.csv D_OVER_H T_FROM [T_TO] [BODY]

HISTORY.csv is kelvo-batch's --history; D_OVER_H the body's side over the
domain height (the program's unit of length), so St = f D / U with U = 1;
BODY the column prefix (body1). The window is cut to whole lift periods:
from the first upward crossing of the lift through its mean after T_FROM to
the last one before T_TO. Prints the periods, St and the mean C_D and C_L
over them (trapezoidal in t), and the lift amplitude (half its range).
"""
import sys


def read(path, body):
    with open(path) as f:
        header = f.readline().strip().split(',')
        t_col, cd_col, cl_col = header.index('t'), header.index(body + '_cd'), header.index(body + '_cl')
        rows = []
        for line in f:
            fields = line.split(',')
            if len(fields) < len(header):  # a run still writing its last line
                break
            rows.append((float(fields[t_col]), float(fields[cd_col]), float(fields[cl_col])))
    return rows


def mean(rows, column, t0, t1):
    """Trapezoidal mean of a column over [t0, t1], the ends interpolated."""
    total = 0.0
    for (ta, *a), (tb, *b) in zip(rows, rows[1:]):
        lo, hi = max(ta, t0), min(tb, t1)
        if hi <= lo:
            continue
        fa = a[column] + (b[column] - a[column]) * (lo - ta) / (tb - ta)
        fb = a[column] + (b[column] - a[column]) * (hi - ta) / (tb - ta)
        total += 0.5 * (fa + fb) * (hi - lo)
    return total / (t1 - t0)


def up_crossings(rows, level, t0, t1):
    times = []
    for (ta, _, la), (tb, _, lb) in zip(rows, rows[1:]):
        if la < level <= lb and t0 <= ta and tb <= t1:
            times.append(ta + (level - la) / (lb - la) * (tb - ta))
    return times


def main():
    path, d_over_h, t_from = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
    rows = read(path, sys.argv[5] if len(sys.argv) > 5 else 'body1')
    t_to = float(sys.argv[4]) if len(sys.argv) > 4 else rows[-1][0]
    level = mean(rows, 1, t_from, t_to)
    # Once more with the mean over whole periods, which the first cut gives.
    crossings = up_crossings(rows, level, t_from, t_to)
    level = mean(rows, 1, crossings[0], crossings[-1])
    crossings = up_crossings(rows, level, t_from, t_to)
    t0, t1 = crossings[0], crossings[-1]
    periods = len(crossings) - 1
    f = periods / (t1 - t0)
    lifts = [r[2] for r in rows if t0 <= r[0] <= t1]
    print(f"window {t0:.3f} .. {t1:.3f}: {periods} periods, f {f:.4f}, St {f * d_over_h:.4f}, "
          f"C_D {mean(rows, 0, t0, t1):.4f}, C_L {mean(rows, 1, t0, t1):+.4f}, "
          f"lift amplitude {0.5 * (max(lifts) - min(lifts)):.4f}")


if __name__ == '__main__':
    main()
