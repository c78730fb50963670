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


class SetUps(unittest.TestCase):
    def test_heat_and_dye_arrays_are_views_their_numbers_switch_on(self):
        grid = kelvo.Grid(12, 6)
        self.assertEqual((grid.heat, grid.dye, grid.T, grid.c, grid.fixed_temperature), (False, False, None, None, None))
        grid.rayleigh = 1e4                      # as --rayleigh, heat on, every wall insulated
        grid.dye_bands = 2
        self.assertEqual((grid.heat, grid.dye, grid.prandtl, grid.schmidt, grid.gravity), (True, True, 0.71, 1000, "down"))
        T, fixed = grid.T, grid.fixed_temperature
        self.assertEqual((T.dtype, fixed.dtype, T.shape), (np.float64, np.uint8, (12, 6)))
        self.assertTrue(T.flags.writeable and not fixed.any())
        T[0, :], fixed[0, :] = 1.0, 1
        grid.heat = False
        grid.heat = True                         # switched back on, the same array
        self.assertTrue(np.shares_memory(T, grid.T) and grid.T[0, 3] == 1.0)
        path = os.path.join(tempfile.mkdtemp(), "heat.grid")
        grid.save(path)
        back = kelvo.Grid.load(path)
        self.assertTrue(np.array_equal(back.T, T) and np.array_equal(back.fixed_temperature, fixed))
        self.assertEqual((back.rayleigh, back.dye_bands), (1e4, 2))
        sim = kelvo.Simulation(back)
        self.assertFalse(sim.T.flags.writeable or np.shares_memory(sim.T, back.T))
        self.assertTrue(np.shares_memory(sim.T, sim.T) and sim.c.shape == (12, 6))
        self.assertIsNone(kelvo.Simulation(cavity()).T)

    def test_bodies_and_emitters_are_drawn_and_kept(self):
        grid = kelvo.Grid(40, 20)
        grid.add_body(kelvo.Circle(1.0, 0.5, 0.2))
        grid.add_body("naca:0012,1.4,0.5,0.4,5")
        self.assertEqual(grid.cells[20, 10], kelvo.NOSLIP_WALL)     # the circle's centre cell
        self.assertEqual(grid.cells[5, 10], kelvo.FLUID)
        circle, wing = grid.bodies
        self.assertEqual((circle.shape, circle.centre, circle.radius), ("circle", (1.0, 0.5), 0.2))
        self.assertEqual(wing.shape, "polygon")
        self.assertAlmostEqual(min(x for x, _ in wing.corners), 1.4, delta=0.01)   # the leading edge
        self.assertLess(wing.distance(1.5, 0.5), 0.0)
        grid.add_emitter("0.2,0.3,0.2,0.7:3")
        grid.add_emitter(kelvo.Emitter.timeline(0.3, 0.1, 0.3, 0.9))
        self.assertEqual([(e.every, e.colour) for e in grid.emitters], [(3, 0), (0, 1)])
        path = os.path.join(tempfile.mkdtemp(), "bodies.grid")
        grid.save(path)
        back = kelvo.Grid.load(path)
        self.assertEqual(back.emitters, grid.emitters)
        self.assertEqual([b.corners for b in back.bodies], [b.corners for b in grid.bodies])

    def test_particles_are_copies_and_their_files_number_on(self):
        grid = kelvo.Grid.load(os.path.join(GRIDS, "channel.grid"))
        sim = kelvo.Simulation(grid, emitters=[kelvo.Emitter(0.2, 0.3, 0.2, 0.7, every=2)])
        sim.step(10)
        particles = sim.particles
        self.assertEqual((particles.ndim, particles.shape[1]), (2, 2))
        self.assertEqual(len(sim.particle_emitters), len(particles))
        particles[:] = -1.0
        self.assertTrue((sim.particles > 0.0).all())    # a copy: the run's are untouched
        folder = tempfile.mkdtemp()
        first, second = sim.write_particles_csv(folder), sim.write_particles_csv(folder)
        self.assertEqual([os.path.basename(p) for p in (first, second)], ["particles_00000.csv", "particles_00001.csv"])
        with open(first) as f:
            lines = f.read().splitlines()
        self.assertEqual((lines[0], len(lines)), ("t,serial,emitter,x,y", len(particles) + 1))


class Errors(unittest.TestCase):
    def test_bad_values_raise_value_error_with_the_programs_messages(self):
        grid = cavity()
        cases = [(dict(method="upwind"), "method needs rk3, central, blended or designed, not 'upwind'"),
                 (dict(pressure="sor"), "pressure needs gauss-seidel or multigrid, not 'sor'"),
                 (dict(dt="fast"), "dt needs a finite number above 0 or 'auto', not 'fast'"),
                 (dict(dt=-1.0), "dt needs a finite number above 0"),
                 (dict(re=0.0), "re needs a finite number above 0"),
                 (dict(threads=9), "threads needs a whole number from 0"),
                 (dict(initial_field="zero"), "initial_field needs 'file' or 'default'"),
                 (dict(prandtl=0.0), "prandtl needs a number above 0, not '0'"),
                 (dict(gravity="sideways"), "gravity needs down, up, west or east, not 'sideways'"),
                 (dict(dye_bands=-1), "dye_bands needs a whole number from 0 to 65536, not '-1'"),
                 (dict(release_from_inflow=-2), "release_from_inflow needs the steps between releases"),
                 (dict(particle_cap=-1), "particle_cap needs a whole number from 0 to 10000000, not '-1'"),
                 (dict(bodies=[3]), "a body needs a kelvo.Body or its --body text")]
        for keywords, message in cases:
            with self.subTest(**keywords):
                with self.assertRaisesRegex(TypeError if "kelvo.Body" in message else ValueError, "^" + message):
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
        # A particle file that cannot be written stops the steps at it.
        sim = kelvo.Simulation(cavity(), emitters=["0.5,0.5"], particles_csv=os.path.join(junk, "particles"))
        with self.assertRaisesRegex(OSError, "^cannot write the particle file '.*junk.grid/particles/particles_00000.csv'$"):
            sim.step(5)
        self.assertEqual(sim.steps, 1)

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
        self.assertEqual(sim.summary()["stopped"], "blow-up")
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
        for owner in (kelvo, kelvo.Grid, kelvo.Simulation, kelvo.Body, kelvo.Emitter, kelvo.BlowUpError):
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
