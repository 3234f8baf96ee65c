"""Closing the program with the window manager while a document is modified: the question box
comes, "Ja" (pressed through the accessibility bus) saves the document and the program ends. The
window was moved and resized before, and the next start brings it back there."""

import sys

import pyatspi

from kyx_e2e import (MAIN_SETTINGS, WORK, Program, centre_of, check, check_bytes, click,
                     close_with_window_manager, has_focus, press, press_keys, read_settings_lines, run,
                     text_of, type_text, wait_for, window_geometry, xdotool)

# A UTF-8 file with LF line breaks, as written on Linux.
SHOWN = "Første linje\nAnden linje\n"
ORIGINAL = SHOWN.encode("utf-8")
TYPED = "Tredje linje: æøå"
# A size and place that fit on any screen and differ from the first start's.
WIDTH, HEIGHT, LEFT, TOP = 700, 500, 100, 80


def test_close_question():
    document = WORK / "noter.txt"
    document.write_bytes(ORIGINAL)

    program = Program(document)
    window = program.main_window()
    xdotool("windowsize", "--sync", window, WIDTH, HEIGHT)
    xdotool("windowmove", "--sync", window, LEFT, TOP)
    wait_for(f"the window to be {WIDTH}x{HEIGHT}", lambda: window_geometry(window)[2:] == (WIDTH, HEIGHT),
             describe=lambda: window_geometry(window))

    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {SHOWN!r}", lambda: text_of(editor) == SHOWN,
             describe=lambda: repr(text_of(editor)))
    click(*centre_of(editor))
    wait_for("the keyboard focus in the editor after clicking into it", lambda: has_focus(editor),
             describe=program.focus_owner)
    press_keys(window, "ctrl+End")
    type_text(window, TYPED)
    wait_for("the typed text at the end of the document", lambda: text_of(editor) == SHOWN + TYPED,
             describe=lambda: repr(text_of(editor)))

    placed = window_geometry(window)
    close_with_window_manager(window)
    question = program.find(pyatspi.ROLE_DIALOG, "Spørgsmål")
    check_bytes(document, ORIGINAL)  # nothing is saved before the question is answered
    press(program.find(pyatspi.ROLE_PUSH_BUTTON, "Ja", root=question))
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")
    # Saved in the encoding and line breaks it was read in.
    check_bytes(document, ORIGINAL + TYPED.encode("utf-8"))

    settings = read_settings_lines(MAIN_SETTINGS)
    check(settings[:4] == [WIDTH, HEIGHT, LEFT, TOP] and len(settings) == 5,
          f"Main.txt holds {settings}, not the window's {[WIDTH, HEIGHT, LEFT, TOP]} and one more number")

    # Started again, without a document, the window is where and how big the user left it.
    program = Program()
    window = program.main_window()
    wait_for(f"the window back at {placed}", lambda: window_geometry(window) == placed,
             describe=lambda: window_geometry(window))
    close_with_window_manager(window)
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")
    again = read_settings_lines(MAIN_SETTINGS)
    check(again == settings, f"Main.txt changed from {settings} to {again} without the window moving")


if __name__ == "__main__":
    sys.exit(run(test_close_question))
