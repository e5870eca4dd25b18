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
  // it busy.
  bool Take(DWORD ms, DWORD& processId, std::string& text);
  void HandBack();

 private:
  KernelHandle bufferReady_;
  KernelHandle dataReady_;
  KernelHandle mapping_;
  const BYTE* view_ = nullptr;
};
