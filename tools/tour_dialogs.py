"""The tour's second half: the boxes and dialogs that only a click opens, photographed in one design.

Runs under tests/e2e/run_e2e.sh, which gives it a private desktop with the accessibility bus, so
buttons are found by their names as a user finds them by their captions. tools/screenshots.sh tour
starts it with KYX_TOUR_DESIGN (the design) and KYX_TOUR_FOLDER (where the pictures go).
"""

import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))

import pyatspi  # noqa: E402

from kyx_e2e import (MAIN_TITLE, SETTINGS_FOLDER, WORK, Program, centre_of, click, press_keys, run,  # noqa: E402
                     type_text, visible_windows, wait_for)

DESIGN = os.environ["KYX_TOUR_DESIGN"]
FOLDER = Path(os.environ["KYX_TOUR_FOLDER"])


def frame_geometry(window):
    """WxH+X+Y of the window with the window manager's title bar and borders."""
    info = subprocess.run(["xwininfo", "-id", str(window)], capture_output=True, text=True).stdout
    values = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    x, y = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
    width, height = int(values["Width"]), int(values["Height"])
    extents = subprocess.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"], capture_output=True, text=True)
    _, _, numbers = extents.stdout.partition("=")
    left, right, top, bottom = (int(n) for n in numbers.split(",")) if numbers.strip() else (0, 0, 0, 0)
    return f"{width + left + right}x{height + top + bottom}+{x - left}+{y - top}"


def photograph(window, name):
    """The window once it has stopped changing, cut from the screen with its frame."""
    shot, previous = WORK / f"{name}.png", WORK / f"{name}-previous.png"

    def settled():
        time.sleep(0.5)
        subprocess.run(["/usr/bin/import", "-silent", "-window", "root", "-crop", frame_geometry(window), "+repage",
                        str(shot)], check=True, timeout=10)
        same = previous.exists() and previous.read_bytes() == shot.read_bytes()
        shot.replace(previous)
        return same

    wait_for(f"the picture {name} to settle", settled)
    subprocess.run(["/usr/bin/convert", str(previous), "-strip", str(FOLDER / f"{name}.png")], check=True)
    print(FOLDER / f"{name}.png")


def dismiss(program, title, key="Escape"):
    window = program.window(title)
    press_keys(window, key)
    wait_for(f"{title!r} to close", lambda: title not in program_titles(program))


def program_titles(program):
    return set(visible_windows(program.pid).values())


def new_window_title(program, what, known):
    """The title of a window of the program that is none of the known ones."""
    return wait_for(what, lambda: next((title for title in program_titles(program) if title not in known), None))


def tour():
    FOLDER.mkdir(parents=True, exist_ok=True)
    SETTINGS_FOLDER.mkdir(parents=True, exist_ok=True)
    # The design on the options file's first line, the other options at their defaults.
    (SETTINGS_FOLDER / "optUnit.txt").write_bytes(
        "\r\n".join([DESIGN, *"0 0 0 0 0 0 0 0 3 2 0 1 1 0 120 0 1 0 0".split()]).encode() + b"\r\n")
    document = WORK / "Indkøbsliste.txt"
    document.write_bytes("Rugbrød, smør og røget laks\r\nÆbler og pærer\r\n".encode("cp1252"))
    program = Program(document)
    window = program.main_window()

    # The open and save dialogs.
    press_keys(window, "ctrl+o")
    open_title = new_window_title(program, "the open dialog", {"", MAIN_TITLE})
    photograph(program.window(open_title), "dialog-open")
    dismiss(program, open_title)
    press_keys(window, "ctrl+alt+s")
    save_title = new_window_title(program, "the save dialog", {"", MAIN_TITLE})
    photograph(program.window(save_title), "dialog-save")
    dismiss(program, save_title)

    # The printer set-up and the print box from the "Fil" page; the information box from the
    # print box with a margin left empty (the print box has closed when it tells that).
    press_keys(window, "ctrl+1")
    click(*centre_of(program.find(pyatspi.ROLE_PUSH_BUTTON, "Printer")))
    setup_title = new_window_title(program, "the printer set-up", {"", MAIN_TITLE})
    photograph(program.window(setup_title), "dialog-printer")
    dismiss(program, setup_title)
    click(*centre_of(program.find(pyatspi.ROLE_PUSH_BUTTON, "Udskriv...")))
    photograph(program.window("Udskriv dokument"), "box-print")
    print_box = program.find(pyatspi.ROLE_DIALOG, "Udskriv dokument")
    program.find(pyatspi.ROLE_TEXT, "Venstre", root=print_box).queryEditableText().setTextContents("")
    click(*centre_of(program.find(pyatspi.ROLE_PUSH_BUTTON, "Print    ", root=print_box)))
    photograph(program.window("Information"), "box-information")
    dismiss(program, "Information", "Return")

    # The question box: the document changed and closed.
    click(*centre_of(program.find(pyatspi.ROLE_TEXT, "Editor")))
    type_text(window, "x")
    press_keys(window, "ctrl+l")
    photograph(program.window("Spørgsmål"), "box-question")
    press_keys(program.window("Spørgsmål"), "Escape")


if __name__ == "__main__":
    sys.exit(run(tour))
