"""The Debian package, unpacked into a private folder, started from its desktop entry as a menu or
a file manager's "Open with" starts it (gtk-launch with a file name), with XDG_DATA_DIRS and PATH
pointing into the package: the package's own program runs, opens the file, carries the window
class that the desktop entry names, and reads its help pages from the package's share/kyxtavlo/
when the data root has no program folder of its own.

The program given to this script is the unpacked package's usr/bin/kyxtavlo."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

import pyatspi

from kyx_e2e import (DATA_ROOT, PROGRAM, WORK, Program, centre_of, check, click, close_with_window_manager,
                     is_showing, press_keys, run, showing_tree, text_of, wait_for)

ENTRY_ID = "io.github.kyxtavlo.kyxTavlo"
USR = Path(PROGRAM).parents[1]
# A name with spaces and Danish letters, as file managers hand them over.
DOCUMENT_NAME = "Brev til Åse.txt"
CONTENT = "Kære Åse\nTak for sidst.\n"
# From the help page of the "Søg i dokumenter" box, which the package installs.
HELP_TEXT = "Sådan søger du"


def desktop_entry_value(key):
    entry = (USR / "share" / "applications" / f"{ENTRY_ID}.desktop").read_text(encoding="utf-8")
    values = [line.split("=", 1)[1] for line in entry.splitlines() if line.startswith(key + "=")]
    check(len(values) == 1, f"the desktop entry has {len(values)} {key} lines")
    return values[0]


def window_class(window):
    done = subprocess.run(["xprop", "-id", str(window), "WM_CLASS"], capture_output=True, text=True)
    check(done.returncode == 0, f"xprop could not read WM_CLASS: {done.stderr.strip()}")
    _, _, value = done.stdout.partition("=")
    return [name.strip().strip('"') for name in value.split(",")]


def test_installed_package():
    # The data root without a program folder: the installed one must serve.
    shutil.rmtree(DATA_ROOT / "Program")
    document = WORK / DOCUMENT_NAME
    document.write_text(CONTENT, encoding="utf-8")

    environment = dict(os.environ, XDG_DATA_DIRS=f"{USR / 'share'}:/usr/share",
                       PATH=f"{USR / 'bin'}:{os.environ['PATH']}")
    program = Program.launched("gtk-launch", ENTRY_ID, document, env=environment)

    window = program.main_window()
    editor = program.find(pyatspi.ROLE_TEXT, "Editor")
    wait_for(f"the editor to show {CONTENT!r}", lambda: text_of(editor) == CONTENT,
             describe=lambda: repr(text_of(editor)))

    wm_class = desktop_entry_value("StartupWMClass")
    check(window_class(window)[-1:] == [wm_class],
          f"the window's class is {window_class(window)}, the desktop entry names {wm_class!r}")

    # The "Søg i dokumenter" box shows its help page beside the filters.
    press_keys(window, "F6")
    program.window("Søg i dokumenter")
    click(*centre_of(program.find(pyatspi.ROLE_PAGE_TAB, "Filtre")))

    def help_page():
        return pyatspi.findDescendant(program.application(),
                                      lambda o: o is not None and o.name == "Hjælp" and is_showing(o))

    help_view = wait_for("the help view of the box", help_page,
                         describe=lambda: showing_tree(program.application()))
    wait_for(f"the help page to show {HELP_TEXT!r}", lambda: HELP_TEXT in text_of(help_view),
             describe=lambda: repr(text_of(help_view)[:300]))

    close_with_window_manager(window)
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")


if __name__ == "__main__":
    sys.exit(run(test_installed_package))
