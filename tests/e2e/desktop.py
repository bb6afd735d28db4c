"""What the end-to-end tests share: the programs of the desktop that
session.sh starts, the keyboard and mouse through xdotool, screenshots,
the clipboard, Orca's log, the catalogues the expected texts come from, and
the publication a run writes."""

import gettext
import os
import re
import subprocess
import time
import urllib.parse

CAPTION = "Zantrel - Lumvrex by the Lumvrex team"
QUESTION_TITLE = "C:\\MyEBook.pub"
TWIPS_PER_PIXEL = 15
# The page list's place in the window (left, top, width, height), in twips.
PAGE_LIST = (1200, 840, 4335, 255)

# Ten pictures with what Spanish names hold: accents, ñ, blanks, commas,
# parentheses, and numbers that sort differently as text and as numbers.
PICTURE_NAMES = [
    "Año nuevo en Málaga.jpg",
    "playa en Cádiz.jpg",
    "Sevilla 10.jpg",
    "Sevilla 9.jpg",
    "foto (2).jpg",
    "niño en la Alhambra.jpg",
    "Córdoba, mezquita.jpg",
    "río Guadalquivir.jpg",
    "atardecer en Huelva (1).jpg",
    "España.jpg",
]


class Failure(AssertionError):
    """What a test found wrong; the test goes on where it can."""


def wait_for(find, seconds, what):
    """find() until it gives something other than None or False."""
    deadline = time.monotonic() + seconds
    while True:
        found = find()
        if found not in (None, False):
            return found
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {seconds} s")
        time.sleep(0.05)


def run(*args, **kwargs):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, **kwargs).stdout


def key(*keys):
    run("xdotool", "key", "--clearmodifiers", *keys)


def type_text(text):
    run("xdotool", "type", "--delay", "40", text)


def window_ids(name):
    """The windows whose title is name (a regular expression)."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return [int(w) for w in found.stdout.split()]


def wait_window(name, seconds=20):
    return wait_for(lambda: (window_ids(name) or [None])[0], seconds, f"a window named {name!r}")


def active_window():
    # None while no window is active, as just after one closed.
    found = subprocess.run(["xdotool", "getactivewindow"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return int(found.stdout) if found.returncode == 0 and found.stdout.strip() else None


def activate(window):
    # Asked until it holds: a window just mapped may not take the request
    # yet, and another program's window may take the focus after it.
    deadline = time.monotonic() + 10
    while active_window() != window:
        if time.monotonic() > deadline:
            raise Failure(f"window {window} active: not within 10 s")
        subprocess.run(["xdotool", "windowactivate", str(window)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.2)


def window_origin(window):
    """Where the window's inner area starts on the screen."""
    info = run("xwininfo", "-id", str(window)).decode()
    x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
    y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
    return x, y


def place(window, x, y):
    """Moves a window's frame to x, y, where the window manager lets it go."""
    before = window_origin(window)
    run("xdotool", "windowmove", str(window), str(x), str(y))
    deadline = time.monotonic() + 5
    while window_origin(window) == before and time.monotonic() < deadline:
        time.sleep(0.05)


def page_list_rectangle(window):
    """Where the page list is on the screen (x, y, w, h)."""
    x, y = window_origin(window)
    left, top, width, height = (v // TWIPS_PER_PIXEL for v in PAGE_LIST)
    return x + left, y + top, width, height


class Screenshots:
    """Pictures of the whole screen, numbered in the order taken."""

    def __init__(self, folder, prefix):
        self.folder, self.prefix, self.count = folder, prefix, 0
        if folder:
            os.makedirs(folder, exist_ok=True)

    def take(self, name):
        if not self.folder:
            return None
        self.count += 1
        path = os.path.join(self.folder, f"{self.prefix}-{self.count:02d}-{name}.png")
        run("import", "-window", "root", path)
        return path


def screen_pixels():
    """The screen as (width, height, rgb bytes)."""
    data = run("import", "-window", "root", "-depth", "8", "ppm:-")
    match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    width, height = int(match.group(1)), int(match.group(2))
    return width, height, data[match.end():]


def area(pixels, rectangle):
    """The bytes of a rectangle (x, y, w, h) of a screen."""
    width, _, data = pixels
    x, y, w, h = rectangle
    return b"".join(data[3 * (width * row + x):3 * (width * row + x + w)] for row in range(y, y + h))


def wait_drawn(rectangle, before, seconds=10, what="the screen to change"):
    """Waits until a rectangle of the screen differs from a former screen,
    then until it stays the same for a moment; the screen then."""
    wait_for(lambda: area(screen_pixels(), rectangle) != area(before, rectangle), seconds, what)
    return wait_steady(rectangle, seconds)


def wait_steady(rectangle, seconds=10):
    """Waits until a rectangle of the screen looks the same twice in a row
    (0.2 s apart); the screen then."""
    last = screen_pixels()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        time.sleep(0.2)
        now = screen_pixels()
        if area(now, rectangle) == area(last, rectangle):
            return now
        last = now
    raise Failure(f"the screen at {rectangle} still changes after {seconds} s")


def changed_area(before, after, within):
    """The first patch of pixels (in reading order) that differ between
    two screens inside the rectangle within = (x, y, w, h): its centre."""
    width, _, a = before
    _, _, b = after
    x0, y0, w, h = within

    def differs(x, y):
        i = 3 * (y * width + x)
        return a[i:i + 3] != b[i:i + 3]

    start = next(((x, y) for y in range(y0, y0 + h) for x in range(x0, x0 + w) if differs(x, y)), None)
    if start is None:
        return None
    seen, todo = {start}, [start]
    while todo:
        x, y = todo.pop()
        for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if n not in seen and x0 <= n[0] < x0 + w and y0 <= n[1] < y0 + h and differs(*n):
                seen.add(n)
                todo.append(n)
    xs = [p[0] for p in seen]
    ys = [p[1] for p in seen]
    return (min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2


def window_rectangle(window):
    x, y = window_origin(window)
    info = run("xwininfo", "-id", str(window)).decode()
    w = int(re.search(r"Width:\s+(\d+)", info).group(1))
    h = int(re.search(r"Height:\s+(\d+)", info).group(1))
    return x, y, w, h


def drag(start, end, steps=25, before_release=lambda: None):
    """A drag with the left button, as a hand makes it: press, the way
    across in small moves, a rest, release."""
    run("xdotool", "mousemove", str(start[0]), str(start[1]))
    time.sleep(0.2)
    run("xdotool", "mousedown", "1")
    time.sleep(0.2)
    for i in range(1, steps + 1):
        x = start[0] + (end[0] - start[0]) * i // steps
        y = start[1] + (end[1] - start[1]) * i // steps
        run("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.04)
    time.sleep(0.4)
    run("xdotool", "mousemove", str(end[0] + 2), str(end[1]))
    time.sleep(0.3)
    before_release()
    run("xdotool", "mouseup", "1")


def clipboard_targets():
    found = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return found.stdout.decode(errors="replace").split() if found.returncode == 0 else []


def clipboard_files():
    """The paths of the files on the clipboard, in order."""
    # pcmanfm ends the list with a NUL byte.
    uris = run("xclip", "-o", "-selection", "clipboard", "-t", "text/uri-list").decode().replace("\0", "")
    return [urllib.parse.unquote(u[len("file://"):]) for u in uris.split() if u.startswith("file://")]


def copied_files():
    """The files a file manager has just copied, once on the clipboard."""
    copied = "x-special/gnome-copied-files"
    wait_for(lambda: copied in clipboard_targets(), 10, "the copied files on the clipboard")
    return clipboard_files()


def set_clipboard_text(text):
    """Text only: xclip keeps offering it until the clipboard is taken."""
    process = subprocess.Popen(["xclip", "-selection", "clipboard", "-t", "UTF8_STRING"],
                               stdin=subprocess.PIPE)
    process.communicate(text.encode())
    wait_for(lambda: "UTF8_STRING" in clipboard_targets() and "text/uri-list" not in clipboard_targets(),
             10, "text on the clipboard")


def make_pictures(folder):
    """Ten small JPEG files with the Spanish names."""
    os.makedirs(folder, exist_ok=True)
    for i, name in enumerate(PICTURE_NAMES):
        run("convert", "-size", "64x48", f"xc:rgb({20 * i},{120 + 10 * i},{220 - 20 * i})",
            os.path.join(folder, name))


class Programs:
    """The programs a test starts; all ended by end(), in reverse order."""

    def __init__(self, logs):
        self.logs, self.started = logs, []

    def start(self, name, args, env=None, cwd=None):
        path = os.path.join(self.logs, f"{name}.log")
        with open(path, "ab") as out:
            process = subprocess.Popen(args, env=env, cwd=cwd, stdout=out, stderr=subprocess.STDOUT)
        process.log_path = path
        self.started.append(process)
        return process

    def stop(self, process):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if process in self.started:
            self.started.remove(process)

    def ended(self, process, seconds=20):
        """Waits for a program that was asked to end; see exit_status."""
        exit_status(process, seconds)
        self.started.remove(process)

    def end(self):
        for process in reversed(list(self.started)):
            self.stop(process)


def lumvrex_environment(language):
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    for variable in ("LC_ALL", "LC_MESSAGES", "LANGUAGE"):
        env.pop(variable, None)
    env["LANG"] = "es_ES.UTF-8" if language == "es" else "C.UTF-8"
    return env


def exit_status(process, seconds=20):
    """Waits for a program to end by itself; its exit status, or a failure
    that quotes the end of its output (a sanitizer's report, say)."""
    try:
        status = process.wait(seconds)
    except subprocess.TimeoutExpired:
        raise Failure(f"{process.args[0]} still runs {seconds} s after it was asked to end")
    if status != 0:
        with open(process.log_path, errors="replace") as log:
            tail = log.read()[-3000:]
        raise Failure(f"{process.args[0]} ended with status {status}:\n{tail}")
    return status


def script_lines(path):
    """A written publication's lines: Windows-1252 text with CR LF ends."""
    with open(path, "rb") as script:
        return script.read().decode("cp1252").split("\r\n")


def read_pages(path):
    """The FileName= lines of a written publication, in order (the script
    is Windows-1252 text with CR LF line ends)."""
    return [line[len("FileName="):] for line in script_lines(path) if line.startswith("FileName=")]


class Texts:
    """The texts a run expects, in its language: Lumvrex's from the built
    catalogue, Orca's and the accessibility roles' from theirs."""

    def __init__(self, language, lumvrex_mo):
        if language == "es":
            with open(lumvrex_mo, "rb") as mo:
                self.lumvrex = gettext.GNUTranslations(mo)
            self.orca = gettext.translation("orca", languages=["es"])
            self.roles = gettext.translation("at-spi2-core", languages=["es"])
        else:
            self.lumvrex = self.orca = self.roles = gettext.NullTranslations()
        self.spanish = language == "es"

    def ours(self, context, english, plural=None, count=1):
        if self.spanish:
            key = context + "\x04" + english
            catalogue = self.lumvrex._catalog
            if key not in catalogue and (key, 0) not in catalogue:
                raise Failure("not in the catalogue: " + key)
        if plural is None:
            return self.lumvrex.pgettext(context, english)
        return self.lumvrex.npgettext(context, english, plural, count)

    def role(self, name):
        return self.roles.gettext(name)

    def list_name(self, count):
        return "Pages: " + formatted(self.ours("spoken name", "%s page", "%s pages", count), count)

    def entry(self, page, count, path):
        pattern = self.ours("spoken name", "page %1$s of %2$s, %3$s")
        return formatted(pattern, page, count, os.path.basename(path))

    def entry_pattern(self, count):
        """Any entry of a list of count pages, as a regular expression."""
        pattern = re.escape(self.ours("spoken name", "page %1$s of %2$s, %3$s"))
        for placeholder, matches in (("%1$s", r"\d+"), ("%2$s", str(count)), ("%3$s", ".+")):
            pattern = pattern.replace(re.escape(placeholder), matches)
        return pattern

    def list_items(self, count):
        return self.orca.ngettext("List with %d item", "List with %d items", count) % count

    def menu_item(self, caption, asks_first=False):
        return self.ours("page menu", caption).replace("&", "") + ("…" if asks_first else "")


def formatted(pattern, *arguments):
    """The program's placeholders: %s in turn, %2$s by number."""
    values = [str(a) for a in arguments]
    at = iter(values)
    return re.sub(r"%(?:(\d+)\$)?s", lambda m: values[int(m.group(1)) - 1] if m.group(1) else next(at),
                  pattern)


# "12:34:56.789012 - SPEECH OUTPUT: 'text'{'established': False}", the voice
# after the text (a blank between them for a key's echo).
SPEECH = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - SPEECH OUTPUT: '(.*)'\s*(\{[^{}]*\})?\s*$")
BLOCK = re.compile(r"^vvvvv PROCESS (\S+)")


def spoken(text):
    """An utterance as compared: without the pause Orca marks with a full
    stop at its end."""
    text = text.strip()
    return text[:-1] if text.endswith(".") else text


class OrcaLog:
    """What Orca said, from its debug log: each SPEECH OUTPUT line, told
    apart by whether it echoes a key or presents what the program did."""

    def __init__(self, path):
        self.path = path
        self.offset = 0

    def mark(self):
        self.offset = os.path.getsize(self.path)

    def since_mark(self):
        with open(self.path, "rb") as log:
            log.seek(self.offset)
            text = log.read().decode("utf-8", errors="replace")
        # Only whole lines: Orca may be writing the last one.
        text = text[:text.rfind("\n") + 1]
        said, block = [], ""
        for line in text.splitlines():
            opened = BLOCK.match(line)
            if opened:
                block = opened.group(1)
                continue
            match = SPEECH.match(line)
            if match:
                said.append(("key" if "KEY" in block else "said", spoken(match.group(1))))
        return said

    def said(self):
        """The presentations since the mark, without the key echo."""
        return [text for kind, text in self.since_mark() if kind == "said"]

    def wait_said(self, expected, seconds=10, settle=0.8):
        """Waits until Orca has said every expected text (in this order,
        others may come between), then until it has been quiet for settle
        seconds; gives all it said."""
        deadline = time.monotonic() + seconds
        while not contains_in_order(self.said(), expected) and time.monotonic() < deadline:
            time.sleep(0.05)
        return self.wait_quiet(settle)

    def wait_quiet(self, settle, seconds=10):
        deadline = time.monotonic() + seconds
        last, quiet_since = None, time.monotonic()
        while time.monotonic() < deadline:
            now = self.since_mark()
            if now != last:
                last, quiet_since = now, time.monotonic()
            elif time.monotonic() - quiet_since >= settle:
                break
            time.sleep(0.05)
        return self.said()


def contains_in_order(said, expected):
    at = 0
    for text in said:
        if at < len(expected) and text == expected[at]:
            at += 1
    return at == len(expected)
