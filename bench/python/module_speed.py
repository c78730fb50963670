#!/usr/bin/python3
"""The module's cost against kelvo-batch's: 1000 steps of a 120 x 80 channel
with a square obstacle (the module's steps must stay within 3 % of
kelvo-batch's), and reading sim.u of a 1024 x 512 run (a view, well under a
millisecond). Best of REPEATS runs each, one solver thread, in CPU seconds
(the run's own: the grid read and the build step included on both sides),
which a machine busy with other work disturbs far less than the wall clock.

    PYTHONPATH=build bench/python/module_speed.py build/kelvo-batch [REPEATS]
"""
import os
import resource
import subprocess
import sys
import tempfile
import time

import kelvo

batch = sys.argv[1]
repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 3
steps = 1000


def channel(nx, ny):
    grid = kelvo.Grid(nx, ny)
    grid.cells[:, [0, -1]] = kelvo.NOSLIP_WALL
    for j in range(1, ny - 1):
        grid.set_cell(0, j, kelvo.INFLOW)
        grid.set_cell(nx - 1, j, kelvo.OUTFLOW)
    grid.u[0, 1:-1] = 1.0
    grid.cells[nx // 4:nx // 4 + ny // 8, ny // 2 - ny // 16:ny // 2 + ny // 16] = kelvo.NOSLIP_WALL
    grid.re, grid.default_u = 200, 1
    return grid


grid = channel(120, 80)
path = os.path.join(tempfile.mkdtemp(), "channel_120x80.grid")
grid.save(path)

def module_seconds(history):
    start = time.process_time()
    sim = kelvo.Simulation(kelvo.Grid.load(path), threads=1, history=history)
    sim.step(steps)
    return time.process_time() - start


def batch_seconds():
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([batch, path, "--steps", str(steps), "--threads", "1"], capture_output=True, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)


times = {"kelvo-batch": [], "module": [], "module, history=False": []}
for _ in range(repeats):
    times["kelvo-batch"].append(batch_seconds())
    times["module"].append(module_seconds(True))
    times["module, history=False"].append(module_seconds(False))
b = min(times["kelvo-batch"])
for name, seconds in times.items():
    print(f"120 x 80, {steps} steps, {name}: {min(seconds):.3f} CPU s ({100 * (min(seconds) / b - 1):+.1f} %)")

big = kelvo.Simulation(channel(1024, 512), threads=1, history=False)
reads = 1000
start = time.perf_counter()
for _ in range(reads):
    u = big.u
    u[512, 256]
print(f"1024 x 512, sim.u read: {1e6 * (time.perf_counter() - start) / reads:.1f} us")
