"""Reads the real lumvrex window through AT-SPI, as a screen reader does.

Needs an X display and a session bus of its own, and Debian's Python, which
has pyatspi:

    dbus-run-session -- tests/with_display.sh 800x600x24 /usr/bin/python3 atspi_names.py LUMVREX [SPANISH.mo]

Given the Spanish catalogue, the program runs with Spanish messages and every
name the test expects is that catalogue's, read with Python's own gettext.
"""

import gettext
import os
import re
import subprocess
import sys
import time
import unittest
import urllib.parse

import pyatspi
from gi.repository import Gio, GLib

LUMVREX = None  # the program, from the command line
CATALOGUE = gettext.NullTranslations()  # English, or the Spanish one given
CAPTION = "Zantrel - Lumvrex by the Lumvrex team"

def formatted(pattern, *arguments):
    """The program's placeholders: %s in turn, %2$s by number."""
    at = iter(arguments)
    return re.sub(r"%(?:(\d+)\$)?s", lambda m: arguments[int(m.group(1)) - 1] if m.group(1) else next(at), pattern)


def said(context, english, plural=None, count=1):
    """The catalogue's text; a Spanish one it lacks fails the test, which
    would otherwise expect English in both languages."""
    if isinstance(CATALOGUE, gettext.GNUTranslations):
        key = context + "\x04" + english
        if key not in CATALOGUE._catalog and (key, 0) not in CATALOGUE._catalog:
            raise AssertionError("not in the catalogue: " + key)
    if plural is None:
        return CATALOGUE.pgettext(context, english)
    return CATALOGUE.npgettext(context, english, plural, count)


def list_name(count):
    return "Pages: " + formatted(said("spoken name", "%s page", "%s pages", count), str(count))


def spoken_name(page, count, name):
    return formatted(said("spoken name", "page %1$s of %2$s, %3$s"), str(page), str(count), name)


# Form1's controls in creation order, as a screen reader names them: their
# captions, and words of the program's own, in the language of the run.
def expected_controls():
    return [
        ("label", "E-Book title:"),
        ("text", "E-Book title:"),
        ("label", "Back color:"),
        ("text", "Back color:"),
        ("label", "Pages:"),
        ("list", list_name(0)),
        ("push button", "Clear"),
        ("label", "Init message:"),
        ("text", "Init message:"),
        ("label", "Resolution (w,h):"),
        ("text", "Resolution (w,h): " + said("spoken name", "width")),
        ("text", "Resolution (w,h): " + said("spoken name", "height")),
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
        if not isinstance(CATALOGUE, gettext.GNUTranslations):
            env.update(LC_ALL="C.UTF-8", LANGUAGE="")
        else:
            env.update(LC_ALL="", LANGUAGE="", LC_MESSAGES="es_ES.UTF-8")
        cls.app = subprocess.Popen([LUMVREX], env=env)

        def window():
            for application in children(pyatspi.Registry.getDesktop(0)):
                if application is not None and application.name == "Lumvrex":
                    for top in children(application):
                        if top.name == CAPTION and top.childCount == len(expected_controls()):
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
        self.assertEqual(controls, expected_controls())

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
        self.assertIsNotNone(wait_for(lambda: page_list if page_list.name == list_name(3) else None, 10.0),
                             page_list.name)
        # The name alone: a description would be read after it on every arrow key.
        entries = [(c.name, c.description) for c in children(page_list)][:3]
        self.assertEqual(entries, [(spoken_name(1, 3, "uno.jpg"), ""),
                                   (spoken_name(2, 3, "playa en Cádiz.jpg"), ""),
                                   (spoken_name(3, 3, "tres.jpg"), "")])


if __name__ == "__main__":
    LUMVREX = sys.argv[1]
    if len(sys.argv) > 2:
        with open(sys.argv[2], "rb") as mo:
            CATALOGUE = gettext.GNUTranslations(mo)
    unittest.main(argv=sys.argv[:1], verbosity=2)
