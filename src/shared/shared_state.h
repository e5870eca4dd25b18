// SharedState: the values every process that maps the module must agree on. Below the closer and
// the host interface, which both read and write it.
#pragma once

#include <windows.h>

struct SharedStateRecord {
  LONG enabled;              // 1 while the closer is on
  HINSTANCE module;          // the module's handle in the process that attached last
  HHOOK hook;                // the shell hook, for unhooking and chaining
  char PluginDir[MAX_PATH];  // plug-in directory with its trailing separator, NUL-terminated
};

extern SharedStateRecord SharedState;

// This process's own handle of the module. Not shared: where the module is mapped at another
// address in another process, that process's handle means nothing here.
extern HINSTANCE ProcessModule;
