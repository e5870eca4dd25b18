#include "close_feed.h"

#include <utility>

#include "desktop.h"
#include "engine_messages.h"
#include "support/critical_section.h"

namespace rule_engine {

// The stop event is manual-reset: once set, every later wait of the thread sees it.
CloseFeed::CloseFeed()
    : ready_(CreateEventA(NULL, FALSE, FALSE, NULL)), stop_(CreateEventA(NULL, TRUE, FALSE, NULL)) {
  lockMade_ = InitializeCriticalSectionAndSpinCount(&lock_, 0) != 0;
}

CloseFeed::~CloseFeed() {
  Stop();
  if (lockMade_) DeleteCriticalSection(&lock_);
}

bool CloseFeed::Start(std::string& error) {
  if (Running()) return true;
  if (!lockMade_ || !ready_.valid() || !stop_.valid()) {
    error = Text(engine_text::kFeedCannotStart);
    return false;
  }
  if (!listener_.Open(error)) {
    listener_.Close();
    return false;
  }
  ResetEvent(stop_.get());
  thread_.reset(CreateThread(NULL, 0, Read, this, 0, NULL));
  if (thread_.valid()) return true;
  listener_.Close();
  error = Text(engine_text::kFeedCannotStart);
  return false;
}

void CloseFeed::Stop() {
  if (thread_.valid()) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  listener_.Close();
}

std::vector<FedClose> CloseFeed::Take(Missed& missed) {
  if (!lockMade_) return {};
  ScopedCriticalSection hold(lock_);
  missed = std::exchange(missed_, {});
  return std::exchange(closes_, {});
}

// The thread waits for nothing but the next text and the stop event, and hands the buffer back
// before it does anything else: every program that writes debug output waits for it meanwhile.
DWORD WINAPI CloseFeed::Read(LPVOID parameter) {
  CloseFeed& feed = *static_cast<CloseFeed*>(parameter);
  DWORD processId = 0;
  std::string text;
  while (feed.listener_.Take(INFINITE, processId, text, feed.stop_.get())) {
    SYSTEMTIME at;
    GetLocalTime(&at);
    feed.listener_.HandBack();
    feed.Push(at, text);
  }
  return 0;
}

// Only this thread adds to the queue, so the room seen before the program is named is still
// there after.
void CloseFeed::Push(const SYSTEMTIME& at, const std::string& text) {
  FedClose close;
  close.at = at;
  if (!ParseCloseReport(text, close.report)) return;
  {
    ScopedCriticalSection hold(lock_);
    if (closes_.size() >= kCapacity) {
      if (missed_.count++ == 0) missed_.first = at;
      missed_.last = at;
      return;
    }
  }
  // Now, while the process that owned the window is most likely still there to be named.
  close.program = Program(static_cast<DWORD>(close.report.processId));
  {
    ScopedCriticalSection hold(lock_);
    closes_.push_back(std::move(close));
  }
  SetEvent(ready_.get());
}

// A name read less than a second ago is taken again: a process id is given to another process
// only after its own has ended, and seldom that soon.
std::string CloseFeed::Program(DWORD processId) {
  DWORD now = GetTickCount();
  if (named_.empty() || processId != namedId_ || now - namedAt_ >= 1000) {
    named_ = ProcessName(processId);
    namedId_ = processId;
    namedAt_ = now;
  }
  return named_;
}

}  // namespace rule_engine
