"""Two-dimensional incompressible viscous flow, as the kelvo programs compute it.

Arrays are indexed [i, j]: i west to east, j south to north, the border ring
included. Lengths are domain units: the domain is 1 high.
"""
from typing import Callable, Dict, List, Optional, Sequence, Tuple, Union, overload

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

class Body:
    """A body's exact outline, domain units; a NACA section is kept as a polygon."""

    def __init__(self, text: str) -> None:
        """From kelvo-batch's --body text: 'circle:X,Y,R', 'polygon:X1,Y1;X2,Y2;...',
        'naca:DIGITS,X,Y,CHORD,ANGLE'; ValueError with kelvo-batch's message."""
    @property
    def shape(self) -> str:
        """'circle' or 'polygon'."""
    @property
    def centre(self) -> Tuple[float, float]: ...
    @property
    def radius(self) -> float: ...
    @property
    def corners(self) -> List[Tuple[float, float]]: ...
    def distance(self, x: float, y: float) -> float:
        """Distance from (x, y) to the outline, negative inside."""

def Circle(x: float, y: float, r: float) -> Body:
    """A circular body: --body circle:X,Y,R."""
def Polygon(corners: Sequence[Tuple[float, float]]) -> Body:
    """A polygonal body of three or more corners: --body polygon."""
def Naca(digits: str, x: float, y: float, chord: float, angle: float) -> Body:
    """A NACA four-digit section, (x, y) its leading edge, angle in degrees: --body naca."""

class Emitter:
    """A tracer-particle source: a point or a segment releasing every `every` steps (0: once)."""

    @overload
    def __init__(self, text: str) -> None:
        """From kelvo-batch's --emitter text 'X1,Y1[,X2,Y2][:EVERY]'."""
    @overload
    def __init__(self, x1: float, y1: float, x2: Optional[float] = None, y2: Optional[float] = None,
                 every: int = 5) -> None: ...
    @staticmethod
    def timeline(x1: float, y1: float, x2: float, y2: float) -> "Emitter":
        """A line of particles released once: --timeline X1,Y1,X2,Y2."""
    @property
    def x1(self) -> float: ...
    @property
    def y1(self) -> float: ...
    @property
    def x2(self) -> float: ...
    @property
    def y2(self) -> float: ...
    @property
    def every(self) -> int: ...
    @property
    def colour(self) -> int: ...

BodyLike = Union[Body, str]
EmitterLike = Union[Emitter, str]

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
    @property
    def bodies(self) -> List[Body]:
        """The bodies with exact outlines: copies."""
    def add_body(self, body: BodyLike) -> None:
        """Draws a body as --body does; the cells it covers become walls."""
    @property
    def emitters(self) -> List[Emitter]:
        """The particle emitters: copies."""
    def add_emitter(self, emitter: EmitterLike) -> None:
        """Adds an emitter after the grid's own, as --emitter does."""
    heat: bool
    """Whether the grid carries heat; switching it off keeps the arrays."""
    dye: bool
    """Whether the grid carries dye."""
    @property
    def fixed_temperature(self) -> Optional[npt.NDArray[np.uint8]]:
        """1 where a wall holds its temperature: a writable view, None without heat."""
    @property
    def T(self) -> Optional[npt.NDArray[np.float64]]:
        """Temperature at each cell centre: a writable view, None without heat."""
    @property
    def c(self) -> Optional[npt.NDArray[np.float64]]:
        """Dye concentration at each cell centre: a writable view, None without dye."""
    prandtl: float
    """Heat's Prandtl number; setting it switches heat on."""
    rayleigh: float
    """Heat's Rayleigh number; setting it switches heat on."""
    gravity: str
    """'down', 'up', 'west' or 'east'; setting it switches heat on."""
    schmidt: float
    """Dye's Schmidt number; setting it switches dye on."""
    dye_bands: int
    """Width in cells of the inflow's dye bands (0: none); setting it switches dye on."""

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
        prandtl: Optional[float] = None,
        rayleigh: Optional[float] = None,
        gravity: Optional[str] = None,
        schmidt: Optional[float] = None,
        dye_bands: Optional[int] = None,
        bodies: Sequence[BodyLike] = (),
        emitters: Sequence[EmitterLike] = (),
        timelines: Sequence[EmitterLike] = (),
        release_from_inflow: int = 0,
        particle_cap: int = 100000,
        particles_csv: Optional[str] = None,
    ) -> None:
        """Copies the grid, applies the set-up keywords as kelvo-batch's options of the same
        names, writes the default velocities and takes the build step."""
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
        bodies: Sequence[BodyLike] = (),
        emitters: Sequence[EmitterLike] = (),
        timelines: Sequence[EmitterLike] = (),
        release_from_inflow: int = 0,
        particle_cap: int = 100000,
        particles_csv: Optional[str] = None,
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
    def T(self) -> Optional[npt.NDArray[np.float64]]:
        """The solver's temperature: a read-only view, None without heat."""
    @property
    def c(self) -> Optional[npt.NDArray[np.float64]]:
        """The solver's dye: a read-only view, None without dye."""
    @property
    def particles(self) -> npt.NDArray[np.float64]:
        """The particles' (x, y), shape (n, 2): a copy on each read."""
    @property
    def particle_emitters(self) -> npt.NDArray[np.int32]:
        """Each particle's emitter index (-1 for none): a copy on each read."""
    def nusselt(self) -> List[Dict[str, Union[str, int, float]]]:
        """Mean Nusselt number of each group of walls holding one temperature, now."""
    def write_particles_csv(self, directory: str) -> str:
        """Writes the particles as the next particles_NNNNN.csv of directory; returns its path."""
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
    def forces(self) -> List[Dict[str, Union[str, int, bool, float, None]]]:
        """Force and coefficients of each body now; outline: the body's index, or None."""
    def probe(self, x: float, y: float) -> Tuple[float, float, float]:
        """(u, v, p) at a point, domain units."""
    def summary(self) -> dict:
        """kelvo-batch --summary-json's summary: means, amplitudes, Strouhal number, Nusselt
        numbers, and why the steps stopped."""
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
        cells: bool = False,
        particles: bool = False,
        colour_map: Optional[str] = None,
        range: Optional[Tuple[float, float]] = None,
    ) -> npt.NDArray[np.uint8]:
        """The rendered picture, (height, width, 3), top row first; drawn without the GIL."""
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
        cells: bool = False,
        particles: bool = False,
        colour_map: Optional[str] = None,
        range: Optional[Tuple[float, float]] = None,
    ) -> None: ...
