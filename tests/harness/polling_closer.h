// Windows only: the polling closer, as users run one instead of a hook. Every period it looks at
// every top-level window and posts WM_CLOSE to those of a listed class whose title holds a listed
// fragment. The benchmark and the soak run it as a child process, to compare it with the hook.
#pragma once

// Runs the poller; its arguments after the program's name and the word that chose it:
//   --poller MS FILE STOP READY   until the named event STOP, setting READY after the first poll
//   --poller MS FILE --for MS     for a fixed time counted from the end of the first poll
// FILE holds class,NAME and title,TEXT lines. Prints its polls, the time they took by the clock,
// the CPU time of the process and the windows of the last poll; 0, or 1 with a message.
int RunPoller(int argc, char** argv);

// User plus kernel time of this process so far.
double ProcessCpuMs();
