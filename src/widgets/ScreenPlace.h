#pragma once

class QWidget;

// Keeps a window where the user can reach it. A window bigger than its screen is made to fit it,
// and a window whose title bar is on no screen (a place saved on a screen that is gone, or
// written by hand) is moved the shortest way onto the nearest screen, wholly seen.
void keepOnScreen(QWidget &window);

// Puts a window wholly on the screen it is most on, moved the shortest way: for a place the program
// chooses itself, which must never leave part of a new window out of reach.
void showWhollyOnScreen(QWidget &window);
