#include "debug_listener.h"

#include <string.h>

#include "closer/close_report.h"
#include "common_messages.h"

DebugListener::~DebugListener() { Close(); }

void DebugListener::Close() {
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
  mapping_.reset();
  dataReady_.reset();
  bufferReady_.reset();
}

bool DebugListener::Open(std::string& error) {
  bufferReady_.reset(CreateEventA(NULL, FALSE, FALSE, "DBWIN_BUFFER_READY"));
  if (!bufferReady_.valid()) {
    error = Text(common_text::kListenerNoEvent);
    return false;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    error = Text(common_text::kListenerBusy);
    return false;
  }
  dataReady_.reset(CreateEventA(NULL, FALSE, FALSE, "DBWIN_DATA_READY"));
  mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                    kDebugBufferBytes, "DBWIN_BUFFER"));
  if (mapping_.valid()) {
    view_ = static_cast<const BYTE*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
  }
  if (!dataReady_.valid() || !view_) {
    error = Text(common_text::kListenerNoBuffer);
    return false;
  }
  SetEvent(bufferReady_.get());
  return true;
}

bool DebugListener::Take(DWORD ms, DWORD& processId, std::string& text, HANDLE stop) {
  if (!view_) return false;
  const HANDLE events[] = {stop, dataReady_.get()};
  DWORD count = stop ? 2 : 1;
  if (WaitForMultipleObjects(count, events + 2 - count, FALSE, ms) != WAIT_OBJECT_0 + count - 1) {
    return false;
  }
  memcpy(&processId, view_, sizeof processId);
  const char* chars = reinterpret_cast<const char*>(view_ + sizeof processId);
  text.assign(chars, strnlen(chars, kDebugBufferBytes - sizeof processId));
  return true;
}

void DebugListener::HandBack() { SetEvent(bufferReady_.get()); }
