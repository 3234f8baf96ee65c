"""Another program changes a document that is open: the question box asks whether to read it again.
"Ja" shows the file as the other program wrote it; "Nej" keeps the user's text, and Ctrl+S then asks
before overwriting the other program's file, and "Nej" there writes nothing."""

import subprocess
import sys

import pyatspi

from kyx_e2e import (WORK, Program, check, check_bytes, close_with_window_manager, has_focus, press,
                     press_keys, run, showing_descendant, showing_tree, text_of, type_text, wait_for)

ORIGINAL = "Første udgave\n"
OUTSIDE = "Skrevet af et andet program\n"
AGAIN = "Og skrevet om igen\n"
TYPED = "Mit: "


def write_from_another_process(path, text):
    """The file written by a program of its own, as an editor or a sync tool would."""
    done = subprocess.run(["/bin/sh", "-c", 'printf "%s" "$1" > "$2"', "writer", text, str(path)])
    check(done.returncode == 0, f"the other program could not write {path}")


def answer_question(program, containing, button):
    """Waits for the question box with a line containing the text, and presses the button."""
    question = program.find(pyatspi.ROLE_DIALOG, "Spørgsmål")
    wait_for(f"the question to say {containing!r}", lambda: pyatspi.findDescendant(
        question, lambda o: o is not None and o.getRole() == pyatspi.ROLE_LABEL and containing in o.name),
        describe=lambda: showing_tree(question))
    press(program.find(pyatspi.ROLE_PUSH_BUTTON, button, root=question))
    wait_for("the question box to close", lambda: showing_descendant(
        program.application(), pyatspi.ROLE_DIALOG, "Spørgsmål") is None)


def test_changed_on_disk():
    document = WORK / "delt.txt"
    document.write_text(ORIGINAL, encoding="utf-8")

    program = Program(document)
    window = program.main_window()
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {ORIGINAL!r}", lambda: text_of(editor) == ORIGINAL,
             describe=lambda: repr(text_of(editor)))

    write_from_another_process(document, OUTSIDE)
    answer_question(program, "er ændret af et andet program.", "Ja")
    wait_for("the editor to show the other program's text", lambda: text_of(editor) == OUTSIDE,
             describe=lambda: repr(text_of(editor)))

    wait_for("the keyboard focus in the editor", lambda: has_focus(editor), describe=program.focus_owner)
    type_text(window, TYPED)
    wait_for("the typed text in the editor", lambda: text_of(editor) == TYPED + OUTSIDE,
             describe=lambda: repr(text_of(editor)))
    write_from_another_process(document, AGAIN)
    answer_question(program, "Dine ændringer går tabt, hvis den hentes igen.", "Nej")
    check(text_of(editor) == TYPED + OUTSIDE, f"the editor shows {text_of(editor)!r} after Nej")

    press_keys(window, "ctrl+s")
    answer_question(program, "Skal den overskrives?", "Nej")
    check_bytes(document, AGAIN.encode("utf-8"))

    close_with_window_manager(window)
    answer_question(program, "er modificeret.", "Nej")
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")
    check_bytes(document, AGAIN.encode("utf-8"))


if __name__ == "__main__":
    sys.exit(run(test_changed_on_disk))
