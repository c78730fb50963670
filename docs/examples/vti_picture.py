#!/usr/bin/python3
"""Draws one cell array of a kelvo .vti file as a PNG picture, without a
display: each cell becomes a SCALE x SCALE block, the values run through a
blue-white-red scale symmetric about zero (or 0..max for arrays that are
never negative), and wall cells are drawn grey.

    vti_picture.py FILE.vti ARRAY OUT.png [SCALE] [LIMIT]
"""
import sys

import numpy
import vtk
from vtk.util.numpy_support import numpy_to_vtk, vtk_to_numpy

WALL_BITS = 0x00E  # cell_type holds the flag word: moving, slip, no-slip wall


def read_cells(path):
    reader = vtk.vtkXMLImageDataReader()
    reader.SetFileName(path)
    reader.Update()
    image = reader.GetOutput()
    nx, ny, _ = image.GetDimensions()
    return image.GetCellData(), nx - 1, ny - 1


def colours(values, limit):
    """Blue (-limit) through white (0) to red (+limit)."""
    s = numpy.clip(values / limit, -1.0, 1.0)
    rgb = numpy.empty(values.shape + (3,))
    rgb[..., 0] = numpy.where(s < 0, 1.0 + s, 1.0)
    rgb[..., 1] = 1.0 - numpy.abs(s)
    rgb[..., 2] = numpy.where(s > 0, 1.0 - s, 1.0)
    return (rgb * 255.0 + 0.5).astype(numpy.uint8)


def main(argv):
    path, name, out = argv[1], argv[2], argv[3]
    scale = int(argv[4]) if len(argv) > 4 else 4
    cells, nx, ny = read_cells(path)
    values = vtk_to_numpy(cells.GetArray(name)).reshape(ny, nx)
    walls = (vtk_to_numpy(cells.GetArray("cell_type")).reshape(ny, nx) & WALL_BITS) != 0
    fluid = values[~walls]
    limit = float(argv[5]) if len(argv) > 5 else float(numpy.percentile(numpy.abs(fluid), 99))
    rgb = colours(values, max(limit, 1e-12))
    rgb[walls] = (128, 128, 128)
    rgb = rgb.repeat(scale, axis=0).repeat(scale, axis=1)
    picture = vtk.vtkImageData()
    picture.SetDimensions(rgb.shape[1], rgb.shape[0], 1)
    data = numpy_to_vtk(rgb.reshape(-1, 3), deep=True, array_type=vtk.VTK_UNSIGNED_CHAR)
    picture.GetPointData().SetScalars(data)
    writer = vtk.vtkPNGWriter()
    writer.SetFileName(out)
    writer.SetInputData(picture)
    writer.Write()
    print(f"{out}: {name} of {nx} x {ny} cells, colour limit {limit:.3g}")


if __name__ == "__main__":
    main(sys.argv)
