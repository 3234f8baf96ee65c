#!/bin/sh
# Makes the desktop entry that starts kyxTavlo: createShortcut.sh "<program>" "<entry file>".
# kyxTavlo starts this script when the user adds the program to the programs started at log-on,
# and waits for the entry file to appear.
set -eu
program="$1"
entry="$2"
tmp="$entry.tmp.$$"
cat >"$tmp" <<ENTRY
[Desktop Entry]
Type=Application
Name=kyxTavlo
Comment=Editor til tekst- og rich text-dokumenter
Exec="$program"
Terminal=false
Categories=Utility;TextEditor;
ENTRY
mv "$tmp" "$entry"
