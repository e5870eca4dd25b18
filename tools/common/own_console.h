// A tool started by a double-click: whether it has a console window of its own, the folder it
// was started from, and the pause that keeps that window open until its last lines are read.
#pragma once

#include <string>

// True when this program is the only one attached to its console: Windows opened the console
// for it (Explorer started it), and closes it the moment the program ends. LUNET_OWN_CONSOLE=1
// or 0 says so instead, for tests: under Wine GetConsoleProcessList answers 0.
bool OwnsConsole();

// The folder of this program's file, with its separator; "" when it cannot be read. A
// double-clicked tool works on the files beside it.
std::string ProgramFolder();

// Returns status; first, when the program owns its console, says that Enter closes the window
// and waits for it (or for the end of the input).
int EndOfRun(int status);
