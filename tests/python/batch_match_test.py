"""The module runs what kelvo-batch runs: the same fields bit for bit, the
same history, pictures and stopping points, a saved state that either
continues, and the same set-up options (bodies, heat, dye, particles) with
the same refusals.

    KELVO_BATCH=path/to/kelvo-batch KELVO_GRIDS=Grids python3 batch_match_test.py
"""
import filecmp
import json
import os
import subprocess
import tempfile
import unittest

import numpy as np

import kelvo

BATCH = os.environ["KELVO_BATCH"]
GRIDS = os.environ["KELVO_GRIDS"]


def batch(*args):
    """Runs kelvo-batch; its stderr, or a failure with it."""
    done = subprocess.run([BATCH, *map(str, args)], capture_output=True, text=True)
    if done.returncode not in (0, 3):
        raise AssertionError(done.stderr)
    return done


def read_ppm(path):
    """A plain (P3) PPM file as a (height, width, 3) array."""
    with open(path) as f:
        words = f.read().split()
    width, height = int(words[1]), int(words[2])
    return np.array(words[4:], dtype=np.uint8).reshape(height, width, 3)


class BatchMatch(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.dir = self.work.name

    def tearDown(self):
        self.work.cleanup()

    def assertSameBits(self, ours, theirs, what):
        self.assertEqual(ours.shape, theirs.shape, what)
        self.assertTrue(np.array_equal(ours.view(np.uint64), theirs.view(np.uint64)), what)

    def test_fields_after_500_steps_equal_kelvo_batch(self):
        # The three examples, each through a different path: rk3 with its
        # multigrid at a fixed dt and at dt auto, and the designed terms
        # with their own sweeps. kelvo-batch runs while the module does.
        cases = [("channel.grid", {}), ("cavity.grid", {"dt": "auto"}),
                 ("square_cylinder.grid", {"method": "designed"})]
        options = {"dt": "--dt", "method": "--convection"}
        runs = []
        for name, keywords in cases:
            state = os.path.join(self.dir, name + ".state")
            flags = [str(x) for key, value in keywords.items() for x in (options[key], value)]
            runs.append(subprocess.Popen([BATCH, os.path.join(GRIDS, name), "--steps", "500", "--save-state", state,
                                          *flags], stderr=subprocess.PIPE, text=True))
        for (name, keywords), process in zip(cases, runs):
            with self.subTest(grid=name):
                sim = kelvo.Simulation(kelvo.Grid.load(os.path.join(GRIDS, name)), **keywords)
                sim.step(500)
                self.assertEqual(process.wait(), 0, process.stderr.read())
                process.stderr.close()
                theirs = kelvo.Simulation.restart(os.path.join(self.dir, name + ".state"))
                for field in ("u", "v", "p"):
                    self.assertSameBits(getattr(sim, field), getattr(theirs, field), name + " " + field)
                self.assertEqual((sim.time, sim.steps), (theirs.time, 500))

    def test_saved_state_continues_with_the_same_bits(self):
        grid = kelvo.Grid.load(os.path.join(GRIDS, "channel.grid"))
        whole = kelvo.Simulation(grid)
        whole.step(60)
        half = kelvo.Simulation(grid)
        half.step(25)
        state = os.path.join(self.dir, "half.state")
        half.save_state(state)
        continued = kelvo.Simulation.restart(state)
        continued.step(35)
        for field in ("u", "v", "p"):
            self.assertSameBits(getattr(continued, field), getattr(whole, field), field)
        self.assertEqual(continued.steps, 60)
        # kelvo-batch continues the module's state file too.
        batch("--restart", state, "--steps", 35, "--save-state", os.path.join(self.dir, "b.state"))
        self.assertSameBits(kelvo.Simulation.restart(os.path.join(self.dir, "b.state")).u, whole.u, "batch u")

    def test_history_probes_and_summary_match_kelvo_batch(self):
        path = os.path.join(GRIDS, "channel.grid")
        history = os.path.join(self.dir, "history.csv")
        summary = os.path.join(self.dir, "summary.json")
        batch(path, "--steps", 40, "--probe", "1.0,0.5", "--history", history, "--summary-json", summary)
        theirs = np.genfromtxt(history, delimiter=",", names=True)
        sim = kelvo.Simulation(kelvo.Grid.load(path), probes=[(1.0, 0.5)])
        sim.step(40)
        ours = sim.history
        self.assertEqual(list(ours), list(theirs.dtype.names))
        for column in ours:
            # kelvo-batch prints nine digits.
            np.testing.assert_allclose(ours[column], theirs[column], rtol=2e-8, atol=1e-300, err_msg=column)
        self.assertEqual(sim.probe(1.0, 0.5), (ours["probe1_u"][-1], ours["probe1_v"][-1], ours["probe1_p"][-1]))
        # The summary, shedding analysis included, is kelvo-batch's to the digit.
        with open(summary) as f:
            self.assertEqual(sim.summary(), json.load(f))
        body = sim.forces()[0]
        self.assertEqual((body["cd"], body["cl"]), (ours[body["name"] + "_cd"][-1], ours[body["name"] + "_cl"][-1]))

    def test_run_stops_where_kelvo_batch_stops(self):
        path = os.path.join(GRIDS, "cavity.grid")
        for until, keyword in (("--until-time", "until_time"), ("--until-steady", "until_steady")):
            limit = {"until_time": 0.3, "until_steady": 1e-3}[keyword]
            with self.subTest(until=until):
                summary = os.path.join(self.dir, "summary.json")
                batch(path, until, limit, "--steps", 5000, "--summary-json", summary)
                with open(summary) as f:
                    theirs = json.load(f)
                sim = kelvo.Simulation(kelvo.Grid.load(path))
                calls = []
                reason = sim.run(steps=5000, progress=lambda n, t: calls.append((n, t)), **{keyword: limit})
                self.assertEqual((reason, sim.steps), (theirs["stopped"], theirs["steps"]))
                self.assertAlmostEqual(sim.time, theirs["time"], delta=1e-8 * theirs["time"])  # nine digits
                self.assertEqual(calls[-1], (sim.steps, sim.time))
                self.assertEqual(sim.summary()["stopped"], theirs["stopped"])
        # A callback answering False stops the run where it is.
        sim = kelvo.Simulation(kelvo.Grid.load(path))
        self.assertEqual(sim.run(steps=1000, progress=lambda n, t: n < 20, progress_every=10), "stopped")
        self.assertEqual(sim.steps, 20)
        self.assertEqual(sim.summary()["stopped"], "stopped")
        sim.step(1)
        self.assertEqual(sim.summary()["stopped"], "step-limit")

    def test_set_up_options_give_kelvo_batch_runs(self):
        # Each set-up option through the module's keywords and through
        # kelvo-batch's options: the fields, temperature, dye and particles
        # bit for bit (from kelvo-batch's state file), the history with its
        # outline forces and Nusselt numbers, and the summary.
        channel, cavity = os.path.join(GRIDS, "channel.grid"), os.path.join(GRIDS, "heated_cavity.grid")
        csv = {who: os.path.join(self.dir, who + "_particles") for who in ("theirs", "ours")}

        def same_particle_files(sim):
            names = sorted(os.listdir(csv["theirs"]))
            if names != sorted(os.listdir(csv["ours"])) or len(names) != 300:
                return False
            return all(filecmp.cmp(os.path.join(csv["theirs"], name), os.path.join(csv["ours"], name), shallow=False)
                       for name in (names[0], names[-1]))

        cases = [
            ("heat", cavity, 150, ["--rayleigh", "1e4", "--prandtl", "0.71"], dict(rayleigh=1e4, prandtl=0.71),
             lambda sim: [wall["temperature"] for wall in sim.nusselt()] == [1.0, 0.0]),
            ("dye", channel, 300, ["--dye-bands", "2", "--schmidt", "500"], dict(dye_bands=2, schmidt=500),
             lambda sim: sim.c.max() > 0.5 and sim.T is None),
            ("bodies", channel, 300, ["--body", "circle:1.3,0.5,0.1", "--body", "polygon:1.6,0.3;1.8,0.3;1.7,0.45"],
             dict(bodies=[kelvo.Circle(1.3, 0.5, 0.1), "polygon:1.6,0.3;1.8,0.3;1.7,0.45"]),
             lambda sim: [body["outline"] for body in sim.forces()][:3] == [0, 1, None]),
            ("particles", channel, 300, ["--emitter", "0.2,0.3,0.2,0.7:3", "--emitter", "1.0,0.25",
                                         "--timeline", "0.3,0.1,0.3,0.9", "--release-from-inflow", "7",
                                         "--particle-cap", "150", "--particles-csv", csv["theirs"]],
             dict(emitters=["0.2,0.3,0.2,0.7:3", kelvo.Emitter(1.0, 0.25)], timelines=["0.3,0.1,0.3,0.9"],
                  release_from_inflow=7, particle_cap=150, particles_csv=csv["ours"]),
             lambda sim: len(sim.particles) == 150 and {0, 1, 3} <= set(sim.particle_emitters)
             and same_particle_files(sim)),
        ]
        runs = []
        for name, path, steps, options, *_ in cases:
            files = [os.path.join(self.dir, name + ext) for ext in (".state", ".csv", ".json")]
            runs.append((files, subprocess.Popen(
                [BATCH, path, "--steps", str(steps), "--save-state", files[0], "--history", files[1],
                 "--summary-json", files[2], *options], stderr=subprocess.PIPE, text=True)))
        for (name, path, steps, _, keywords, happened), (files, process) in zip(cases, runs):
            with self.subTest(case=name):
                sim = kelvo.Simulation(kelvo.Grid.load(path), **keywords)
                sim.step(steps)
                self.assertEqual(process.wait(), 0, process.stderr.read())
                process.stderr.close()
                theirs = kelvo.Simulation.restart(files[0])
                for field in ("u", "v", "p", "T", "c"):
                    ours = getattr(sim, field)
                    self.assertEqual(ours is None, getattr(theirs, field) is None, field)
                    if ours is not None:
                        self.assertSameBits(ours, getattr(theirs, field), name + " " + field)
                self.assertSameBits(sim.particles, theirs.particles, name + " particles")
                self.assertTrue(np.array_equal(sim.particle_emitters, theirs.particle_emitters))
                history = np.genfromtxt(files[1], delimiter=",", names=True)
                self.assertEqual(list(sim.history), list(history.dtype.names))
                for column in sim.history:
                    np.testing.assert_allclose(sim.history[column], history[column], rtol=2e-8, atol=1e-300,
                                               err_msg=column)
                with open(files[2]) as f:
                    self.assertEqual(sim.summary(), json.load(f))
                self.assertTrue(happened(sim), "the case's feature did not show")

    def test_bad_body_and_emitter_texts_raise_kelvo_batch_messages(self):
        grid = kelvo.Grid.load(os.path.join(GRIDS, "channel.grid"))
        cases = [("--body", "circle:1,2", kelvo.Body), ("--body", "circle:1,0.5,0", grid.add_body),
                 ("--body", "polygon:0,0;1,0", kelvo.Body), ("--body", "naca:00x2,1,0.5,0.3,5", kelvo.Body),
                 ("--body", "square:1,2,3", lambda text: kelvo.Simulation(grid, bodies=[text])),
                 ("--emitter", "0.5", kelvo.Emitter), ("--emitter", "0.5,0.5:-1", grid.add_emitter),
                 ("--emitter", "0.1,0.2,0.3", lambda text: kelvo.Simulation(grid, emitters=[text])),
                 ("--timeline", "0.1,0.1,0.2,0.9:3", lambda text: kelvo.Simulation(grid, timelines=[text]))]
        for option, text, make in cases:
            with self.subTest(option=option, text=text):
                done = subprocess.run([BATCH, os.path.join(GRIDS, "channel.grid"), option, text],
                                      capture_output=True, text=True)
                printed = done.stderr.strip().removeprefix("kelvo-batch: ")
                self.assertNotEqual(done.returncode, 0)
                with self.assertRaises(ValueError) as raised:
                    make(text)
                self.assertEqual(str(raised.exception), printed)

    def test_picture_is_kelvo_batch_frame(self):
        path = os.path.join(GRIDS, "channel.grid")
        frames = os.path.join(self.dir, "frames")
        # (elements, kelvo-batch's other options, the run's keywords, the picture's keywords)
        options = [("boundary,streamlines", [], {}, {}),
                   ("u,v,p,vectors", [], {}, {"boundary": False, "streamlines": False,
                                              "u": True, "v": True, "p": True, "vectors": True}),
                   ("boundary,cells,particles", ["--colour-map", "dye", "--dye-bands", "2", "--body",
                                                 "circle:1.3,0.5,0.1", "--emitter", "0.2,0.3,0.2,0.7:1"],
                    {"dye_bands": 2, "bodies": ["circle:1.3,0.5,0.1"], "emitters": ["0.2,0.3,0.2,0.7:1"]},
                    {"streamlines": False, "cells": True, "particles": True, "colour_map": "dye"})]
        sim = kelvo.Simulation(kelvo.Grid.load(path))
        sim.step(5)
        for elements, others, run_keywords, keywords in options:
            with self.subTest(elements=elements):
                batch(path, "--steps", 5, "--interval", 5, "--ppm=" + frames, "--elements", elements, "--size", 3,
                      *others)
                # Frame 0 is drawn after the first cycle's step, as the window draws it.
                first = kelvo.Simulation(kelvo.Grid.load(path), **run_keywords)
                first.step(1)
                picture = first.picture(size=3, **keywords)
                self.assertTrue(np.array_equal(picture, read_ppm(os.path.join(frames, "frame_00000.ppm"))))
        png = os.path.join(self.dir, "frame.png")
        sim.save_png(png, colour_map="vorticity", range=(-6, 6))
        with open(png, "rb") as f:
            self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")
        vti = sim.write_vtk(os.path.join(self.dir, "vtk"))
        self.assertTrue(vti.endswith("fields_00000.vti") and os.path.exists(vti))


if __name__ == "__main__":
    unittest.main()
