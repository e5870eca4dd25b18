// The listening side of the desktop-wide debug-output buffer, as debug-output viewers use it:
// the module's close reports arrive there, and so does other programs' OutputDebugStringA.
#pragma once

#include <windows.h>

#include <string>

#include "owned.h"

class DebugListener {
 public:
  DebugListener() = default;
  ~DebugListener();
  DebugListener(const DebugListener&) = delete;
  DebugListener& operator=(const DebugListener&) = delete;

  // Takes the buffer; false with the reason when it cannot, and when another listener (a debug
  // viewer, a second watch) holds it already: there can be only one on a desktop.
  bool Open(std::string& error);
  // Waits up to ms for the next text, keeping the buffer until HandBack: meanwhile writers find
  // it busy. Given a stop event, false as soon as it is signalled too, which wins over a text
  // waiting: a reader waits with INFINITE and ends on the event alone.
  bool Take(DWORD ms, DWORD& processId, std::string& text, HANDLE stop = NULL);
  void HandBack();
  // Gives the buffer back to the desktop, for another listener or a later Open.
  void Close();

 private:
  KernelHandle bufferReady_;
  KernelHandle dataReady_;
  KernelHandle mapping_;
  const BYTE* view_ = nullptr;
};
