"""Unsaved text survives a killed program: typed into a Windows file and into a new document, kept
in recovery copies, the program killed with SIGKILL and started again; the question box asks,
"Ja" brings both documents back under their captions, and Ctrl+S writes the Windows file in its
own encoding and line breaks."""

import os
import signal
import sys

import pyatspi

from kyx_e2e import (SETTINGS_FOLDER, WORK, Program, centre_of, check, check_bytes, click, has_focus, is_enabled,
                     is_showing,                      press, press_keys, run, showing_tree, text_of, type_text, wait_for, wait_for_bytes)

# Written on a Danish Windows desktop: Windows-1252 bytes (not valid UTF-8) and CR LF.
LETTER = b"K\xe6re Jens\r\nHilsen\r\n"
SHOWN = "Kære Jens\nHilsen\n"
TYPED_LETTER = "Søde "
TYPED_NEW = "Indkøb: æg og øl"
QUESTION = "kyxTavlo blev ikke lukket normalt.\nSkal de dokumenter, der ikke var gemt, gendannes?"


def recovery_indexes():
    return sorted((SETTINGS_FOLDER / "Gendannelse").glob("*/*.index"))


def editors(program):
    """The showing text areas of the documents, by their text."""
    return pyatspi.findAllDescendants(
        program.application(),
        lambda o: o is not None and o.getRole() == pyatspi.ROLE_TEXT and o.name == "Editor")


def tab_row(program):
    """The row of document tabs: the one tab list of the main window (it is named after its
    current tab on the accessibility bus)."""
    return wait_for("the tab row", lambda: pyatspi.findDescendant(
        program.application(), lambda o: o is not None and o.getRole() == pyatspi.ROLE_PAGE_TAB_LIST
        and is_showing(o)))


def tabs(program):
    """The captions on the tab row, in order."""
    return [tab.name for tab in tab_row(program) if tab is not None and tab.getRole() == pyatspi.ROLE_PAGE_TAB]


def test_recovery():
    letter = WORK / "brev.txt"
    letter.write_bytes(LETTER)

    program = Program(letter)
    window = program.main_window()
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {SHOWN!r}", lambda: text_of(editor) == SHOWN,
             describe=lambda: repr(text_of(editor)))
    wait_for("the keyboard focus in the editor", lambda: has_focus(editor), describe=program.focus_owner)
    type_text(window, TYPED_LETTER)
    wait_for("the typed text in the letter", lambda: text_of(editor) == TYPED_LETTER + SHOWN,
             describe=lambda: repr(text_of(editor)))

    press_keys(window, "ctrl+n")
    wait_for("a new document", lambda: tabs(program) == ["brev.txt", "2. Dokument"], describe=lambda: tabs(program))
    fresh = wait_for("the keyboard focus in the new document's editor",
                     lambda: next((e for e in editors(program) if has_focus(e) and text_of(e) == ""), None),
                     describe=program.focus_owner)
    type_text(window, TYPED_NEW)
    wait_for("the typed text in the new document", lambda: text_of(fresh) == TYPED_NEW,
             describe=lambda: repr(text_of(fresh)))

    # Both documents kept, a few seconds after the typing stopped.
    wait_for("two recovery copies", lambda: len(recovery_indexes()) == 2, describe=recovery_indexes)
    os.kill(program.pid, signal.SIGKILL)
    program.process.wait()
    Program.running.remove(program)
    check_bytes(letter, LETTER)

    program = Program()
    question = program.find(pyatspi.ROLE_DIALOG, "Spørgsmål")
    wait_for("the question why the program was not closed normally",
             lambda: pyatspi.findDescendant(question, lambda o: o is not None and o.name == QUESTION),
             describe=lambda: showing_tree(question))
    press(program.find(pyatspi.ROLE_PUSH_BUTTON, "Ja", root=question))

    window = program.main_window()
    wait_for("both documents back", lambda: tabs(program) == ["brev.txt", "2. Dokument"],
             describe=lambda: tabs(program))
    texts = lambda: sorted(text_of(e) for e in editors(program))
    wait_for("the recovered texts", lambda: texts() == sorted([TYPED_LETTER + SHOWN, TYPED_NEW]), describe=texts)
    # Nothing was written to the letter by bringing it back.
    check_bytes(letter, LETTER)

    # To the letter, as a user goes there: a click on its tab; then Ctrl+S.
    click(*centre_of(next(tab for tab in tab_row(program) if tab is not None and tab.name == "brev.txt")))
    wait_for("the keyboard focus in the letter",
             lambda: any(has_focus(e) and text_of(e) == TYPED_LETTER + SHOWN for e in editors(program)),
             describe=program.focus_owner)
    save_button = program.find(pyatspi.ROLE_PUSH_BUTTON, "Gem")
    wait_for("the Gem button to be enabled for the restored letter", lambda: is_enabled(save_button))
    press_keys(window, "ctrl+s")
    wait_for_bytes(letter, TYPED_LETTER.encode("cp1252") + LETTER)
    # Saved, its copy is gone; the new document's stays.
    wait_for("one recovery copy left", lambda: len(recovery_indexes()) == 1, describe=recovery_indexes)
    check(tabs(program) == ["brev.txt", "2. Dokument"], f"the tab row shows {tabs(program)}")


if __name__ == "__main__":
    sys.exit(run(test_recovery))
