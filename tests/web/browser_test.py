#!/usr/bin/python3
"""The drawing in a real browser (headless chromium through chromium-driver): commands typed
at the command box, objects and points picked by clicks, a dialog answered in its form, a
window dragged, Escape, a second tab, and the saved drawing checked with ezdxf. Skips with
a message when chromium, its driver or selenium is missing."""
import argparse
import contextlib
import os
import shutil
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import web_support  # noqa: E402

BIN = None
SCREENSHOT = None
WAIT = 20  # seconds any one step may take


def browser_or_skip():
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    driver = shutil.which("chromedriver") or ("/usr/bin/chromedriver" if os.path.exists("/usr/bin/chromedriver") else None)
    if not chromium or not driver:
        web_support.skip("chromium and chromium-driver are not installed")
    try:
        import selenium  # noqa: F401
        import ezdxf  # noqa: F401
    except ImportError as e:
        web_support.skip("/usr/bin/python3 lacks %s (python3-selenium, python3-ezdxf)" % e.name)
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = chromium
    for arg in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1280,900",
                "--disable-gpu", "--no-first-run", "--lang=vi"):
        options.add_argument(arg)
    browser = webdriver.Chrome(service=Service(driver), options=options)
    browser.set_page_load_timeout(WAIT)
    browser.set_script_timeout(WAIT)
    return browser


class BrowserSession(unittest.TestCase):
    """One session, step by step, as a surveyor would work through it."""

    @classmethod
    def setUpClass(cls):
        cls.browser = browser_or_skip()
        cls.folder = tempfile.mkdtemp(prefix="fendo-browser-")
        cls.drawing = os.path.join(cls.folder, "road.dxf")
        cls.saved = os.path.join(cls.folder, "road-out.dxf")
        cls.handles = web_support.write_drawing(cls.drawing)
        try:
            cls.fendo = web_support.Fendo(BIN, cls.drawing, ["-o", cls.saved])
        except Exception:
            cls.browser.quit()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        cls.fendo.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    # ---- helpers ------------------------------------------------------------------------
    def until(self, condition, what, timeout=WAIT):
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                value = condition()
            except Exception:  # the page is being rebuilt
                value = None
            if value:
                return value
            time.sleep(0.1)
        self.fail("timed out waiting for %s\n--- fendo said:\n%s" % (what, "".join(self.fendo.output)[-3000:]))

    def kind(self):
        return self.browser.execute_script("return document.body.dataset.kind || ''")

    def wait_kind(self, kind):
        self.until(lambda: self.kind() == kind, "a %s question" % kind)

    def log(self):
        return self.browser.find_element("css selector", "[role=log]").text

    def command_box(self):
        return self.browser.find_element("css selector", "input[aria-label=Command]")

    def type_command(self, text):
        from selenium.webdriver.common.keys import Keys
        box = self.command_box()
        box.send_keys(text + Keys.ENTER)

    def client_point(self, x, y):
        """The page position of drawing point x,y."""
        return self.browser.execute_script(
            """const svg = document.getElementById('drawing');
               const d = svg.dataset, s = +d.scale;
               const p = svg.createSVGPoint();
               p.x = (arguments[0] - d.left) * s; p.y = (d.top - arguments[1]) * s;
               const q = p.matrixTransform(svg.getScreenCTM());
               return [q.x, q.y];""", x, y)

    def pointer(self):
        from selenium.webdriver.common.action_chains import ActionChains
        return ActionChains(self.browser, duration=50)

    def move_to(self, chain, x, y):
        """Moves the pointer to drawing point x,y (offsets from the picture's centre)."""
        svg = self.browser.find_element("id", "drawing")
        r = self.browser.execute_script("const r = arguments[0].getBoundingClientRect(); return [r.left, r.top, r.width, r.height];", svg)
        cx, cy = self.client_point(x, y)
        chain.move_to_element_with_offset(svg, int(round(cx - (r[0] + r[2] / 2))), int(round(cy - (r[1] + r[3] / 2))))
        return chain

    def asked(self):
        return int(self.browser.execute_script("return document.body.dataset.asked || '0'"))

    def click_at(self, x, y):
        """Clicks drawing point x,y and waits for the session's next question."""
        before = self.asked()
        chain = self.pointer()
        self.move_to(chain, x, y).click().perform()
        self.until(lambda: self.asked() > before, "the answer to the click at %g,%g" % (x, y))

    def group(self, handle):
        return self.browser.find_elements("css selector", '#objects g[data-handle="%s"]' % handle)

    # ---- the session ---------------------------------------------------------------------
    def test_session(self):
        b = self.browser
        b.get(self.fendo.address)
        self.until(lambda: len(b.find_elements("css selector", "#objects g[data-handle]")) == 5, "the five objects")
        self.wait_kind("command")
        self.assertNotIn("token", b.current_url, "the token leaves the address bar")
        paths = b.find_elements("css selector", '#objects g[data-handle="%s"] path' % self.handles["tree"])
        self.assertTrue(paths and all(p.get_attribute("data-handle") == self.handles["tree"] for p in paths))

        # 22 by typing it and clicking the tree line: its layer goes off, the line leaves the picture.
        self.type_command("22")
        self.wait_kind("entity")
        self.assertIn("22", self.log())
        self.click_at(20, 20)
        self.until(lambda: not self.group(self.handles["tree"]), "the tree line to disappear")
        self.wait_kind("entity")  # it asks again until a pick finds nothing
        self.click_at(30, 10)
        self.wait_kind("command")

        # Escape cancels a question.
        self.type_command("22")
        self.wait_kind("entity")
        from selenium.webdriver.common.keys import Keys
        self.command_box().send_keys(Keys.ESCAPE)
        self.wait_kind("command")
        self.assertIn("*Cancel*", self.log())

        # TL: the step dialog in its form, then the edge and toe picked by clicks, Enter for the whole edge.
        self.type_command("TL")
        self.wait_kind("dialog")
        form = self.until(lambda: b.find_element("css selector", "#modal form[role=dialog]"), "the TL form")
        step = form.find_element("css selector", "input[data-id='1006']")
        step.send_keys(Keys.CONTROL, "a")
        step.send_keys("5" + Keys.TAB)
        self.until(lambda: b.find_element("css selector", "#modal input[data-id='1006']").get_attribute("value") == "5",
                   "the step to be taken")
        ticks = b.find_element("css selector", "#modal input[data-id='1007']")
        ticks.send_keys(Keys.CONTROL, "a")
        ticks.send_keys("1" + Keys.TAB)
        self.until(lambda: b.find_element("css selector", "#modal input[data-id='1007']").get_attribute("value") == "1",
                   "the tick count to be taken")
        if SCREENSHOT:
            os.makedirs(os.path.dirname(SCREENSHOT), exist_ok=True)
            b.save_screenshot(SCREENSHOT)
        b.find_element("css selector", "#modal button[data-id='1']").click()
        self.until(lambda: self.kind() in ("entity", "point", "selection"), "the edge question")
        self.assertTrue(b.find_element("id", "modal").get_attribute("hidden") is not None, "the form closes")
        self.click_at(10, 0)
        self.click_at(10, -10)
        self.wait_kind("point")
        self.type_command("")
        self.wait_kind("command")
        self.until(lambda: len(b.find_elements("css selector", "#objects g[data-handle]")) == 5, "the new slope symbol")

        # The arrow keys go back through what was typed (repeats and empty answers once or not at all).
        box = self.command_box()
        seen = []
        for key in (Keys.ARROW_UP, Keys.ARROW_UP, Keys.ARROW_UP, Keys.ARROW_DOWN, Keys.ARROW_DOWN):
            box.send_keys(key)
            seen.append(box.get_attribute("value"))
        self.assertEqual(seen, ["TL", "22", "22", "TL", ""])

        # 32P: a window dragged left to right around both 3D polylines, Enter ends the selection.
        self.type_command("32P")
        self.wait_kind("selection")
        chain = self.pointer()
        self.move_to(chain, 38, 6).click_and_hold()
        self.move_to(chain, 50, -2)
        self.move_to(chain, 62, -10).release().perform()
        self.until(lambda: len(b.find_elements("css selector", "#objects g.selected")) == 2, "both polylines highlighted")
        self.assertIn("2 found", self.log())
        self.type_command("")
        self.wait_kind("command")
        self.until(lambda: not self.group(self.handles["p1"]) and not self.group(self.handles["p2"]),
                   "the 3D polylines to be replaced")

        # A second tab is told that this one drives the session.
        first = b.current_window_handle
        b.switch_to.new_window("tab")
        b.get(self.fendo.address)
        self.until(lambda: "Another tab" in b.find_element("tag name", "body").text, "the second tab to be refused")
        b.close()
        b.switch_to.window(first)

        # SAVE, QUIT: fendo ends and the saved drawing holds the work.
        self.type_command("SAVE")
        self.until(lambda: "Saved" in self.log(), "the save")
        self.type_command("QUIT")
        self.assertEqual(self.fendo.wait(WAIT), 0, "fendo ends at QUIT")
        self.until(lambda: self.kind() == "ended", "the page to show the end")

        import ezdxf
        doc = ezdxf.readfile(self.saved)
        self.assertTrue(doc.layers.get("TREES").is_off(), "22 turned the tree layer off")
        msp = doc.modelspace()
        self.assertEqual(len(msp.query("POLYLINE")), 0)
        self.assertEqual(len(msp.query('LWPOLYLINE[layer=="SURVEY"]')), 2)
        self.assertEqual(sum(1 for e in msp if e.dxftype() == "DRAWTALUY"), 1, [e.dxftype() for e in msp])


@contextlib.contextmanager
def page_session(test, prefix, extra=()):
    """A browser, a test drawing and fendo serving it, the page open; all ended afterwards.
    Yields the helper steps of BrowserSession bound to them, and the drawing's handles."""
    browser = browser_or_skip()
    folder = tempfile.mkdtemp(prefix=prefix)
    try:
        drawing = os.path.join(folder, "in.dxf")
        handles = web_support.write_drawing(drawing)
        with web_support.Fendo(BIN, drawing, [a.replace("{folder}", folder) for a in extra]) as fendo:
            steps = BrowserSession("test_session")
            steps.browser, steps.fendo, steps.fail = browser, fendo, test.fail
            browser.get(fendo.address)
            steps.wait_kind("command")
            yield steps, handles
    finally:
        browser.quit()
        shutil.rmtree(folder, ignore_errors=True)


class PanelsAndMessageBoxes(unittest.TestCase):
    """A dialog that stays open is a panel answered at the command prompt; a message box is a pop-up."""

    def test_hctl_panel_and_the_44_message_box(self):
        with page_session(self, "fendo-panels-", ["-o", "{folder}/out.dxf"]) as (session, handles):
            from selenium.webdriver.common.keys import Keys
            browser, fendo = session.browser, session.fendo
            # The dialog's answers typed at the command box work as at the terminal.
            for line in ("TL", "1006=5", "1007=1", "", "10,0", "10,-10", ""):
                session.type_command(line)
            session.wait_kind("command")
            session.type_command("HCTL")
            session.until(lambda: session.kind() in ("entity", "selection"), "the symbol question")
            session.click_at(10, -5)
            panel = session.until(lambda: browser.find_element("css selector", "#panels form[role=dialog]"),
                                  "the slope editor's panel")
            session.wait_kind("command")
            edit = panel.find_element("css selector", "input[data-id='1009']")
            edit.send_keys(Keys.CONTROL, "a")
            edit.send_keys("7" + Keys.TAB)
            session.until(lambda: "1009=7" in session.log(), "the panel's answer")
            session.wait_kind("command")
            self.assertIn("DIALOG 1", session.log())
            self.assertEqual(
                browser.find_element("css selector", "#panels input[data-id='1009']").get_attribute("value"), "7")
            browser.find_element("css selector", "#panels button[data-id='1']").click()
            session.until(lambda: not browser.find_elements("css selector", "#panels form"), "the panel to close")
            session.wait_kind("command")

            # 44 on the tree line: its box asks to confirm; Cancel keeps the line, OK erases it.
            tree = handles["tree"]
            for button, kept in (("Cancel", True), ("OK", False)):
                session.type_command("44")
                session.wait_kind("entity")
                session.click_at(20, 20)
                session.wait_kind("message")
                box = browser.find_element("css selector", "#modal [role=alertdialog]")
                next(b for b in box.find_elements("tag name", "button") if b.text.lower() == button.lower()).click()
                session.wait_kind("command")
                session.until(lambda: bool(session.group(tree)) == kept, "the tree line after " + button)
            session.type_command("QUIT")
            self.assertEqual(fendo.wait(WAIT), 0)


class SnapMarker(unittest.TestCase):
    """At a point question the mouse shows the snap, and the click answers the snapped point."""

    def test_a_click_near_an_endpoint_answers_the_endpoint(self):
        with page_session(self, "fendo-snap-") as (session, handles):
            browser = session.browser
            session.type_command("SETVAR OSMODE 1")
            session.wait_kind("command")
            # MOVEGRIP asks for an object, a grip index and then a point: the point is picked.
            session.type_command("MOVEGRIP")
            session.wait_kind("entity")
            session.click_at(20, 20)
            session.until(lambda: session.kind() in ("text", "point"), "the grip index")
            session.type_command("0")
            session.wait_kind("point")
            chain = session.pointer()
            session.move_to(chain, 19.6, 0.3).perform()
            marker = session.until(lambda: browser.find_element("css selector", "#overlay .snap[data-kind=endpoint]"),
                                   "the endpoint marker")
            self.assertIsNotNone(marker)
            session.click_at(19.6, 0.3)
            session.wait_kind("command")
            self.assertIn("20,0", session.log())


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--screenshot")
    options, rest = parser.parse_known_args()
    BIN, SCREENSHOT = options.bin, options.screenshot
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
