#pragma once

#include <QString>

// Where the desktop looks for the programs to start when the user logs on, and what the
// program's shortcut there is called.
namespace Platform {

// Windows: the user's Startup folder; elsewhere the desktop's autostart folder
// ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart).
QString startupFolder(const QString &userName);
// Whether the Startup folder is there to take a shortcut. The Windows folder belongs to the
// system and is only looked for; the autostart folder of other desktops is made, parents
// included, by whichever program first puts an entry in it, as a fresh profile has none.
bool provideStartupFolder(const QString &folder);
// "kyxTavlo.lnk" on Windows, "kyxTavlo.desktop" elsewhere.
QString shortcutFileName();
// The installation's script that makes the shortcut from two arguments: the program and the
// shortcut's path.
QString shortcutScriptName();

} // namespace Platform
