// The plug-in folder: the module's three files in it, and the bound on every path built there.
#pragma once

#include <windows.h>

// Every path in the folder, its NUL included, fits in MAX_PATH bytes; so does the folder's name
// in the shared state.
const char kMarkerFile[] = "config.dat";
const char kRulesFile[] = "killwnd.txt";
const char kCustomRulesFile[] = "killwnd_custom.txt";

// The longest directory that the marker file and its NUL still fit behind.
const LONG kMaxPluginDir = MAX_PATH - (sizeof kMarkerFile - 1) - 1;

// The shared PluginDir followed by name; 0 when it does not fit. PluginDir is read with a bound:
// any process that maps the module can write it, a terminator or not, and without one it names
// no folder.
int PluginPath(const char* name, char (&path)[MAX_PATH]);
