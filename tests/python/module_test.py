"""The module as a notebook uses it: arrays that are views, errors that are
exceptions with the program's messages, and steps that leave the
interpreter free.

    KELVO_BATCH=path/to/kelvo-batch KELVO_GRIDS=Grids python3 module_test.py
"""
import os
import subprocess
import tempfile
import threading
import unittest

import numpy as np

import kelvo

BATCH = os.environ["KELVO_BATCH"]
GRIDS = os.environ["KELVO_GRIDS"]


def cavity():
    return kelvo.Grid.load(os.path.join(GRIDS, "cavity.grid"))


class Views(unittest.TestCase):
    def test_simulation_fields_are_read_only_views_that_follow_the_run(self):
        sim = kelvo.Simulation(cavity())
        u = sim.u
        self.assertEqual(u.shape, (20, 20))
        self.assertFalse(u.flags.writeable)
        self.assertFalse(u.flags.owndata)
        self.assertTrue(np.shares_memory(u, sim.u))
        before = u.copy()
        sim.step(3)
        self.assertFalse(np.array_equal(before, u))       # the same memory, changed by the steps
        self.assertTrue(np.array_equal(u, sim.u))
        with self.assertRaises(ValueError):
            u[1, 1] = 0.0
        # A view keeps its run alive.
        p = kelvo.Simulation(cavity()).p
        self.assertTrue(np.isfinite(p).all())

    def test_grid_arrays_are_writable_views_of_the_grid(self):
        grid = kelvo.Grid(12, 6)
        self.assertEqual((grid.nx, grid.ny, grid.dx, grid.dy), (12, 6, 2 / 12, 1 / 6))
        self.assertTrue((grid.cells == kelvo.FLUID).all())
        grid.cells[:, 0] = kelvo.NOSLIP_WALL
        grid.set_cell(0, 3, kelvo.INFLOW)
        grid.u[0, 3] = 1.5
        self.assertEqual(grid.cells[0, 3], kelvo.INFLOW | kelvo.EAST)
        path = os.path.join(tempfile.mkdtemp(), "g.grid")
        grid.save(path)
        back = kelvo.Grid.load(path)
        self.assertTrue(np.array_equal(back.cells, grid.cells))
        self.assertEqual(back.u[0, 3], 1.5)
        # A Simulation copies its grid: writing the default velocities
        # leaves the caller's untouched.
        grid.default_u = 1.0
        kelvo.Simulation(grid)
        self.assertEqual(grid.u[5, 3], 0.0)

    def test_centre_values_are_computed_from_the_faces(self):
        sim = kelvo.Simulation(cavity())
        sim.step(5)
        u, v = sim.u, sim.v
        self.assertTrue(np.allclose(sim.centre_u[1:, :], 0.5 * (u[:-1, :] + u[1:, :])))
        self.assertTrue(np.allclose(sim.speed, np.hypot(sim.centre_u, sim.centre_v)))
        self.assertEqual(sim.vorticity.shape, u.shape)


class Errors(unittest.TestCase):
    def test_bad_values_raise_value_error_with_the_programs_messages(self):
        grid = cavity()
        cases = [(dict(method="upwind"), "method needs rk3, central, blended or designed, not 'upwind'"),
                 (dict(pressure="sor"), "pressure needs gauss-seidel or multigrid, not 'sor'"),
                 (dict(dt="fast"), "dt needs a finite number above 0 or 'auto', not 'fast'"),
                 (dict(dt=-1.0), "dt needs a finite number above 0"),
                 (dict(re=0.0), "re needs a finite number above 0"),
                 (dict(threads=9), "threads needs a whole number from 0"),
                 (dict(initial_field="zero"), "initial_field needs 'file' or 'default'")]
        for keywords, message in cases:
            with self.subTest(**keywords):
                with self.assertRaisesRegex(ValueError, "^" + message):
                    kelvo.Simulation(grid, **keywords)
        with self.assertRaisesRegex(ValueError, "a grid needs nx from 3 to 1024"):
            kelvo.Grid(2, 5)
        with self.assertRaisesRegex(ValueError, "run needs steps, until_steady or until_time"):
            kelvo.Simulation(grid).run()
        with self.assertRaises(TypeError):
            kelvo.Simulation(grid, 100)    # the options are keywords

    def test_files_raise_os_error_or_value_error(self):
        work = tempfile.mkdtemp()
        junk = os.path.join(work, "junk.grid")
        with open(junk, "w") as f:
            f.write("not a grid")
        with self.assertRaisesRegex(OSError, "cannot read grid file '/nonexistent.grid'"):
            kelvo.Grid.load("/nonexistent.grid")
        with self.assertRaisesRegex(ValueError, "is not a valid grid file"):
            kelvo.Grid.load(junk)
        with self.assertRaises(ValueError):
            kelvo.Simulation.restart(junk)
        with self.assertRaises(OSError):
            kelvo.Grid.from_picture(junk, 10, 10)
        with self.assertRaisesRegex(OSError, "cannot write"):
            kelvo.Simulation(cavity()).save_state("/nonexistent/dir/state")

    def test_blow_up_raises_with_the_message_kelvo_batch_prints(self):
        path = os.path.join(GRIDS, "channel.grid")
        done = subprocess.run([BATCH, path, "--convection", "central", "--dt", "0.5", "--steps", "50"],
                              capture_output=True, text=True)
        self.assertEqual(done.returncode, 3)
        printed = done.stderr.strip().splitlines()[-1].removeprefix("kelvo-batch: ")
        sim = kelvo.Simulation(kelvo.Grid.load(path), method="central", dt=0.5)
        with self.assertRaises(kelvo.BlowUpError) as raised:
            sim.step(50)
        self.assertEqual(str(raised.exception), printed)
        self.assertIsInstance(raised.exception, RuntimeError)
        with self.assertRaises(kelvo.BlowUpError):
            sim.step(1)   # a blown-up run takes no more steps


class Threads(unittest.TestCase):
    def test_steps_release_the_interpreter_and_two_runs_share_nothing(self):
        grid = cavity()
        alone = kelvo.Simulation(grid)
        alone.step(1500)
        runs = [kelvo.Simulation(grid), kelvo.Simulation(grid, method="central")]
        threads = [threading.Thread(target=run.step, args=(1500,)) for run in runs]
        for t in threads:
            t.start()
        # Counted while the two threads step: with the GIL held during a
        # step this thread would not run until they were done.
        spins = 0
        while any(t.is_alive() for t in threads):
            spins += 1
        for t in threads:
            t.join()
        self.assertGreater(spins, 1000)
        self.assertTrue(np.array_equal(runs[0].u, alone.u))
        self.assertEqual(runs[1].settings["method"], "central")

    def test_a_running_simulation_refuses_a_second_stepper_and_half_step_reads(self):
        sim = kelvo.Simulation(cavity())
        seen = []

        def progress(n, t):
            # Between the steps of a run its own thread may read it, not step it.
            seen.append(sim.probe(0.5, 0.5))
            with self.assertRaisesRegex(RuntimeError, "^this Simulation is already stepping$"):
                sim.step(1)
            return n < 30

        self.assertEqual(sim.run(steps=100, progress=progress, progress_every=10), "stopped")
        self.assertEqual(len(seen), 3)
        # Another thread is turned away while the steps run.
        stepping = threading.Thread(target=sim.step, args=(3000,))
        stepping.start()
        refused = 0
        while stepping.is_alive():
            try:
                sim.forces()
            except RuntimeError as e:
                self.assertIn("taking steps in another thread", str(e))
                refused += 1
        stepping.join()
        self.assertGreater(refused, 0)
        self.assertEqual(sim.steps, 3030)


class Documentation(unittest.TestCase):
    def test_every_public_name_has_a_docstring(self):
        for owner in (kelvo, kelvo.Grid, kelvo.Simulation, kelvo.BlowUpError):
            for name in dir(owner):
                if name.startswith("_"):
                    continue
                value = getattr(owner, name)
                if callable(value) or isinstance(value, property):
                    with self.subTest(name=f"{owner.__name__}.{name}"):
                        self.assertTrue((value.__doc__ or "").strip())
        self.assertIn("Simulation", kelvo.__doc__ + kelvo.Simulation.__doc__)


if __name__ == "__main__":
    unittest.main()
