"""Two-dimensional incompressible viscous flow, as the kelvo programs compute it.

Arrays are indexed [i, j]: i west to east, j south to north, the border ring
included. Lengths are domain units: the domain is 1 high.
"""
from typing import Callable, Dict, List, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str

cell_types: Dict[str, int]
"""Each cell type's name and its bit in a cell's flag word."""
FLUID: int
SLIP_WALL: int
NOSLIP_WALL: int
MOVING_WALL: int
INFLOW: int
OUTFLOW: int
EAST: int
WEST: int
NORTH: int
SOUTH: int
TYPE_MASK: int
"""The type bits of a flag word (without the direction bits)."""

class BlowUpError(RuntimeError):
    """The flow blew up; the message is the simulation window's."""

class Grid:
    """A set-up: cells, velocities, pressure and the settings a grid file carries.

    The arrays are writable views of the grid itself."""

    def __init__(self, nx: int, ny: int) -> None:
        """An all-fluid grid of nx x ny cells (3..1024 x 3..512)."""
    @staticmethod
    def load(path: str) -> "Grid":
        """Reads a grid file; OSError when unreadable, ValueError when not valid."""
    @staticmethod
    def from_picture(path: str, nx: int, ny: int) -> "Grid":
        """A grid sampled from a PNG, BMP, GIF or JPEG picture as the editor imports it."""
    def save(self, path: str) -> None:
        """Writes the grid and its settings as a grid file."""
    def set_cell(self, i: int, j: int, cell_type: int) -> None:
        """Sets one cell as the editor does (border inflow and outflow get their direction)."""
    def copy(self) -> "Grid":
        """A deep copy."""
    @property
    def nx(self) -> int: ...
    @property
    def ny(self) -> int: ...
    @property
    def dx(self) -> float: ...
    @property
    def dy(self) -> float: ...
    re: float
    """The file's Reynolds number; a Simulation not given re= clamps it into 10..2000."""
    default_u: float
    """The file's default x velocity; a Simulation not given default_u= rounds it to 0..100."""
    default_v: float
    """The file's default y velocity; a Simulation not given default_v= rounds it to 0..100."""
    @property
    def cells(self) -> npt.NDArray[np.int32]:
        """Flag word of each cell, [i, j]."""
    @property
    def u(self) -> npt.NDArray[np.float64]:
        """x velocity on the east face of each cell."""
    @property
    def v(self) -> npt.NDArray[np.float64]:
        """y velocity on the north face of each cell."""
    @property
    def p(self) -> npt.NDArray[np.float64]:
        """Pressure at each cell centre."""

TimeStep = Union[float, str]
Progress = Callable[[int, float], Optional[bool]]

class Simulation:
    """One run of the solver, as kelvo-batch runs it (the same bits)."""

    def __init__(
        self,
        grid: Grid,
        *,
        re: Optional[float] = None,
        dt: Optional[TimeStep] = None,
        method: Optional[str] = None,
        pressure: Optional[str] = None,
        threads: int = 0,
        default_u: Optional[float] = None,
        default_v: Optional[float] = None,
        initial_field: Optional[str] = None,
        probes: Sequence[Tuple[float, float]] = (),
        history: bool = True,
    ) -> None:
        """Copies the grid, writes the default velocities and takes the build step."""
    @staticmethod
    def restart(
        path: str,
        *,
        re: Optional[float] = None,
        dt: Optional[TimeStep] = None,
        method: Optional[str] = None,
        pressure: Optional[str] = None,
        threads: int = 0,
        probes: Sequence[Tuple[float, float]] = (),
        history: bool = True,
    ) -> "Simulation":
        """Continues a run saved by save_state or kelvo-batch --save-state."""
    def step(self, n: int = 1) -> None:
        """Takes n steps without the GIL; BlowUpError when the flow blows up."""
    def run(
        self,
        *,
        until_steady: Optional[float] = None,
        until_time: Optional[float] = None,
        steps: Optional[int] = None,
        progress: Optional[Progress] = None,
        progress_every: int = 100,
    ) -> str:
        """Steps until steady, a time or a step count; returns why it stopped."""
    @property
    def cells(self) -> npt.NDArray[np.int32]:
        """The solver's flag words: a read-only view."""
    @property
    def u(self) -> npt.NDArray[np.float64]:
        """The solver's u (east faces): a read-only view, no copy."""
    @property
    def v(self) -> npt.NDArray[np.float64]:
        """The solver's v (north faces): a read-only view, no copy."""
    @property
    def p(self) -> npt.NDArray[np.float64]:
        """The solver's p (centres): a read-only view, no copy."""
    @property
    def vorticity(self) -> npt.NDArray[np.float64]:
        """Vorticity at the cell centres: computed, a new array."""
    @property
    def centre_u(self) -> npt.NDArray[np.float64]:
        """u at the cell centres: computed, a new array."""
    @property
    def centre_v(self) -> npt.NDArray[np.float64]:
        """v at the cell centres: computed, a new array."""
    @property
    def speed(self) -> npt.NDArray[np.float64]:
        """Speed at the cell centres: computed, a new array."""
    @property
    def time(self) -> float: ...
    @property
    def steps(self) -> int: ...
    @property
    def dt(self) -> float: ...
    @property
    def settings(self) -> Dict[str, Union[float, int, str]]: ...
    @property
    def history(self) -> Dict[str, npt.NDArray[np.float64]]:
        """kelvo-batch --history's columns, one entry per step: a copy."""
    def forces(self) -> List[Dict[str, Union[str, int, bool, float]]]:
        """Force and coefficients of each body now."""
    def probe(self, x: float, y: float) -> Tuple[float, float, float]:
        """(u, v, p) at a point, domain units."""
    def summary(self) -> dict:
        """kelvo-batch --summary-json's summary: means, amplitudes, Strouhal number."""
    def save_state(self, path: str) -> None: ...
    def write_vtk(self, directory: str) -> str: ...
    def picture(
        self,
        *,
        size: int = 4,
        boundary: bool = True,
        streamlines: bool = True,
        u: bool = False,
        v: bool = False,
        p: bool = False,
        vectors: bool = False,
        colour_map: Optional[str] = None,
        range: Optional[Tuple[float, float]] = None,
    ) -> npt.NDArray[np.uint8]:
        """The rendered picture, (height, width, 3), top row first."""
    def save_png(
        self,
        path: str,
        *,
        size: int = 4,
        boundary: bool = True,
        streamlines: bool = True,
        u: bool = False,
        v: bool = False,
        p: bool = False,
        vectors: bool = False,
        colour_map: Optional[str] = None,
        range: Optional[Tuple[float, float]] = None,
    ) -> None: ...
