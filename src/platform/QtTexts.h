#pragma once

// What Qt draws itself (the file and printer dialogs, the text areas' own edit menu, the standard
// buttons, the system's error texts it knows) in Danish, from the translations Qt is installed
// with. Runs before the first window is made; later calls change nothing.
namespace Platform {

void useDanishQtTexts();

} // namespace Platform
