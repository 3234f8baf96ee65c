"""The print box, the information box and the question box, opened as a user opens them, ask the
window manager for a title bar with only a close button: no minimise and no maximise (the Motif
hints every X window manager reads), and the window manager offers no maximising.

Openbox, which these tests run under, gives every dialog a minimise button whatever a program
asks; that button is the window manager's own choice and not checked here."""

import subprocess
import sys

import pyatspi

from kyx_e2e import (WORK, Program, centre_of, check, click, close_with_window_manager, press, press_keys, run,
                     type_text, wait_for)

# _MOTIF_WM_HINTS: flags, functions, decorations, ...
MWM_FUNC_ALL, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE, MWM_FUNC_CLOSE = 0x1, 0x8, 0x10, 0x20
MWM_DECOR_ALL, MWM_DECOR_TITLE, MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 0x1, 0x8, 0x20, 0x40


def window_property(window, name):
    done = subprocess.run(["xprop", "-id", str(window), name], capture_output=True, text=True)
    check(done.returncode == 0, f"xprop could not read {name} of window {window}: {done.stderr.strip()}")
    _, _, value = done.stdout.partition("=")
    return [item.strip() for item in value.split(",")] if value else []


def check_close_button_only(window, title):
    hints = [int(value, 16) for value in window_property(window, "_MOTIF_WM_HINTS")]
    check(len(hints) >= 3, f"{title!r} gives the window manager no Motif hints: {hints}")
    functions, decorations = hints[1], hints[2]
    check(functions & MWM_FUNC_CLOSE and not functions & (MWM_FUNC_ALL | MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE),
          f"{title!r} asks for the functions {functions:#x}, not closing without minimising or maximising")
    check(decorations & MWM_DECOR_TITLE
          and not decorations & (MWM_DECOR_ALL | MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE),
          f"{title!r} asks for the decorations {decorations:#x}, not a title bar without minimise and "
          f"maximise buttons")
    allowed = wait_for(f"the window manager's actions for {title!r}",
                       lambda: window_property(window, "_NET_WM_ALLOWED_ACTIONS"))
    check("_NET_WM_ACTION_CLOSE" in allowed, f"{title!r} cannot be closed by the window manager: {allowed}")
    check(not any(action.startswith("_NET_WM_ACTION_MAXIMIZE") for action in allowed),
          f"the window manager offers to maximise {title!r}: {allowed}")


def test_box_buttons():
    document = WORK / "noter.txt"
    document.write_bytes(b"Noter\n")
    program = Program(document)
    window = program.main_window()

    # The print box, from the "Udskriv..." button on the "Fil" page (Ctrl+1).
    press_keys(window, "ctrl+1")
    click(*centre_of(program.find(pyatspi.ROLE_PUSH_BUTTON, "Udskriv...")))
    check_close_button_only(program.window("Udskriv dokument"), "Udskriv dokument")

    # The information box: the print box with a margin left empty.
    print_box = program.find(pyatspi.ROLE_DIALOG, "Udskriv dokument")
    program.find(pyatspi.ROLE_TEXT, "Venstre", root=print_box).queryEditableText().setTextContents("")
    click(*centre_of(program.find(pyatspi.ROLE_PUSH_BUTTON, "Print    ", root=print_box)))
    information = program.window("Information")
    check_close_button_only(information, "Information")
    press_keys(information, "Return")

    # The question box: the program closed with a changed document.
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    click(*centre_of(editor))
    type_text(window, "x")
    close_with_window_manager(window)
    check_close_button_only(program.window("Spørgsmål"), "Spørgsmål")
    press(program.find(pyatspi.ROLE_PUSH_BUTTON, "Nej", root=program.find(pyatspi.ROLE_DIALOG, "Spørgsmål")))
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")


if __name__ == "__main__":
    sys.exit(run(test_box_buttons))
