// Every call here runs on a hooked program's own thread: nothing may wait on another process,
// allocate, or write past the buffer it was given.
#include "closer/close_report.h"

#include <string.h>

#include "closer/hook.h"

namespace {

// A report's fixed part, and each text byte at most four characters: every line fits whole.
static_assert(96 + 2 * 4 * (kWindowTextCount - 1) < kDebugBufferBytes - sizeof(DWORD),
              "a close report may not be cut");

// Reports this process could not hand over since its last one went through.
volatile LONG droppedReports = 0;

// Builds a line in a caller's buffer, never past its end.
class ReportLine {
 public:
  ReportLine(char* buffer, size_t size) : at_(buffer), start_(buffer), end_(buffer + size - 1) {}

  void PutChar(char c) {
    if (at_ < end_) *at_++ = c;
  }
  void Put(const char* text) {
    while (*text) PutChar(*text++);
  }
  // " name=", the way every field after the prefix starts.
  void PutField(const char* name) {
    PutChar(' ');
    Put(name);
    PutChar('=');
  }
  // The value's digits in base 10 or 16, most significant first, without leading zeros.
  void PutNumber(UINT_PTR value, unsigned base) {
    char digits[3 * sizeof value];
    int count = 0;
    do {
      digits[count++] = kHexDigits[value % base];
      value /= base;
    } while (value);
    while (count) PutChar(digits[--count]);
  }
  void PutQuoted(const char* text) {
    PutChar('"');
    for (const unsigned char* b = reinterpret_cast<const unsigned char*>(text); *b; ++b) {
      if (ReportEscapes(*b)) {
        PutChar('\\');
        PutChar('x');
        PutChar(kHexDigits[*b >> 4]);
        PutChar(kHexDigits[*b & 0xF]);
      } else {
        PutChar(static_cast<char>(*b));
      }
    }
    PutChar('"');
  }
  size_t Finish() {
    *at_ = 0;
    return static_cast<size_t>(at_ - start_);
  }

 private:
  static constexpr const char* kHexDigits = "0123456789ABCDEF";
  char* at_;
  char* start_;
  char* end_;
};

// A kernel object's handle, closed when it goes; these calls answer NULL for none.
class Handle {
 public:
  Handle() = default;
  ~Handle() { Reset(NULL); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void Reset(HANDLE handle) {
    if (handle_) CloseHandle(handle_);
    handle_ = handle;
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_ = NULL;
};

// The desktop's debug-output buffer, as a listener left it: the named objects that every debug
// viewer creates, opened anew each time, since a cached handle would keep a listener's objects
// alive after it ends.
class DebugBuffer {
 public:
  DebugBuffer() {
    mapping_.Reset(OpenFileMappingA(FILE_MAP_WRITE, FALSE, "DBWIN_BUFFER"));
    if (mapping_.get()) view_ = MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0);
  }
  ~DebugBuffer() {
    if (owned_) ReleaseMutex(mutex_.get());
    if (view_) UnmapViewOfFile(view_);
  }
  DebugBuffer(const DebugBuffer&) = delete;
  DebugBuffer& operator=(const DebugBuffer&) = delete;

  // Whether a listener has made the buffer (where none has, this costs one lookup).
  int Listening() const { return view_ != NULL; }

  // Takes the buffer if it is free at once: the writers' mutex, then the listener's word that it
  // has read the last text. Either being busy means another program holds it, and waiting for
  // that program is what must never happen here.
  int Take() {
    // Other programs' OutputDebugStringA share this mutex; the first writer on a desktop makes it.
    mutex_.Reset(OpenMutexA(SYNCHRONIZE, FALSE, "DBWinMutex"));
    if (!mutex_.get()) mutex_.Reset(CreateMutexA(NULL, FALSE, "DBWinMutex"));
    bufferReady_.Reset(OpenEventA(SYNCHRONIZE, FALSE, "DBWIN_BUFFER_READY"));
    dataReady_.Reset(OpenEventA(EVENT_MODIFY_STATE, FALSE, "DBWIN_DATA_READY"));
    if (!mutex_.get() || !bufferReady_.get() || !dataReady_.get()) return 0;
    // An abandoned mutex is ours all the same: its owner ended while it wrote.
    DWORD got = WaitForSingleObject(mutex_.get(), 0);
    if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) return 0;
    owned_ = 1;
    return WaitForSingleObject(bufferReady_.get(), 0) == WAIT_OBJECT_0;
  }

  // The text's room: what follows the writer's process id.
  char* Text() { return static_cast<char*>(view_) + sizeof(DWORD); }
  static size_t TextBytes() { return kDebugBufferBytes - sizeof(DWORD); }

  // Hands the filled buffer to the listener.
  void Send() {
    DWORD writer = GetCurrentProcessId();
    memcpy(view_, &writer, sizeof writer);
    SetEvent(dataReady_.get());
  }

 private:
  Handle mapping_;
  Handle mutex_;
  Handle bufferReady_;
  Handle dataReady_;
  LPVOID view_ = NULL;
  int owned_ = 0;
};

}  // namespace

size_t FormatCloseReport(char* buffer, size_t size, DWORD processId, HWND window,
                         const char* className, const char* title, LONG dropped) {
  ReportLine out(buffer, size);
  out.Put(kReportPrefix);
  out.PutField(kReportProcessField);
  out.PutNumber(processId, 10);
  out.PutField(kReportWindowField);
  out.Put("0x");
  out.PutNumber(reinterpret_cast<UINT_PTR>(window), 16);
  out.PutField(kReportClassField);
  out.PutQuoted(className);
  out.PutField(kReportTitleField);
  out.PutQuoted(title);
  if (dropped > 0) {
    out.PutField(kReportDroppedField);
    out.PutNumber(static_cast<UINT_PTR>(dropped), 10);
  }
  out.PutChar('\n');
  return out.Finish();
}

void ReportClose(HWND window, const char* className, const char* title) {
  DebugBuffer buffer;
  // Nobody listens: there is no one to tell, so nothing is lost.
  if (!buffer.Listening()) return;
  // The window's process, not this one: a 32-bit hook runs for 64-bit programs on the thread
  // that installed it.
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (!buffer.Take()) {
    InterlockedIncrement(&droppedReports);
    return;
  }
  LONG dropped = InterlockedExchange(&droppedReports, 0);
  FormatCloseReport(buffer.Text(), DebugBuffer::TextBytes(), processId, window, className, title,
                    dropped);
  buffer.Send();
}
