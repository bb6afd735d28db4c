"""Reads the real lumvrex window through AT-SPI, as a screen reader does.

Needs an X display and a session bus of its own, and Debian's Python, which
has pyatspi:

    dbus-run-session -- xvfb-run -a /usr/bin/python3 atspi_names.py LUMVREX
"""

import os
import subprocess
import sys
import time
import unittest
import urllib.parse

import pyatspi
from gi.repository import Gio, GLib

LUMVREX = None  # the program, from the command line
CAPTION = "Zantrel - Lumvrex by the Lumvrex team"

# Form1's controls in creation order, as a screen reader names them.
EXPECTED_CONTROLS = [
    ("label", "E-Book title:"),
    ("text", "E-Book title:"),
    ("label", "Back color:"),
    ("text", "Back color:"),
    ("label", "Pages:"),
    ("list", "Pages: 0 pages"),
    ("push button", "Clear"),
    ("label", "Init message:"),
    ("text", "Init message:"),
    ("label", "Resolution (w,h):"),
    ("text", "Resolution (w,h): width"),
    ("text", "Resolution (w,h): height"),
    ("label", "Icon:"),
    ("text", "Icon:"),
    ("push button", "Create pub"),
    ("push button", "Exit"),
]


def turn_screen_reader_on():
    """What a screen reader does when it starts: tell the applications on
    this session bus to show themselves on the accessibility bus."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
        None, Gio.DBusCallFlags.NONE, 10000, None)


def wait_for(find, seconds=20.0):
    deadline = time.monotonic() + seconds
    while True:
        found = find()
        if found is not None or time.monotonic() > deadline:
            return found
        time.sleep(0.1)


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


class ReadByAScreenReader(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        turn_screen_reader_on()
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        cls.app = subprocess.Popen([LUMVREX], env=env)

        def window():
            for application in children(pyatspi.Registry.getDesktop(0)):
                if application is not None and application.name == "Lumvrex":
                    for top in children(application):
                        if top.name == CAPTION and top.childCount == len(EXPECTED_CONTROLS):
                            return top
            return None

        cls.window = wait_for(window)

    @classmethod
    def tearDownClass(cls):
        cls.app.terminate()
        cls.app.wait(10)

    def setUp(self):
        self.assertIsNotNone(self.window, "the window of lumvrex never appeared on the accessibility bus")

    def test_window_is_announced_as_a_dialog_named_by_its_caption(self):
        self.assertEqual(self.window.getRoleName(), "dialog")
        self.assertEqual(self.window.name, CAPTION)

    def test_every_control_has_the_name_of_its_caption(self):
        controls = [(c.getRoleName(), c.name) for c in children(self.window)]
        self.assertEqual(controls, EXPECTED_CONTROLS)

    def test_focus_starts_on_create_pub(self):
        def focused():
            for control in children(self.window):
                if control.getState().contains(pyatspi.STATE_FOCUSED):
                    return control
            return None

        control = wait_for(focused, 10.0)
        self.assertIsNotNone(control, "no control has the focus")
        self.assertEqual((control.getRoleName(), control.name), ("push button", "Create pub"))

    def test_zz_pasted_entries_are_heard_as_their_pages(self):
        """Runs last: it fills the list the other tests find empty."""
        paths = ["/fotos/uno.jpg", "/fotos/playa en Cádiz.jpg", "/fotos/tres.jpg"]
        uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in paths)
        subprocess.run(["xclip", "-selection", "clipboard", "-t", "text/uri-list"],
                       input=uris.encode(), check=True)
        # From "Create pub" to the page list, then paste.
        subprocess.run(["xdotool", "key", "Tab", "Tab", "Tab", "Tab", "Tab", "ctrl+v"], check=True)
        page_list = [c for c in children(self.window) if c.getRoleName() == "list"][0]
        self.assertIsNotNone(wait_for(lambda: page_list if page_list.name == "Pages: 3 pages" else None, 10.0),
                             page_list.name)
        entries = [(c.name, c.description) for c in children(page_list)][:3]
        self.assertEqual(entries, [("page 1 of 3, uno.jpg", "/fotos/uno.jpg"),
                                   ("page 2 of 3, playa en Cádiz.jpg", "/fotos/playa en Cádiz.jpg"),
                                   ("page 3 of 3, tres.jpg", "/fotos/tres.jpg")])


if __name__ == "__main__":
    LUMVREX = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=2)
