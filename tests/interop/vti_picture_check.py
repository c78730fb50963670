"""docs/examples/vti_picture.py on a field file of kelvo-batch: the picture
has the grid's cells times the scale, walls grey, and the colours of the
vorticity's sign where the flow turns.

usage: vti_picture_check.py KELVO_BATCH GRID_FILE PICTURE_SCRIPT WORK_DIRECTORY
"""
import os
import shutil
import subprocess
import sys

import vtk
from vtk.util.numpy_support import vtk_to_numpy

SCALE = 3


def main():
    batch, grid, script, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    subprocess.run([batch, grid, "--steps", "20", "--interval", "19", "--elements", "none",
                    "--vtk", os.path.join(work, "vtk")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    picture = os.path.join(work, "vorticity.png")
    subprocess.run([sys.executable, script, os.path.join(work, "vtk", "fields_00001.vti"), "vorticity", picture,
                    str(SCALE)], check=True, stdout=subprocess.DEVNULL, timeout=120)
    reader = vtk.vtkPNGReader()
    reader.SetFileName(picture)
    reader.Update()
    image = reader.GetOutput()
    width, height, _ = image.GetDimensions()
    if (width, height) != (40 * SCALE, 20 * SCALE):
        raise AssertionError(f"picture {width} x {height}, expected {40 * SCALE} x {20 * SCALE}")
    rgb = vtk_to_numpy(image.GetPointData().GetScalars()).reshape(height, width, -1)[:, :, :3]
    # Row 0 of VTK's image is the bottom: the south wall; the row above it
    # is fluid sheared by that wall (u grows upwards: clockwise, blue).
    if tuple(rgb[0, width // 2]) != (128, 128, 128):
        raise AssertionError(f"south wall drawn {tuple(rgb[0, width // 2])}")
    above_wall = rgb[SCALE, width // 2]
    if not (above_wall[2] > above_wall[0]):
        raise AssertionError(f"fluid over the south wall drawn {tuple(above_wall)}, expected blue")
    print(f"{width} x {height} picture; wall grey, sheared fluid blue")


if __name__ == "__main__":
    main()
