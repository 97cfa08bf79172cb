#!/usr/bin/python3
"""The browser page's server refuses requests without the session's token, with a wrong one,
from another site's page or through another host name, and answers from a tab that does
not drive the session. Needs no browser."""
import argparse
import http.client
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import web_support  # noqa: E402

BIN = None


def request(port, path, headers=None, method="GET", body=None):
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
    hdrs = {"Host": "127.0.0.1:%d" % port}
    hdrs.update(headers or {})
    conn.request(method, path, body=body, headers=hdrs)
    res = conn.getresponse()
    data = res.read(2000) if res.getheader("Content-Type", "").find("event-stream") < 0 else b""
    result = (res.status, data, res.getheader("Set-Cookie"))
    conn.close()
    return result


class AccessTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        try:
            import ezdxf  # noqa: F401
        except ImportError:
            raise unittest.SkipTest("/usr/bin/python3 has no ezdxf")
        cls.folder = tempfile.mkdtemp(prefix="fendo-access-")
        drawing = os.path.join(cls.folder, "in.dxf")
        web_support.write_drawing(drawing)
        cls.fendo = web_support.Fendo(BIN, drawing)

    @classmethod
    def tearDownClass(cls):
        cls.fendo.stop()

    def test_the_address_is_on_loopback_with_a_long_token(self):
        self.assertTrue(self.fendo.base.startswith("http://127.0.0.1:"))
        self.assertRegex(self.fendo.token, r"^[0-9a-f]{32}$")

    def test_requests_without_the_right_token_are_refused(self):
        port, token = self.fendo.port, self.fendo.token
        for path in ("/", "/assets/fendo.js", "/events?tab=x", "/snap?x=0&y=0&r=1"):
            with self.subTest(path=path):
                self.assertEqual(request(port, path)[0], 403)
                bad = path + ("&" if "?" in path else "?") + "token=" + "0" * 32
                self.assertEqual(request(port, bad)[0], 403)
                self.assertEqual(request(port, path, {"Cookie": "fendo_token=" + token[:-1] + "x"})[0], 403)
        status, body, cookie = request(port, "/?token=" + token)
        self.assertEqual(status, 200)
        self.assertIn(b'aria-label="Command"', body)
        self.assertIn("fendo_token=" + token, cookie)
        self.assertIn("HttpOnly", cookie)
        self.assertEqual(request(port, "/assets/fendo.js", {"Cookie": "fendo_token=" + token})[0], 200)

    def test_other_sites_and_host_names_are_refused_even_with_the_token(self):
        port, token = self.fendo.port, self.fendo.token
        cookie = {"Cookie": "fendo_token=" + token}
        self.assertEqual(request(port, "/", dict(cookie, Origin="http://evil.example"))[0], 403)
        self.assertEqual(request(port, "/", dict(cookie, Host="evil.example:%d" % port))[0], 403)
        self.assertEqual(request(port, "/", dict(cookie, **{"Sec-Fetch-Site": "cross-site"}))[0], 403)
        status = request(port, "/answer", dict(cookie, Origin="http://evil.example",
                                                **{"Content-Type": "application/x-www-form-urlencoded"}),
                         "POST", "tab=x&text=QUIT")[0]
        self.assertEqual(status, 403)
        self.assertEqual(request(port, "/", dict(cookie, Origin="http://127.0.0.1:%d" % port))[0], 200)

    def test_an_answer_from_a_tab_that_does_not_drive_is_refused(self):
        port, token = self.fendo.port, self.fendo.token
        status = request(port, "/answer", {"Cookie": "fendo_token=" + token,
                                           "Content-Type": "application/x-www-form-urlencoded"},
                         "POST", "tab=nobody&text=QUIT")[0]
        self.assertEqual(status, 409)
        self.assertIsNone(self.fendo.process.poll(), "the session must not have ended")

    def test_files_outside_the_page_cannot_be_reached(self):
        cookie = {"Cookie": "fendo_token=" + self.fendo.token}
        for path in ("/assets/../CMakeLists.txt", "/assets/%2e%2e/README.md", "/etc/passwd", "/assets/index.html"):
            with self.subTest(path=path):
                self.assertIn(request(self.fendo.port, path, cookie)[0], (400, 404))


class EndingTest(unittest.TestCase):
    def test_ctrl_c_or_a_termination_request_ends_the_session_and_saves(self):
        import signal
        folder = tempfile.mkdtemp(prefix="fendo-ending-")
        drawing = os.path.join(folder, "in.dxf")
        web_support.write_drawing(drawing)
        for sig in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(signal=sig.name):
                saved = os.path.join(folder, "out-%s.dxf" % sig.name)
                with web_support.Fendo(BIN, drawing, ["-o", saved]) as fendo:
                    fendo.process.send_signal(sig)
                    self.assertEqual(fendo.wait(20), 0, "".join(fendo.output))
                self.assertTrue(os.path.exists(saved), "the drawing is saved with -o")
                import ezdxf
                self.assertEqual(len(ezdxf.readfile(saved).modelspace()), 5)


class ListenTest(unittest.TestCase):
    def test_a_chosen_port_and_another_address_with_a_warning(self):
        import socket
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        folder = tempfile.mkdtemp(prefix="fendo-listen-")
        drawing = os.path.join(folder, "in.dxf")
        web_support.write_drawing(drawing)
        with web_support.Fendo(BIN, drawing, ["--port", str(port), "--listen", "127.0.0.2"]) as fendo:
            self.assertEqual(fendo.base, "http://127.0.0.2:%d" % port)
            conn = http.client.HTTPConnection("127.0.0.2", port, timeout=5)
            conn.request("GET", "/?token=" + fendo.token, headers={"Host": "127.0.0.2:%d" % port})
            self.assertEqual(conn.getresponse().status, 200)
            conn.close()
            self.assertTrue(any("warning" in line and "127.0.0.2" in line for line in fendo.output), fendo.output)
            # The port is taken now: a second session on it fails with a message, not a hang.
            with self.assertRaises(RuntimeError) as failed:
                web_support.Fendo(BIN, drawing, ["--port", str(port), "--listen", "127.0.0.2"], timeout=10)
            self.assertIn("cannot listen on 127.0.0.2:%d" % port, str(failed.exception))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    options, rest = parser.parse_known_args()
    BIN = options.bin
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
