"""The main window maximised (with the window manager's key) and the program closed: every later
start brings it back maximised in exactly the same place, "Main.txt" keeps the size and place the
window had before it was maximised, and made normal again the window goes back there."""

import sys

from kyx_e2e import (MAIN_SETTINGS, Program, check, close_with_window_manager, press_keys,
                     read_settings_lines, run, wait_for, window_geometry, xdotool)

# A size and place that fit on any screen and leave room to grow when maximised.
WIDTH, HEIGHT, LEFT, TOP = 700, 500, 100, 80
# Bound to the window manager's "ToggleMaximize" by run_e2e.sh.
MAXIMISE_KEY = "alt+F10"


def close(program, window):
    close_with_window_manager(window)
    code = program.wait_exit()
    check(code == 0, f"the program ended with exit code {code}")


def test_maximised_window():
    program = Program()
    window = program.main_window()
    xdotool("windowsize", "--sync", window, WIDTH, HEIGHT)
    xdotool("windowmove", "--sync", window, LEFT, TOP)
    wait_for(f"the window to be {WIDTH}x{HEIGHT}", lambda: window_geometry(window)[2:] == (WIDTH, HEIGHT),
             describe=lambda: window_geometry(window))
    normal = window_geometry(window)

    press_keys(window, MAXIMISE_KEY)
    wait_for("the window to fill the screen",
             lambda: window_geometry(window)[2] > WIDTH and window_geometry(window)[3] > HEIGHT,
             describe=lambda: window_geometry(window))
    maximised = window_geometry(window)
    close(program, window)
    settings = read_settings_lines(MAIN_SETTINGS)
    check(len(settings) == 5 and settings[:2] == [WIDTH, HEIGHT],
          f"Main.txt holds {settings}, not the size before maximising {[WIDTH, HEIGHT]} and three more numbers")

    for start in ("second", "third"):
        program = Program()
        window = program.main_window()
        wait_for(f"the {start} start's window maximised at {maximised}",
                 lambda: window_geometry(window) == maximised, describe=lambda: window_geometry(window))
        close(program, window)
        again = read_settings_lines(MAIN_SETTINGS)
        check(again == settings, f"Main.txt changed from {settings} to {again} without the window moving")

    program = Program()
    window = program.main_window()
    wait_for(f"the window maximised at {maximised}", lambda: window_geometry(window) == maximised,
             describe=lambda: window_geometry(window))
    press_keys(window, MAXIMISE_KEY)
    wait_for(f"the window made normal back at {normal}", lambda: window_geometry(window) == normal,
             describe=lambda: window_geometry(window))
    close(program, window)
    again = read_settings_lines(MAIN_SETTINGS)
    check(again == settings, f"Main.txt changed from {settings} to {again} without the window moving")


if __name__ == "__main__":
    sys.exit(run(test_maximised_window))
