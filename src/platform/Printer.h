#pragma once

class QPrinter;

namespace Platform {

// The printer the user chose with the printer set-up dialog; the program's prints go to it.
// Made on first use, so that a program that never prints never asks the system for printers.
QPrinter &currentPrinter();

} // namespace Platform
