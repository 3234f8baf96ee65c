"""Helpers for the real-window tests: they drive the built program as a person would.

Keys and mouse go in through the X server (xdotool), controls are found by their accessible names
on the accessibility bus (AT-SPI) and pressed through their actions, and results are read from the
disk. Nothing waits a fixed time: every step polls for what the user would see, up to a deadline.

The scripts run under run_e2e.sh, which provides the X server, the window manager, the D-Bus
session and these variables: KYX_E2E_PROGRAM (the program), KYX_E2E_WORK (a scratch folder) and
KYXTAVLO_DATA_ROOT (the program's data root).
"""

import ctypes
import os
import pwd
import re
import signal
import subprocess
import sys
import time
import traceback
from pathlib import Path

import pyatspi
from gi.repository import Atspi, GLib

PROGRAM = os.environ["KYX_E2E_PROGRAM"]
WORK = Path(os.environ["KYX_E2E_WORK"])
DATA_ROOT = Path(os.environ["KYXTAVLO_DATA_ROOT"])

# The program names its user folder and its main window after the logged-on user.
USER = pwd.getpwuid(os.getuid()).pw_name
MAIN_TITLE = "Velkommen " + USER
SETTINGS_FOLDER = DATA_ROOT / "Brugere" / USER / "Egenskaber"
MAIN_SETTINGS = SETTINGS_FOLDER / "Main.txt"

# Generous: a loaded machine is slow, and a passing run never waits this long.
TIMEOUT = 30.0
POLL = 0.05

# Every answer comes from the program itself, never from a copy that events may have left stale.
Atspi.Accessible.set_cache_mask(pyatspi.Registry.getDesktop(0), Atspi.Cache.NONE)


class Failure(AssertionError):
    """What the user would see going wrong."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=TIMEOUT, describe=None):
    """Polls probe() until it gives a true value and returns that value.

    Errors from the accessibility bus count as "not yet": objects come and go while windows
    open and close. On time-out the message names what was awaited and, from describe(), what
    was seen instead.
    """
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = probe()
        except GLib.Error as error:
            result, last_error = None, error
        if result:
            return result
        if time.monotonic() >= deadline:
            message = f"timed out after {timeout:g} s waiting for {what}"
            if describe is not None:
                try:
                    message += f"; seen instead: {describe()}"
                except GLib.Error as error:
                    message += f"; could not read what is there: {error}"
            elif last_error is not None:
                message += f"; last accessibility error: {last_error}"
            raise Failure(message)
        time.sleep(POLL)


# --- X: windows, keys and mouse ---------------------------------------------------------------

def xdotool(*arguments):
    done = subprocess.run(["xdotool", *map(str, arguments)], capture_output=True, text=True)
    if done.returncode != 0:
        raise Failure(f"xdotool {' '.join(map(str, arguments))} failed: {done.stderr.strip()}")
    return done.stdout


def visible_windows(pid):
    """Window id -> title of every mapped window the process owns."""
    done = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                          capture_output=True, text=True)
    windows = {}
    for line in done.stdout.split():  # xdotool exits 1 when there is none
        title = subprocess.run(["xdotool", "getwindowname", line], capture_output=True, text=True)
        if title.returncode == 0:
            windows[int(line)] = title.stdout.rstrip("\n")
    return windows


def window_geometry(window):
    """(x, y, width, height) as xdotool reports them. The position is xdotool's own reading of
    where the window is; it is compared with another reading, never with the program's numbers."""
    values = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
    return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def activate(window):
    xdotool("windowactivate", "--sync", window)


def type_text(window, text):
    """Types into the window as a person types: key by key on the (Danish) keyboard."""
    activate(window)
    xdotool("type", "--delay", 30, "--", text)


def press_keys(window, *keys):
    activate(window)
    xdotool("key", *keys)


def close_with_window_manager(window):
    """Alt+F4 on the active window: the window manager asks the program to close it."""
    press_keys(window, "alt+F4")


def click(x, y):
    xdotool("mousemove", "--sync", x, y, "click", 1)


# --- The accessibility bus ----------------------------------------------------------------------

def role_name(role):
    return Atspi.role_get_name(role)


def states(accessible):
    return accessible.getState().getStates()


def is_showing(accessible):
    return pyatspi.STATE_SHOWING in states(accessible)


def is_enabled(accessible):
    return pyatspi.STATE_ENABLED in states(accessible)


def has_focus(accessible):
    return pyatspi.STATE_FOCUSED in states(accessible)


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def centre_of(accessible):
    x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return x + width // 2, y + height // 2


def press(button):
    """Presses a button through its accessible action, as a screen-reader user does."""
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"button {button.name!r} offers no Press action, only {names}")
    check(action.doAction(names.index("Press")), f"button {button.name!r} refused to be pressed")


def showing_descendant(root, role, name):
    return pyatspi.findDescendant(
        root, lambda o: o is not None and o.getRole() == role and o.name == name and is_showing(o))


def showing_tree(root, only=lambda accessible: True):
    """role 'name' of the showing objects below root that pass only(), indented by depth; for
    failure messages."""
    found = []

    def walk(accessible, depth):
        for child in accessible:
            if child is not None and is_showing(child):
                if only(child):
                    found.append(f"{'  ' * depth}{child.getRoleName()} {child.name!r}")
                walk(child, depth + 1)

    walk(root, 0)
    return "\n" + "\n".join(found) if found else "nothing"


# --- Files --------------------------------------------------------------------------------------

def file_bytes(path):
    return path.read_bytes() if path.exists() else None


def wait_for_bytes(path, expected, timeout=TIMEOUT):
    """Waits until the file holds exactly the expected bytes."""
    wait_for(f"{path.name} to hold {expected!r}", lambda: file_bytes(path) == expected, timeout,
             describe=lambda: repr(file_bytes(path)))


def check_bytes(path, expected):
    content = file_bytes(path)
    check(content == expected, f"{path.name} holds {content!r}, not {expected!r}")


def read_settings_lines(path):
    """The integers of a settings file, checking the format: one number a line, CR LF after each."""
    check(path.exists(), f"{path} was not written")
    data = path.read_bytes()
    check(data.endswith(b"\r\n"), f"{path.name} does not end with CR LF: {data!r}")
    lines = data[:-2].split(b"\r\n")
    for line in lines:
        check(re.fullmatch(rb"-?[0-9]+", line),
              f"{path.name} has a line that is not a whole number on its own: {data!r}")
    return [int(line) for line in lines]


# --- The program --------------------------------------------------------------------------------

class AdoptedProcess:
    """A process that a launcher started and left behind, which this script reaps as its own child
    (it is the child subreaper): the part of subprocess.Popen that Program uses."""

    def __init__(self, pid):
        self.pid = pid
        self.returncode = None

    def poll(self):
        if self.returncode is None:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                self.returncode = os.waitstatus_to_exitcode(status)
        return self.returncode

    def wait(self, timeout=None):
        deadline = None if timeout is None else time.monotonic() + timeout
        while self.poll() is None:
            if deadline is not None and time.monotonic() >= deadline:
                raise subprocess.TimeoutExpired(f"process {self.pid}", timeout)
            time.sleep(POLL)
        return self.returncode

    def kill(self):
        os.kill(self.pid, signal.SIGKILL)


def children_of_this_script():
    """Process id -> the program file it runs, of this script's children."""
    children = {}
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            line = stat.read_text()
            executable = os.path.realpath(stat.parent / "exe")
        except OSError:  # gone meanwhile
            continue
        state, parent = line.rsplit(")", 1)[1].split()[:2]
        if int(parent) == os.getpid() and state != "Z":
            children[int(stat.parent.name)] = executable
    return children


class Program:
    """One run of the program; ended by the test, or killed by run() when the test failed."""

    running = []

    def __init__(self, *arguments, cwd=None):
        """Starts the program with these arguments, in the folder cwd (default: this script's)."""
        self.log = self._next_log()
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen([PROGRAM, *map(str, arguments)], stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=subprocess.STDOUT, cwd=cwd)
        self._application = None
        Program.running.append(self)

    @classmethod
    def launched(cls, *command, env):
        """The program as a menu or a file manager starts it: command is a launcher (gtk-launch)
        that starts it and ends. Its output goes to the program's log, as the launcher's children
        inherit it, and the program, left without a parent, is adopted by this script."""
        # PR_SET_CHILD_SUBREAPER: orphans below this script become its children, not init's.
        check(ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0) == 0, "cannot adopt orphaned processes")
        program = cls.__new__(cls)
        program.log = cls._next_log()
        with open(program.log, "wb") as log:
            done = subprocess.run([*map(str, command)], stdin=subprocess.DEVNULL, stdout=log,
                                  stderr=subprocess.STDOUT, env=env)
        check(done.returncode == 0, f"{command[0]} failed with exit code {done.returncode}; its output:\n"
                                    f"{program.output()}")
        program_file = os.path.realpath(PROGRAM)
        pid = wait_for(f"{program_file} to run", lambda: next(
            (pid for pid, executable in children_of_this_script().items() if executable == program_file), None),
            describe=lambda: f"processes {children_of_this_script()}; output:\n{program.output()}")
        program.process = AdoptedProcess(pid)
        program._application = None
        Program.running.append(program)
        return program

    @staticmethod
    def _next_log():
        return WORK / f"kyxtavlo-{len(list(WORK.glob('kyxtavlo-*.log'))) + 1}.log"

    @property
    def pid(self):
        return self.process.pid

    def output(self):
        return self.log.read_text(errors="replace")

    def alive(self):
        """True while the program runs; a program that died on its own fails the test."""
        code = self.process.poll()
        if code is not None:
            raise Failure(f"the program ended unexpectedly with exit code {code}; "
                          f"its output:\n{self.output()}")
        return True

    def window(self, title):
        """Id of the program's visible window with exactly this title."""
        def find():
            self.alive()
            matches = [window for window, name in visible_windows(self.pid).items() if name == title]
            return matches[0] if matches else None

        return wait_for(f"a window titled {title!r}", find,
                        describe=lambda: f"windows {visible_windows(self.pid)}")

    def main_window(self):
        return self.window(MAIN_TITLE)

    def application(self):
        """The program's root on the accessibility bus."""
        def find():
            self.alive()
            for application in pyatspi.Registry.getDesktop(0):
                if application is not None and application.get_process_id() == self.pid:
                    check(application.name.lower() == "kyxtavlo",
                          f"the program calls itself {application.name!r} on the accessibility bus")
                    return application
            return None

        if self._application is None:
            self._application = wait_for("the program on the accessibility bus", find)
        return self._application

    def find(self, role, name, root=None):
        """The showing control with this role and accessible name, below root (default: anywhere in
        the program)."""
        root = root if root is not None else self.application()

        def find():
            self.alive()
            return showing_descendant(root, role, name)

        return wait_for(f"a showing {role_name(role)} named {name!r}", find,
                        describe=lambda: showing_tree(root))

    def focus_owner(self):
        """What shows the keyboard focus, for failure messages."""
        return showing_tree(self.application(), only=has_focus)

    def wait_exit(self, timeout=TIMEOUT):
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout:g} s; still showing: "
                          f"{visible_windows(self.pid)}") from None
        Program.running.remove(self)
        return code

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def run(test):
    """Runs the test function and turns the outcome into the exit code."""
    started = time.monotonic()
    try:
        test()
    except Exception as error:
        if isinstance(error, Failure):
            print(f"FAIL {test.__name__}: {error}", file=sys.stderr)
        else:  # a fault in the test itself, or a tool that is missing
            traceback.print_exc()
        for program in Program.running:
            print(f"--- output of the program (pid {program.pid}):\n{program.output()}", file=sys.stderr)
        return 1
    finally:
        for program in list(Program.running):
            program.kill()
    print(f"PASS {test.__name__} ({time.monotonic() - started:.1f} s)")
    return 0
