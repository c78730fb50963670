"""The scripts of docs/python/ run as a reader runs them, on small grids and
short runs: each prints its table and draws its figure.

    PYTHONPATH=build python3 docs_examples_test.py DOCS_PYTHON_DIR
"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

import matplotlib.image

SCRIPTS = sys.argv.pop(1) if len(sys.argv) > 1 else os.environ.get("KELVO_DOCS_PYTHON", "docs/python")


def run_script(name, *args):
    done = subprocess.run([sys.executable, os.path.join(SCRIPTS, name), *map(str, args)],
                          capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        raise AssertionError(f"{name} ended with status {done.returncode}:\n{done.stderr}")
    return done.stdout.splitlines()


class Examples(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.work.cleanup()

    def assertFigure(self, path):
        picture = matplotlib.image.imread(path)
        self.assertEqual(picture.shape[:2], (480, 640))   # matplotlib's default 6.4 x 4.8 in at 100 dpi
        self.assertGreater(picture.std(), 0.0)

    def test_cavity_against_ghia(self):
        figure = os.path.join(self.work.name, "cavity.png")
        lines = run_script("cavity_ghia.py", figure, 18, 200)
        self.assertEqual([line.split(":")[0] for line in lines], ["rk3", "central", "blended", "designed"])
        for line in lines:
            self.assertRegex(line, r"^\w+: 200 steps \(step-limit\), u within 0\.\d{4} of Ghia's points$")
        self.assertFigure(figure)

    def test_heated_cavity_against_de_vahl_davis(self):
        figure = os.path.join(self.work.name, "heated.png")
        lines = run_script("heated_cavity.py", figure)
        self.assertEqual(len(lines), 1)
        match = re.match(r"^\d+ steps \(until-steady\): Nu (\d\.\d{4}), de Vahl Davis 2\.243 \([+-]\d\.\d\d %\)$",
                         lines[0])
        self.assertTrue(match, lines[0])
        # de Vahl Davis (1983), Int. J. Numer. Meth. Fluids 3, 249-264, Ra 10^4:
        # Nu 2.243; 32 x 32 fluid cells come within 2 %.
        self.assertAlmostEqual(float(match.group(1)) / 2.243, 1.0, delta=0.02)
        self.assertFigure(figure)

    def test_strouhal_sweep(self):
        figure = os.path.join(self.work.name, "strouhal.png")
        lines = run_script("strouhal_sweep.py", figure, 0.0005)
        self.assertEqual([line.split(" | ")[0] for line in lines], ["| Re_D", "| 60", "| 80", "| 100", "| 120", "| 150"])
        self.assertFigure(figure)


if __name__ == "__main__":
    unittest.main()
