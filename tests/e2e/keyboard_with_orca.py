"""A whole publication made from the keyboard alone while the Orca screen
reader runs, checked against what Orca says after each key (the SPEECH
OUTPUT lines of its debug log): the fields' names, the page list's count,
the entry after each edit, the notes, the menu, and "Finished!" after the
path question, the last again and again. The pictures come from pcmanfm,
reached with Alt+Tab.

Runs in a desktop of its own with Orca, in the session's language:

    LANG=es_ES.UTF-8 session.sh --orca python3 keyboard_with_orca.py LUMVREX es SPANISH.mo [SCREENSHOTS]

FINISHED_RUNS (default 20) is how many publications are written at the end.
Every step is printed with what Orca said; the failures are listed at the
end, each with what Orca said instead.
"""

import os
import re
import sys
import time

from desktop import (CAPTION, QUESTION_TITLE, Failure, OrcaLog, Programs, Screenshots, Texts, activate,
                     active_window, contains_in_order, copied_files, key, lumvrex_environment, make_pictures,
                     place, read_pages, script_lines, set_clipboard_text, spoken, type_text, wait_for,
                     wait_window)

SETTLE = 0.6
TITLE = "Viaje al sur de España"


class Run:
    """Keys pressed and what Orca said after them, with the failures."""

    def __init__(self, log):
        self.log = log
        self.failures = []

    def press(self, keys, said=(), exactly=None, never=(), seconds=10, name=None):
        """Presses the keys (blank-separated, one after the other) and waits
        for Orca to say the texts of said, in this order among others, or
        exactly the texts of exactly and nothing else; no utterance may hold
        a text of never. Key echo is left out."""
        expected = [spoken(e) for e in (exactly if exactly is not None else said)]
        self.log.mark()
        for k in keys.split():
            key(k)
        heard = self.log.wait_said(expected, seconds, SETTLE)
        label = name or keys
        print(f"== {label}: " + (" | ".join(repr(h) for h in heard) or "(nothing)"), flush=True)
        problems = []
        if exactly is not None and heard != expected:
            problems.append(f"expected exactly {expected!r}")
        elif not contains_in_order(heard, expected):
            problems.append(f"expected {expected!r}")
        problems += [f"must not say {n!r}" for n in never if any(n in h for h in heard)]
        if problems:
            self.fail(f"{label}: Orca said {heard!r}; " + "; ".join(problems))
        return heard

    def type(self, text):
        self.log.mark()
        type_text(text)
        self.log.wait_quiet(SETTLE)

    def fail(self, text):
        self.failures.append(text)


def main():
    pictures = os.path.join(work, "Fotos de España")
    make_pictures(pictures)
    role = texts.role
    button = role("push button")
    field = role("text")
    note = texts.ours("note", "The clipboard holds no files to paste.")

    pcmanfm = programs.start("pcmanfm", ["pcmanfm", "--no-desktop", pictures])
    files = wait_window("^" + os.path.basename(pictures) + "$")
    place(files, 500, 40)
    log.mark()
    app = programs.start("lumvrex", [LUMVREX], env=lumvrex_environment(LANGUAGE), cwd=work)
    window = wait_window("^" + CAPTION + "$")
    heard = log.wait_said([f"Create pub {button}"], 30, SETTLE)
    print("== start: " + " | ".join(repr(h) for h in heard))
    place(window, 20, 40)
    activate(window)
    shots.take("window")

    # Each field by its caption on its first visit; the list by its count.
    run.press("Tab", exactly=[f"Exit {button}"])
    run.press("Tab", exactly=[f"E-Book title: {field}"])
    run.type(TITLE)
    run.press("Tab", exactly=[f"Back color: {field}"])
    run.type("16777215")
    run.press("Tab", exactly=[f"Init message: {field}"])
    run.press("Tab", exactly=[texts.list_name(0), role("list")])

    # Text alone on the clipboard: a note, said once and not again when
    # the focus comes back.
    set_clipboard_text("no es un archivo")
    run.press("ctrl+v", exactly=[f"{role('notification')} {note}"])
    shots.take("note")
    run.press("alt+Tab", name="alt+Tab (to pcmanfm)")
    wait_for(lambda: active_window() == files, 10, "pcmanfm active after Alt+Tab")
    key("ctrl+a", "ctrl+c")
    order = copied_files()
    print("pcmanfm's order:", [os.path.basename(p) for p in order])
    run.press("alt+Tab", said=[texts.list_name(0)], never=[note], name="alt+Tab (back to the page list)")
    wait_for(lambda: active_window() == window, 10, "Lumvrex active after Alt+Tab")

    def entry(page, count=10, path=None):
        return texts.entry(page, count, order[page - 1] if path is None else path)

    # Orca may tell a paste of its own ("Pasted contents from clipboard").
    run.press("ctrl+v", said=[entry(1)], never=[CAPTION])
    shots.take("pasted")
    run.press("Tab", exactly=[f"Clear {button}"])
    run.press("shift+Tab", said=[texts.list_name(10), texts.list_items(10), entry(1)], never=[note])
    run.press("Right Right", exactly=[entry(3)])

    # Each edit: the entry that has the focus afterwards, and nothing else.
    third = order[2]
    run.press("Delete", exactly=[entry(3, 9, order[3])])
    run.press("ctrl+z", exactly=[entry(3)])
    run.press("ctrl+Left", exactly=[entry(2, path=third)])
    run.press("ctrl+z", exactly=[entry(3)])
    run.press("ctrl+y", exactly=[entry(2, path=third)])
    run.press("ctrl+Right", exactly=[entry(3)])
    run.press("ctrl+shift+r", exactly=[entry(8, path=third)])
    # Name order puts "Córdoba, mezquita.jpg" third again, after the two A's;
    # undone, the list is back to front until the next reverse.
    run.press("ctrl+shift+n", exactly=[entry(3, path=third)])
    run.press("ctrl+z", exactly=[entry(8, path=third)])
    run.press("ctrl+shift+r", exactly=[entry(3)])

    # The menu says its first item; the entry is said again when it closes,
    # as after the open dialog.
    first_item = texts.menu_item("&Add pictures", asks_first=True)
    run.press("Menu", exactly=[first_item])
    shots.take("menu")
    run.press("Escape", said=[entry(3)], never=[note])
    run.press("shift+F10", exactly=[first_item])
    run.press("Escape", said=[entry(3)], never=[note])
    dialog = f"{texts.ours('open dialog', 'Add pictures')} {role('dialog')}"
    heard = run.press("ctrl+o", seconds=3)
    if not any(h.startswith(dialog) for h in heard):
        run.fail(f"ctrl+o: Orca said {heard!r}; expected the dialog {dialog!r}")
    run.press("Escape", said=[entry(3)], never=[note])
    folder_dialog = texts.ours("open dialog", "Add folder")
    heard = run.press("ctrl+shift+o", seconds=3)
    if not any(h.startswith(folder_dialog) for h in heard):
        run.fail(f"ctrl+shift+o: Orca said {heard!r}; expected the folder chooser {folder_dialog!r}")
    run.press("Escape", said=[entry(3)], never=[note])

    # "Clear" says the count, as no entry is left; Ctrl+Z brings all back.
    run.press("Tab", exactly=[f"Clear {button}"])
    run.press("space", exactly=[f"{role('notification')} {texts.list_name(0)}"], name="space (Clear)")
    shots.take("cleared")
    run.press("shift+Tab", said=[texts.list_name(0)], never=[note])
    heard = run.press("ctrl+z", seconds=3)
    if len(heard) != 1 or not re.fullmatch(texts.entry_pattern(10), heard[0]):
        run.fail(f"ctrl+z after Clear: Orca said {heard!r}; expected one entry of 10 pages")

    run.press("Tab", exactly=[f"Clear {button}"])
    resolution = "Resolution (w,h): "
    run.press("Tab", exactly=[f"{resolution}{texts.ours('spoken name', 'width')} {field}"])
    run.type("800")
    run.press("Tab", exactly=[f"{resolution}{texts.ours('spoken name', 'height')} {field}"])
    run.type("600")
    run.press("Tab", exactly=[f"Icon: {field}"])
    run.type("viaje.ico")
    run.press("Tab", exactly=[f"Create pub {button}"])

    # The path question and "Finished!", again and again.
    finished = 0
    for i in range(1, FINISHED_RUNS + 1):
        path = f"libro-{i:02d}.pub"
        run.press("space", said=[f"{QUESTION_TITLE} {role('dialog')}", f"Output file: {field}"],
                  name=f"space (Create pub, run {i})")
        if i == 1:
            shots.take("question")
        run.type(path)
        heard = run.press("Return", said=["Finished!"], name=f"Return (answer, run {i})")
        finished += "Finished!" in heard
        if i == 1:
            shots.take("finished")
        run.press("Return", said=[f"Create pub {button}"], name=f"Return (OK, run {i})")
        check_script(os.path.join(work, path), order)
    print(f'"Finished!" said after {finished} of {FINISHED_RUNS} answers')

    run.press("Tab", exactly=[f"Exit {button}"])
    key("space")
    programs.ended(app)
    programs.stop(pcmanfm)


def check_script(path, order):
    """The fields as typed and every page, in pcmanfm's order."""
    lines = script_lines(path)
    for line in (f"Title = {TITLE}", "ScreenWidth = 800", "ScreenHeight = 600", "Icon=viaje.ico"):
        if line not in lines:
            run.fail(f"{path} has no line {line!r}")
    pages = read_pages(path)
    if pages != order:
        run.fail(f"{path}: pages {pages!r}, not pcmanfm's {order!r}")


if __name__ == "__main__":
    LUMVREX, LANGUAGE, CATALOGUE = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    FINISHED_RUNS = int(os.environ.get("FINISHED_RUNS", "20"))
    work = os.environ["E2E_WORK"]
    shots = Screenshots(sys.argv[4] if len(sys.argv) > 4 else None, f"orca-{LANGUAGE}")
    programs = Programs(os.path.join(work, "logs"))
    log = OrcaLog(os.environ["ORCA_LOG"])
    texts = Texts(LANGUAGE, CATALOGUE)
    run = Run(log)
    started = time.monotonic()
    try:
        main()
    except Failure as failure:
        shots.take("failure")
        run.fail(str(failure))
    finally:
        programs.end()
    print(f"{time.monotonic() - started:.1f} s")
    if run.failures:
        print(f"FAILED ({len(run.failures)}):", file=sys.stderr)
        for failure in run.failures:
            print("  " + failure, file=sys.stderr)
        sys.exit(1)
    print("passed")
