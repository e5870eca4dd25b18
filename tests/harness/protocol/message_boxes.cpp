#include "harness/protocol/message_boxes.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "harness/protocol/protocol.h"

void PrintTo(const SeenBox& box, std::ostream* out) {
  *out << "{caption " << ::testing::PrintToString(box.caption) << ", text "
       << ::testing::PrintToString(box.text) << ", " << box.buttons << " button(s)}";
}

std::vector<SeenBox> ConfigureTwiceBoxes() {
  return {{"Tessop", kEnabledMessage, 1}, {"Tessop", kDisabledMessage, 1}};
}

#ifdef _WIN32

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

namespace {

struct Controls {
  std::string text;
  int buttons = 0;
};

BOOL CALLBACK ReadControl(HWND control, LPARAM param) {
  Controls* found = reinterpret_cast<Controls*>(param);
  char className[64] = {0};
  GetClassNameA(control, className, sizeof className);
  if (lstrcmpiA(className, "Button") == 0) ++found->buttons;
  char text[512] = {0};
  int length = GetWindowTextA(control, text, sizeof text);
  // The icon is a static control without text; the message is the one with text.
  if (lstrcmpiA(className, "Static") == 0 && length > 0) found->text.assign(text, length);
  return TRUE;
}

// A dialog-class window that belongs to this process.
HWND FindOwnBox() {
  HWND box = NULL;
  while ((box = FindWindowExA(NULL, box, "#32770", NULL)) != NULL) {
    DWORD process = 0;
    GetWindowThreadProcessId(box, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(box)) return box;
  }
  return NULL;
}

}  // namespace

struct MessageBoxes::Watcher {
  std::mutex lock;
  std::vector<SeenBox> seen;
  std::atomic<bool> stop{false};
  std::thread thread;

  void Run() {
    while (!stop) {
      HWND box = FindOwnBox();
      if (!box) {
        Sleep(10);
        continue;
      }
      SeenBox entry;
      char caption[256] = {0};
      int length = GetWindowTextA(box, caption, sizeof caption);
      entry.caption.assign(caption, length > 0 ? length : 0);
      Controls controls;
      EnumChildWindows(box, ReadControl, reinterpret_cast<LPARAM>(&controls));
      entry.text = controls.text;
      entry.buttons = controls.buttons;
      {
        std::lock_guard<std::mutex> guard(lock);
        seen.push_back(entry);
      }
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      // One record per box: wait until it is gone.
      for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    }
  }
};

MessageBoxes::MessageBoxes() : watcher_(new Watcher) {
  watcher_->thread = std::thread([this] { watcher_->Run(); });
}

MessageBoxes::~MessageBoxes() {
  watcher_->stop = true;
  watcher_->thread.join();
}

std::vector<SeenBox> MessageBoxes::Take() {
  std::lock_guard<std::mutex> guard(watcher_->lock);
  return std::exchange(watcher_->seen, {});
}

#else

#include <utility>

#include "standin.h"

struct MessageBoxes::Watcher {};

MessageBoxes::MessageBoxes() { standin::TakeMessageBoxes(); }

MessageBoxes::~MessageBoxes() = default;

std::vector<SeenBox> MessageBoxes::Take() {
  std::vector<SeenBox> seen;
  for (const standin::MessageBoxCall& call : standin::TakeMessageBoxes()) {
    // The stand-in shows what was asked for: MB_OK is the one-button box.
    seen.push_back({call.caption, call.text, call.type == MB_OK ? 1 : 0});
  }
  return seen;
}

#endif
