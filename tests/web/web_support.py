"""Shared steps of the browser page tests: a private module folder, a test drawing and a
`fendo --serve` process that always ends with the test."""
import os
import queue
import re
import shutil
import subprocess
import tempfile
import threading
import time

SKIP = 77  # ctest's SKIP_RETURN_CODE


def skip(reason):
    print("SKIP: " + reason, flush=True)
    raise SystemExit(SKIP)


def private_module(bin_dir, folder):
    """Copies the module and its companions beside an empty Data folder, so the test's
    settings files (tl.ini) never touch the build's."""
    os.makedirs(os.path.join(folder, "Data"), exist_ok=True)
    for name in ("Fendo17.arx", "KVOObjects17.dbx", "Pelmar17.dbx"):
        shutil.copy(os.path.join(bin_dir, name), folder)
    return os.path.join(folder, "Fendo17.arx")


class Fendo:
    """`fendo DRAWING --serve` with its printed address; stopped (killed at worst) on exit."""

    def __init__(self, bin_dir, drawing, extra=(), timeout=20):
        self.home = tempfile.mkdtemp(prefix="fendo-web-")
        module = private_module(bin_dir, os.path.join(self.home, "module"))
        env = dict(os.environ, HOME=self.home)
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        self.process = subprocess.Popen(
            [os.path.join(bin_dir, "fendo"), drawing, "--serve", "--module", module, *extra],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, env=env)
        self.lines = queue.Queue()
        self.output = []
        threading.Thread(target=self._read, daemon=True).start()
        self.address = None
        deadline = time.time() + timeout
        while time.time() < deadline and self.address is None:
            try:
                line = self.lines.get(timeout=0.5)
            except queue.Empty:
                if self.process.poll() is not None:
                    break
                continue
            found = re.search(r"(http://\S+)", line)
            if found:
                self.address = found.group(1)
        if self.address is None:
            self.stop()
            raise RuntimeError("fendo printed no address:\n" + "".join(self.output))
        self.base = self.address.split("/?")[0]
        self.token = self.address.split("token=")[1]
        self.port = int(self.base.rsplit(":", 1)[1])

    def _read(self):
        # Output is kept as it comes, so that it can be shown when a step fails.
        for raw in iter(self.process.stdout.readline, b""):
            text = raw.decode("utf-8", "replace")
            self.output.append(text)
            self.lines.put(text)

    def wait(self, timeout=20):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            if self.wait(5) is None:
                self.process.kill()
                self.process.wait(5)
        if self.process.stdout:
            self.process.stdout.close()
        shutil.rmtree(self.home, ignore_errors=True)
        # A sanitizer build reports faults on fendo's output; a test that saw one fails.
        text = "".join(self.output)
        for mark in ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"):
            if mark in text:
                raise AssertionError("fendo reported a fault:\n" + text[text.index(mark) - 200:][:3000])

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def write_drawing(path):
    """A road edge and toe for TL, a tree line for 22 and two 3D polylines for 32P."""
    import ezdxf
    doc = ezdxf.new("R2010")
    for name, colour in (("TREES", 3), ("EDGE", 1), ("SURVEY", 5)):
        doc.layers.add(name, color=colour)
    msp = doc.modelspace()
    handles = {}
    handles["tree"] = msp.add_line((0, 20), (40, 20), dxfattribs={"layer": "TREES"}).dxf.handle
    handles["edge"] = msp.add_lwpolyline([(0, 0), (20, 0)], dxfattribs={"layer": "EDGE"}).dxf.handle
    handles["toe"] = msp.add_lwpolyline([(-5, -10), (25, -10)], dxfattribs={"layer": "EDGE"}).dxf.handle
    handles["p1"] = msp.add_polyline3d([(40, 0, 1), (50, 4, 2), (60, 0, 3)], dxfattribs={"layer": "SURVEY"}).dxf.handle
    handles["p2"] = msp.add_polyline3d([(40, -8, 1), (50, -4, 2), (60, -8, 3)], dxfattribs={"layer": "SURVEY"}).dxf.handle
    doc.saveas(path)
    return handles
