"""kelvo-batch --vtk read back with VTK's own XML reader.

Runs kelvo-batch with a frame every cycle, so that the last field file holds
the state of the CSV dump, then checks every cell of that file against the
dump (u and v at the cell centres from the faces, speed, p, the flag word),
and that the collection lists every file, each readable, at increasing
simulated times.

usage: vtk_readback.py KELVO_BATCH GRID_FILE WORK_DIRECTORY
"""
import csv
import math
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import vtk
from vtk.util.numpy_support import vtk_to_numpy

STEPS = 7
DT = 0.003


def run_batch(batch, grid, work):
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    subprocess.run([batch, grid, "--steps", str(STEPS), "--dt", str(DT), "--interval", "1",
                    "--vtk", os.path.join(work, "fields", "new"), "--dump-csv", os.path.join(work, "state.csv")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def read_image(path):
    reader = vtk.vtkXMLImageDataReader()
    reader.SetFileName(path)
    reader.Update()
    image = reader.GetOutput()
    if image is None or image.GetNumberOfCells() == 0:
        raise AssertionError(f"{path}: VTK read no cells")
    cells = image.GetCellData()
    arrays = {name: vtk_to_numpy(cells.GetArray(name)) for name in
              ("u", "v", "speed", "vorticity", "p", "cell_type")}
    return image, arrays


def read_dump(path):
    rows = {}
    with open(path, newline="") as dump:
        for row in csv.DictReader(dump):
            rows[int(row["i"]), int(row["j"])] = (int(row["flags"]), float(row["u"]), float(row["v"]),
                                                  float(row["p"]))
    return rows


def close(a, b):
    # Float64 in the file: equal to the dump's 17-digit doubles but for the
    # last bit of speed, where C's hypot and Python's may round differently.
    return math.isclose(a, b, rel_tol=1e-14, abs_tol=1e-300)


def check_last_frame(image, arrays, dump):
    nx = max(i for i, _ in dump) + 1
    ny = max(j for _, j in dump) + 1
    extent = image.GetExtent()
    if tuple(extent) != (0, nx, 0, ny, 0, 0):
        raise AssertionError(f"extent {extent}, expected 0 {nx} 0 {ny} 0 0")
    failures = []
    for (i, j), (flags, u, v, p) in dump.items():
        centre_u = 0.5 * (dump[i - 1, j][1] + u) if i > 0 else u
        centre_v = 0.5 * (dump[i, j - 1][2] + v) if j > 0 else v
        k = i + nx * j
        expected = {"u": centre_u, "v": centre_v, "speed": math.hypot(centre_u, centre_v), "p": p}
        for name, value in expected.items():
            if not close(float(arrays[name][k]), value):
                failures.append(f"cell {i},{j} {name}: file {arrays[name][k]!r}, dump {value!r}")
        if int(arrays["cell_type"][k]) != flags:
            failures.append(f"cell {i},{j} cell_type: file {arrays['cell_type'][k]}, dump {flags}")
    if failures:
        raise AssertionError("\n".join(failures[:20]))
    moving = sum(1 for k in range(len(arrays["u"])) if arrays["u"][k] != 0.0)
    if moving == 0:
        raise AssertionError("no cell moves: the comparison proved nothing")
    return nx * ny


def check_collection(directory):
    root = ElementTree.parse(os.path.join(directory, "fields.pvd")).getroot()
    if root.get("type") != "Collection":
        raise AssertionError("fields.pvd is not a collection")
    entries = [(float(d.get("timestep")), d.get("file")) for d in root.iter("DataSet")]
    if [name for _, name in entries] != [f"fields_{n:05d}.vti" for n in range(STEPS)]:
        raise AssertionError(f"collection lists {entries}")
    times = [time for time, _ in entries]
    if any(later <= earlier for earlier, later in zip(times, times[1:])):
        raise AssertionError(f"times do not increase: {times}")
    # The first frame follows the build step and one cycle.
    if not math.isclose(times[0], 2 * DT, rel_tol=1e-6):
        raise AssertionError(f"first time {times[0]}, expected about {2 * DT}")
    for _, name in entries:
        read_image(os.path.join(directory, name))
    return entries


def main():
    batch, grid, work = sys.argv[1:4]
    run_batch(batch, grid, work)
    directory = os.path.join(work, "fields", "new")
    entries = check_collection(directory)
    image, arrays = read_image(os.path.join(directory, entries[-1][1]))
    cells = check_last_frame(image, arrays, read_dump(os.path.join(work, "state.csv")))
    print(f"{len(entries)} field files read back; {cells} cells of the last one equal the CSV dump")


if __name__ == "__main__":
    main()
