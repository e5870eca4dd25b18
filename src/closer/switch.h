// The on/off switch: installs or removes the desktop-wide shell hook, and with persist also
// writes or deletes the marker file "config.dat" in the plug-in directory.
#pragma once

void SetEnabled(int on, int persist);
