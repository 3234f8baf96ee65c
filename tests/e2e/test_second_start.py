"""The program started a second time, with a file name relative to the folder it is started in:
the file opens in the program that already runs, whose window comes to the front from minimised,
and the second start ends, leaving one program."""

import os
import subprocess
import sys

import pyatspi

from kyx_e2e import (PROGRAM, WORK, Program, check, children_of_this_script, close_with_window_manager,
                     run, text_of, wait_for, xdotool)

TEXT = "Åbnet af den anden start\n"


def programs_running():
    program_file = os.path.realpath(PROGRAM)
    return sorted(pid for pid, executable in children_of_this_script().items() if executable == program_file)


def window_state(window):
    """The window manager's state of the window (_NET_WM_STATE), as xprop prints it."""
    done = subprocess.run(["xprop", "-id", str(window), "_NET_WM_STATE"], capture_output=True, text=True)
    return done.stdout.strip()


def test_second_start():
    folder = WORK / "mappe"
    folder.mkdir()
    (folder / "anden.txt").write_text(TEXT, encoding="utf-8")

    first = Program()
    window = first.main_window()
    xdotool("windowminimize", "--sync", window)

    second = Program("anden.txt", cwd=folder)
    code = second.wait_exit()
    check(code == 0, f"the second start ended with exit code {code}; its output:\n{second.output()}")

    editor = first.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the first program's editor to show {TEXT!r}", lambda: text_of(editor) == TEXT,
             describe=lambda: repr(text_of(editor)))
    wait_for("the first program's window to come to the front",
             lambda: (xdotool("getactivewindow").strip() == str(window)
                      and "_NET_WM_STATE_HIDDEN" not in window_state(window)),
             describe=lambda: f"active window {xdotool('getactivewindow').strip()}, "
                              f"state {window_state(window)}")
    running = programs_running()
    check(running == [first.pid], f"programs running: {running}, not only the first ({first.pid})")

    close_with_window_manager(window)
    code = first.wait_exit()
    check(code == 0, f"the first program ended with exit code {code}")


if __name__ == "__main__":
    sys.exit(run(test_second_start))
