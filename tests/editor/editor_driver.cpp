#include "editor/editor_driver.h"

#include <commctrl.h>

#include "editor_ids.h"
#include "harness/captured_process.h"
#include "message_pump.h"

namespace {

const DWORD kAnswerMs = 5000;  // what a message to a live window may take, at most

// SendMessage that gives up on a hung window rather than hang the test with it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t found[64] = L"";
  GetClassNameW(window, found, 64);
  return lstrcmpiW(found, name) == 0;
}

struct Search {
  DWORD processId;
  HWND owner;  // NULL: the unowned main window
  HWND skip;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window) || !IsClass(window, L"#32770") ||
      GetWindow(window, GW_OWNER) != search->owner || window == search->skip) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// A buffer in the editor's memory, for the list view messages that carry a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size)
      : process_(process), at_(VirtualAllocEx(process, NULL, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  char* at() const { return static_cast<char*>(at_); }
  bool Put(SIZE_T offset, const void* bytes, SIZE_T size) const {
    return at_ && WriteProcessMemory(process_, at() + offset, bytes, size, NULL);
  }
  bool Get(SIZE_T offset, void* bytes, SIZE_T size) const {
    return at_ && ReadProcessMemory(process_, at() + offset, bytes, size, NULL);
  }

 private:
  HANDLE process_;
  void* at_;
};

}  // namespace

EditorDriver::EditorDriver(const std::string& editorPath, const std::string& folder)
    : child_(new ChildProcess(QuotedArgument(editorPath) +
                              (folder.empty() ? "" : " " + QuotedArgument(folder)))) {}

EditorDriver::~EditorDriver() {
  if (child_->started() && child_->Wait(0) == STILL_ACTIVE) {
    if (Close(3000) == STILL_ACTIVE) TerminateProcess(child_->handle(), 1);
  }
}

bool EditorDriver::Ready(DWORD ms) {
  if (!child_->started()) return false;
  for (DWORD waited = 0; waited <= ms; waited += 20) {
    Search search = {child_->id(), NULL, NULL, NULL};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found && Control(IDOK) == NULL) {
      main_ = search.found;
      return true;
    }
    if (child_->Wait(0) != STILL_ACTIVE) return false;
    Serve(20);
  }
  return false;
}

std::wstring EditorDriver::TextOf(HWND window) {
  LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(length + 1, L'\0');
  LRESULT got = Ask(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got);
  return text;
}

void EditorDriver::SetTextOf(HWND window, const std::wstring& text) {
  Ask(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void EditorDriver::SetText(int id, const std::wstring& text) const { SetTextOf(Control(id), text); }

HWND EditorDriver::Focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(main_, NULL), &info)) return NULL;
  return info.hwndFocus;
}

void EditorDriver::Click(int id) const { ClickIn(main_, id); }

void EditorDriver::ClickIn(HWND dialog, int id) {
  PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::vector<std::vector<std::wstring>> EditorDriver::Rows(HWND list, int columns) const {
  const int kCell = 1024;
  std::vector<std::vector<std::wstring>> rows;
  RemoteBuffer remote(child_->handle(), sizeof(LVITEMW) + kCell * sizeof(wchar_t));
  LRESULT count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item = {};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<LPWSTR>(remote.at() + sizeof item);
      item.cchTextMax = kCell;
      wchar_t text[kCell] = L"";
      LRESULT length = 0;
      if (remote.Put(0, &item, sizeof item)) {
        length = Ask(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.at()));
      }
      if (length > 0 && length < kCell) remote.Get(sizeof item, text, length * sizeof(wchar_t));
      cells.push_back(std::wstring(text, length > 0 && length < kCell ? length : 0));
    }
    rows.push_back(cells);
  }
  return rows;
}

LRESULT EditorDriver::WaitRowCount(HWND list, LRESULT rows, DWORD ms) const {
  LRESULT count = 0;
  for (DWORD waited = 0; waited <= ms; waited += 20) {
    count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
    if (count >= rows) break;
    Serve(20);
  }
  return count;
}

bool EditorDriver::SelectRow(HWND list, int row) const {
  RemoteBuffer remote(child_->handle(), sizeof(LVITEMW));
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  if (!remote.Put(0, &item, sizeof item)) return false;
  Ask(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(remote.at()));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (!remote.Put(0, &item, sizeof item)) return false;
  Ask(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.at()));
  Ask(list, LVM_ENSUREVISIBLE, row, FALSE);
  return Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == row;
}

SeenDialog EditorDriver::WaitDialogOf(HWND owner, DWORD ms, HWND skip) const {
  SeenDialog dialog;
  for (DWORD waited = 0; waited <= ms && !dialog.handle; waited += 20) {
    Search search = {child_->id(), owner, skip, NULL};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    dialog.handle = search.found;
    if (!dialog.handle) Serve(20);
  }
  if (!dialog.handle) return dialog;
  Serve(50);  // a box is shown before its buttons are all there
  dialog.caption = TextOf(dialog.handle);
  HWND text = GetDlgItem(dialog.handle, 0xFFFF);
  if (text) dialog.text = TextOf(text);
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    HWND button = GetDlgItem(dialog.handle, id);
    if (button && IsWindowVisible(button) && IsClass(button, L"Button")) ++dialog.buttons;
  }
  return dialog;
}

bool EditorDriver::Answer(const SeenDialog& dialog, int button, bool waitGone) const {
  HWND control = GetDlgItem(dialog.handle, button);
  if (!control) return false;
  PostMessageW(dialog.handle, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
  if (!waitGone) return true;
  for (DWORD waited = 0; waited <= kAnswerMs; waited += 20) {
    if (!IsWindow(dialog.handle) || !IsWindowVisible(dialog.handle)) return true;
    Serve(20);
  }
  return false;
}

std::wstring EditorDriver::WaitMessages(const std::wstring& before, DWORD ms) const {
  std::wstring now = before;
  for (DWORD waited = 0; waited <= ms; waited += 20) {
    now = Text(IDC_MESSAGES);
    if (now != before) break;
    Serve(20);
  }
  return now;
}

DWORD EditorDriver::Close(DWORD ms) {
  if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
  DWORD code = STILL_ACTIVE;
  for (DWORD waited = 0; waited <= ms && code == STILL_ACTIVE; waited += 20) {
    code = child_->Wait(0);
    if (code == STILL_ACTIVE) Serve(20);
  }
  return code;
}

void MouseTo(int x, int y) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65536LL + width / 2) / width);
  input.mi.dy = static_cast<LONG>((y * 65536LL + height / 2) / height);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void MouseButton(bool down) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

void DragHeld(POINT from, POINT to) {
  MouseTo(from.x, from.y);
  Serve(100);
  MouseButton(true);
  Serve(100);
  for (int i = 1; i <= 10; ++i) {
    MouseTo(from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10);
    Serve(40);
  }
}

void Key(WORD virtualKey) {
  INPUT keys[2] = {};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof keys[0]);
}

void Serve(DWORD ms) { PumpMessages(ms); }

POINT CentreOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  return centre;
}
