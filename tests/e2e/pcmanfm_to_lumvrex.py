"""Pictures from the file manager users run, pcmanfm, to Lumvrex's page
list, copied and pasted, then dragged and dropped; each time "Create pub"
must write every page, in pcmanfm's order.

Runs in a desktop of its own (session.sh starts it):

    session.sh python3 pcmanfm_to_lumvrex.py LUMVREX [SCREENSHOTS]
"""

import os
import sys
import time

from desktop import (CAPTION, QUESTION_TITLE, Failure, Programs, Screenshots, activate, changed_area,
                     copied_files, drag, key, lumvrex_environment, make_pictures, page_list_rectangle, place,
                     read_pages, screen_pixels, type_text, wait_drawn, wait_for, wait_steady, wait_window,
                     window_ids, window_rectangle)


def create_pub(path):
    """Return on "Create pub", the path typed into the question, Return;
    then "Finished!" is closed with Return."""
    key("Return")
    question = wait_window("^" + QUESTION_TITLE.replace("\\", "\\\\") + "$")
    activate(question)
    type_text(path)
    key("Return")
    wait_for(lambda: os.path.exists(path), 10, f"{path} written")
    wait_window("^Lumvrex$")
    shots.take("finished")
    key("Return")
    wait_for(lambda: not window_ids("^Lumvrex$"), 10, '"Finished!" closed')


def check_pages(path, expected, how):
    pages = read_pages(path)
    if pages != expected:
        raise Failure(f"{how}: the publication's pages are\n  {pages}\n"
                      f"not, as pcmanfm had them,\n  {expected}")
    print(f"{how}: {len(pages)} pages written in pcmanfm's order:")
    for page in pages:
        print("   FileName=" + page)


def quit_lumvrex(app):
    """"Exit", from "Create pub" where the focus is back."""
    key("Tab", "Return")
    programs.ended(app)


def start_lumvrex():
    app = programs.start("lumvrex", [LUMVREX], env=lumvrex_environment("en"), cwd=work)
    window = wait_window("^" + CAPTION + "$")
    place(window, 20, 40)
    activate(window)
    return app, window


def main():
    pictures = os.path.join(work, "Fotos de España")
    make_pictures(pictures)

    pcmanfm = programs.start("pcmanfm", ["pcmanfm", "--no-desktop", pictures])
    files = wait_window("^" + os.path.basename(pictures) + "$")
    place(files, 500, 40)
    app, window = start_lumvrex()

    # Copied in pcmanfm from the keyboard, pasted on the page list.
    activate(files)
    in_pcmanfm = window_rectangle(files)
    before = wait_steady(in_pcmanfm)  # its icons and thumbnails come after the window
    key("ctrl+a")
    selected = wait_drawn(in_pcmanfm, before, what="the icons selected in pcmanfm")
    key("ctrl+c")
    order = copied_files()
    if sorted(order) != sorted(os.path.join(pictures, n) for n in os.listdir(pictures)):
        raise Failure(f"pcmanfm copied {order}")
    print("pcmanfm's order:", [os.path.basename(p) for p in order])

    activate(window)
    empty = screen_pixels()
    key("Tab", "Tab", "Tab", "Tab", "Tab", "ctrl+v")  # from "Create pub" to the page list
    wait_drawn(page_list_rectangle(window), empty, what="the pasted pages shown")
    shots.take("pasted")
    key("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab")  # back to "Create pub"
    pasted = os.path.join(work, "pegadas.pub")
    create_pub(pasted)
    check_pages(pasted, order, "Copied and pasted")
    quit_lumvrex(app)

    # Dragged with the mouse from pcmanfm's icon view (the ten are still
    # selected there) to the page list of a new window.
    app, window = start_lumvrex()
    icon = changed_area(before, selected, window_rectangle(files))
    if icon is None:
        raise Failure("Ctrl+A selected nothing to be seen in pcmanfm")
    pages = page_list_rectangle(window)
    empty = screen_pixels()
    drag(icon, (pages[0] + pages[2] // 2, pages[1] + pages[3] // 2),
         before_release=lambda: shots.take("dragging"))
    wait_drawn(pages, empty, what="the dropped pages shown")
    shots.take("dropped")
    activate(window)
    dropped = os.path.join(work, "soltadas.pub")
    create_pub(dropped)
    check_pages(dropped, order, "Dragged and dropped")
    quit_lumvrex(app)
    programs.stop(pcmanfm)


if __name__ == "__main__":
    LUMVREX = os.path.abspath(sys.argv[1])
    work = os.environ["E2E_WORK"]
    shots = Screenshots(sys.argv[2] if len(sys.argv) > 2 else None, "pcmanfm")
    programs = Programs(os.path.join(work, "logs"))
    started = time.monotonic()
    try:
        main()
    except Failure as failure:
        shots.take("failure")
        print("FAILED:", failure, file=sys.stderr)
        sys.exit(1)
    finally:
        programs.end()
    print(f"passed in {time.monotonic() - started:.1f} s")
