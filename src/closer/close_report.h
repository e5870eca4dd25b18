// The close report: one line for each window the hook asks to close, handed to the desktop's
// debug-output listener (a debug viewer, lunet-rules watch) without ever waiting for it.
#pragma once

#include <windows.h>

// The line, fields in this order, each name followed by '=':
//   lunet: close pid=<decimal> hwnd=0x<hex> class="<text>" title="<text>"[ dropped=<decimal>]\n
// pid names the window's own process. dropped counts the reports this process could not hand
// over since its last one went through (the listener was busy): they are lost, not delayed.
// In each text, the bytes below 0x20, 0x7F, the quote and the backslash are written as \xHH
// (two upper-case hex digits); every other byte is the window's own, in the ANSI code page.
const char kReportPrefix[] = "lunet: close";
const char kReportProcessField[] = "pid";
const char kReportWindowField[] = "hwnd";
const char kReportClassField[] = "class";
const char kReportTitleField[] = "title";
const char kReportDroppedField[] = "dropped";

inline int ReportEscapes(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F || byte == '"' || byte == '\\';
}

// The debug-output buffer every listener on the desktop shares: the writer's process id, then
// the text and its NUL.
const DWORD kDebugBufferBytes = 4096;

// Writes the report line for a closed window into buffer (at most size bytes with the NUL,
// cut there) and returns its length.
size_t FormatCloseReport(char* buffer, size_t size, DWORD processId, HWND window,
                         const char* className, const char* title, LONG dropped);
// Reports a window the hook has just asked to close. Takes no heap and never waits: when the
// listener has not handed the buffer back, the report is counted as dropped and the next one
// that goes through says how many were.
void ReportClose(HWND window, const char* className, const char* title);
