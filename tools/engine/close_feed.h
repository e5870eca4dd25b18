// Windows only: the module's close reports as they arrive in the desktop's debug-output buffer,
// read on a thread of their own so that whoever shows them (the console, a window) never holds
// up a program that writes debug output.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "close_report_reader.h"
#include "debug_listener.h"
#include "owned.h"

namespace rule_engine {

struct FedClose {       // one report as read
  SYSTEMTIME at;        // local time it was read
  CloseReport report;   // parsed (other programs' debug output is dropped by the feed)
  std::string program;  // ProcessName(report.processId), read on the feed's thread at once
};
// Reports the queue could not hold, with the times of the first and the last.
struct Missed {
  unsigned long count = 0;
  SYSTEMTIME first = {}, last = {};
};

class CloseFeed {
 public:
  // The reports read and not taken yet; one more is counted as missed instead.
  static constexpr size_t kCapacity = 256;

  CloseFeed();
  // Stop()
  ~CloseFeed();
  CloseFeed(const CloseFeed&) = delete;
  CloseFeed& operator=(const CloseFeed&) = delete;

  // Takes the debug-output buffer and starts a thread of its own that waits on events only
  // (the buffer's data-ready event and a stop event, no timeout, no polling), copies each text,
  // hands the buffer back at once and signals Ready(). False with the reason in the user's
  // language when the buffer cannot be had (another listener: a debug viewer, a watch).
  bool Start(std::string& error);
  // Ends the thread (sets the stop event, joins it) and hands the buffer back to the desktop.
  void Stop();
  bool Running() const { return thread_.valid(); }
  // An auto-reset event signalled when reports wait; for MsgWaitForMultipleObjects.
  HANDLE Ready() const { return ready_.get(); }
  // What was read since the last call; the reports the queue could not hold counted in missed.
  std::vector<FedClose> Take(Missed& missed);

 private:
  static DWORD WINAPI Read(LPVOID feed);
  void Push(const SYSTEMTIME& at, const std::string& text);
  std::string Program(DWORD processId);

  DebugListener listener_;
  KernelHandle ready_, stop_, thread_;
  // Held only to move a report in or out: a critical section, as XP has no slim reader/writer
  // lock; made with a spin count, as the plain form raises an exception on XP short of memory.
  CRITICAL_SECTION lock_;
  bool lockMade_ = false;
  std::vector<FedClose> closes_;
  Missed missed_;
  // The reading thread's last program named: a burst of closes comes from one program, and
  // naming it takes a list of every process, longer than the buffer may wait.
  DWORD namedId_ = 0, namedAt_ = 0;
  std::string named_;
};

}  // namespace rule_engine
