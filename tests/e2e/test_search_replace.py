"""The search page through the keyboard only: Ctrl+3 opens it with the caret in the search field,
Tab goes on to the replacement field, where each Enter replaces the next hit, and Ctrl+S saves the
document with exactly those replacements. Back in the search field, Enter pressed again and again
steps from hit to hit without typing into the document, so the program then closes without a
question and the file stays as saved."""

import sys

import pyatspi

from kyx_e2e import (WORK, Program, check, check_bytes, close_with_window_manager, has_focus, press_keys, run, text_of,
                     type_text, wait_for, wait_for_bytes)

ORIGINAL = "en to en tre en fire en\n"
REPLACED = "et to et tre en fire en\n"


def selection_of(text_control):
    text = text_control.queryText()
    return tuple(text.getSelection(0)[:2]) if text.getNSelections() > 0 else None


def test_search_replace():
    document = WORK / "tal.txt"
    document.write_bytes(ORIGINAL.encode("utf-8"))

    program = Program(document)
    window = program.main_window()
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {ORIGINAL!r}", lambda: text_of(editor) == ORIGINAL,
             describe=lambda: repr(text_of(editor)))
    wait_for("the keyboard focus in the editor", lambda: has_focus(editor), describe=program.focus_owner)

    press_keys(window, "ctrl+3")
    search = program.find(pyatspi.ROLE_TEXT, "Søg efter:")
    wait_for("the caret in the search field", lambda: has_focus(search), describe=program.focus_owner)
    type_text(window, "en")
    press_keys(window, "Tab")
    replacement = program.find(pyatspi.ROLE_TEXT, "Erstat med:")
    wait_for("the caret in the replacement field", lambda: has_focus(replacement), describe=program.focus_owner)
    type_text(window, "et")
    wait_for("the fields filled", lambda: (text_of(search), text_of(replacement)) == ("en", "et"),
             describe=lambda: (text_of(search), text_of(replacement)))

    # Each Enter replaces the next hit after the caret, one at a time; the caret stays in the field.
    press_keys(window, "Return")
    wait_for("the first hit replaced", lambda: text_of(editor) == "et to en tre en fire en\n",
             describe=lambda: repr(text_of(editor)))
    program.find(pyatspi.ROLE_LABEL, "Antal forekomster: 1")
    check(has_focus(replacement), f"the caret left the replacement field: {program.focus_owner()}")
    press_keys(window, "Return")
    wait_for("the second hit replaced", lambda: text_of(editor) == REPLACED, describe=lambda: repr(text_of(editor)))
    press_keys(window, "ctrl+s")
    wait_for_bytes(document, REPLACED.encode("utf-8"))

    # Each Enter in the search field selects the next hit in the document.
    press_keys(window, "shift+Tab")
    wait_for("the caret back in the search field", lambda: has_focus(search), describe=program.focus_owner)
    for hit in (13, 21):
        press_keys(window, "Return")
        wait_for(f"the hit at {hit} selected", lambda: selection_of(editor) == (hit, hit + 2),
                 describe=lambda: (selection_of(editor), program.focus_owner()))
        check(has_focus(search), f"the caret left the search field: {program.focus_owner()}")
    press_keys(window, "Return")
    program.find(pyatspi.ROLE_LABEL, "Antal forekomster: 0")
    check(has_focus(search), f"the caret left the search field: {program.focus_owner()}")
    check(text_of(editor) == REPLACED, f"Enter changed the document: {text_of(editor)!r}")

    # Nothing to save: the program closes without asking, and the file is as it was saved.
    close_with_window_manager(window)
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")
    check_bytes(document, REPLACED.encode("utf-8"))


if __name__ == "__main__":
    sys.exit(run(test_search_replace))
