"""The search page through the keyboard only: Ctrl+3 opens it with the caret in the search field,
Tab goes on to the replacement field, Enter there replaces the next occurrence, and Ctrl+S saves
the document with the replacements."""

import sys

import pyatspi

from kyx_e2e import (WORK, Program, check, close_with_window_manager, has_focus, press_keys, run, text_of, type_text, wait_for,
                     wait_for_bytes)

ORIGINAL = "en to en tre\n"


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

    # Each Enter replaces the next occurrence after the caret, one at a time.
    press_keys(window, "Return")
    wait_for("the first occurrence replaced", lambda: text_of(editor) == "et to en tre\n",
             describe=lambda: repr(text_of(editor)))
    program.find(pyatspi.ROLE_LABEL, "Antal forekomster: 1")
    # The replaced text is shown in the document, which has the focus now; the page's key twice
    # (hide, show) puts the caret back in the search field.
    wait_for("the keyboard focus in the editor", lambda: has_focus(editor), describe=program.focus_owner)
    press_keys(window, "ctrl+3", "ctrl+3")
    wait_for("the caret back in the search field", lambda: has_focus(search), describe=program.focus_owner)
    press_keys(window, "Tab", "Return")
    wait_for("the second occurrence replaced", lambda: text_of(editor) == "et to et tre\n",
             describe=lambda: repr(text_of(editor)))

    press_keys(window, "ctrl+s")
    wait_for_bytes(document, b"et to et tre\n")
    close_with_window_manager(window)
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")


if __name__ == "__main__":
    sys.exit(run(test_search_replace))
