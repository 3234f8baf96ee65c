"""Ctrl+Y redoes what Ctrl+Z undid, as the undo command's hint promises, and so does the desktop's
own redo key, in a text document and in a rich-text document alike."""

import sys

import pyatspi

from kyx_e2e import WORK, Program, has_focus, press_keys, run, text_of, type_text, wait_for

TYPED = "nyt ord "


def undo_and_redo(document, original):
    program = Program(document)
    window = program.main_window()
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {original!r}", lambda: text_of(editor).rstrip("\n") == original,
             describe=lambda: repr(text_of(editor)))
    wait_for("the keyboard focus in the editor", lambda: has_focus(editor), describe=program.focus_owner)
    type_text(window, TYPED)
    for redo_key in ("ctrl+y", "ctrl+shift+z"):
        wait_for("the typed text in the editor", lambda: TYPED in text_of(editor),
                 describe=lambda: repr(text_of(editor)))
        press_keys(window, "ctrl+z")
        wait_for("Ctrl+Z to take the typing back", lambda: TYPED not in text_of(editor),
                 describe=lambda: repr(text_of(editor)))
        press_keys(window, redo_key)
        wait_for(f"{redo_key} to bring the typing back",
                 lambda: TYPED in text_of(editor), describe=lambda: repr(text_of(editor)))
    program.kill()


def test_redo_keys():
    plain = WORK / "noter.txt"
    plain.write_text("første linje\n", encoding="utf-8")
    rich = WORK / "brev.rtf"
    rich.write_text(r"{\rtf1\ansi K\'e6re ven\par}", encoding="ascii")

    undo_and_redo(plain, "første linje")
    undo_and_redo(rich, "Kære ven")


if __name__ == "__main__":
    sys.exit(run(test_redo_keys))
