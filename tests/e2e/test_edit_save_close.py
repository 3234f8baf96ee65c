"""A Windows file opened from the command line, edited, saved with Ctrl+S and the program closed
with the window manager: the file keeps its encoding and line breaks, the window's geometry is
saved, and the program ends cleanly."""

import sys

import pyatspi

from kyx_e2e import (MAIN_SETTINGS, WORK, Program, check, check_bytes, close_with_window_manager,
                     has_focus, is_enabled, press_keys, read_settings_lines, run, text_of, type_text,
                     wait_for, wait_for_bytes, window_geometry)

# Written on a Danish Windows desktop: Windows-1252 bytes (not valid UTF-8) and CR LF.
ORIGINAL = b"bl\xe5b\xe6r\r\nanden linje\r\n"
SHOWN = "blåbær\nanden linje\n"
# Every character is in Windows-1252, so the file has no reason to change encoding.
TYPED = "Hej æøå ÆØÅ! "


def test_edit_save_close():
    document = WORK / "brev.txt"
    document.write_bytes(ORIGINAL)

    program = Program(document)
    window = program.main_window()
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {SHOWN!r}", lambda: text_of(editor) == SHOWN,
             describe=lambda: repr(text_of(editor)))
    # Opened from the command line, the document is ready to be typed into: the caret is in the
    # text, at its start.
    wait_for("the keyboard focus in the editor of the opened document", lambda: has_focus(editor),
             describe=program.focus_owner)

    type_text(window, TYPED)
    wait_for("the typed text in the editor", lambda: text_of(editor) == TYPED + SHOWN,
             describe=lambda: repr(text_of(editor)))
    # The save action is offered once the program has seen the change; Ctrl+S before that would
    # rightly do nothing.
    save_button = program.find(pyatspi.ROLE_PUSH_BUTTON, "Gem")
    wait_for("the Gem button to be enabled", lambda: is_enabled(save_button))
    press_keys(window, "ctrl+s")
    wait_for_bytes(document, TYPED.encode("cp1252") + ORIGINAL)

    size = window_geometry(window)[2:]
    close_with_window_manager(window)
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")

    settings = read_settings_lines(MAIN_SETTINGS)
    check(len(settings) == 5, f"Main.txt has {len(settings)} lines, not 5: {settings}")
    check(tuple(settings[:2]) == size,
          f"Main.txt gives the size {settings[:2]}, the window was {list(size)}")
    # Saving wrote the document once; closing had nothing more to save.
    check_bytes(document, TYPED.encode("cp1252") + ORIGINAL)


if __name__ == "__main__":
    sys.exit(run(test_edit_save_close))
