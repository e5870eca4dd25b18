#include "main_dialog.h"

#include <commctrl.h>

#include "actions.h"
#include "add_plan.h"
#include "closes_view.h"
#include "code_page.h"
#include "dialog_text.h"
#include "editor_ids.h"
#include "finder.h"
#include "is_directory.h"
#include "pick_target.h"
#include "text.h"
#include "window_reach.h"
#include "windows_dialog.h"

namespace rule_editor {

namespace {

const ControlText kMainTexts[] = {
    {IDC_RULES_LABEL, editor_text::kRulesLabel},
    {IDC_TARGET_GROUP, editor_text::kTargetGroup},
    {IDC_CLASS_LABEL, editor_text::kClassLabel},
    {IDC_TITLE_LABEL, editor_text::kTitleLabel},
    {IDC_FRAGMENT_LABEL, editor_text::kFragmentLabel},
    {IDC_WINDOWS, editor_text::kWindowsButton},
    {IDC_ADD, editor_text::kAddButton},
    {IDC_EDIT, editor_text::kEditButton},
    {IDC_REMOVE, editor_text::kRemoveButton},
    {IDC_UNDO, editor_text::kUndoButton},
    {IDC_CONVERT, editor_text::kConvertButton},
    {IDC_TEST, editor_text::kTestButton},
    {IDC_CLOSES, editor_text::kClosesButton},
};

// What the finder shows live while dragging, put back when the drag ends with no window taken.
const int kTargetControls[] = {IDC_CLASS, IDC_TITLE, IDC_PROGRAM};

void SetBytes(Editor& editor, int control, const std::string& bytes) {
  SetDlgItemTextW(editor.dialog, control, Widen(bytes, editor.codePage).c_str());
}

// The program line: the window's program, and why the plug-in will never close it.
std::string ProgramLine(const rule_engine::OpenWindow& window) {
  std::string program = ProgramOf(window.handle);
  std::string reach = rule_engine::ReachText(rule_engine::ReachOf(window.handle));
  return reach.empty() ? program : Text(editor_text::kProgramNever, program, reach);
}

std::string RefusalText(Editor& editor, HWND window) {
  switch (rule_engine::RefusalOf(window, editor.hosts)) {
    case rule_engine::TargetRefusal::kNone: return "";
    case rule_engine::TargetRefusal::kDesktop: return Text(editor_text::kRefuseDesktop);
    case rule_engine::TargetRefusal::kOwnProcess: return Text(editor_text::kRefuseOwn);
    case rule_engine::TargetRefusal::kHost:
      return Text(editor_text::kRefuseHost, ProgramOf(window));
  }
  return "";
}

// The window shown in the controls: its class and title as the plug-in reads them.
void ShowWindowTexts(Editor& editor, const rule_engine::OpenWindow& window) {
  SetBytes(editor, IDC_CLASS, window.className);
  SetBytes(editor, IDC_TITLE, window.title);
  SetDlgItemTextW(editor.dialog, IDC_PROGRAM, Wide(ProgramLine(window)).c_str());
}

// The chosen window proposed as the rule's target: the fragment is the whole title it reads.
void Propose(Editor& editor, const rule_engine::OpenWindow& window) {
  editor.target = window;
  editor.haveTarget = true;
  ShowWindowTexts(editor, window);
  SetBytes(editor, IDC_FRAGMENT, window.title);
  ClearMessages(editor);
  Say(editor, Text(editor_text::kPicked, Shown(editor, window.className),
                   Shown(editor, window.title), ProgramOf(window.handle)));
  // The program line has room for the start of the reason only: the pane says it whole.
  std::string reach = rule_engine::ReachText(rule_engine::ReachOf(window.handle));
  if (!reach.empty()) Say(editor, reach);
  int length = GetWindowTextLengthA(window.handle);
  std::string whole(length + 1, '\0');
  whole.resize(length > 0 ? GetWindowTextA(window.handle, &whole[0], length + 1) : 0);
  editor.targetWholeTitle = whole.size() > window.title.size() ? whole : window.title;
  if (editor.targetWholeTitle.size() > window.title.size()) {
    Say(editor, Text(editor_text::kTitleLonger, editor.targetWholeTitle.size()));
  }
}

void OnFinder(void* context, FinderEvent event, HWND window) {
  Editor& editor = *static_cast<Editor*>(context);
  if (event == FinderEvent::kStarted) {
    editor.hosts = rule_engine::ProcessesHolding("lunet.dll");
    editor.beforeDrag.clear();
    for (int control : kTargetControls) {
      editor.beforeDrag.push_back(TypedText(editor.dialog, control));
    }
    return;
  }
  std::string refusal = RefusalText(editor, window);
  if (event == FinderEvent::kOver) {
    if (refusal.empty()) {
      ShowWindowTexts(editor, rule_engine::Describe(window));
    } else {
      SetDlgItemTextW(editor.dialog, IDC_PROGRAM, Wide(refusal).c_str());
    }
    return;
  }
  // The live view of the windows passed over gives way to what was there before the drag, or to
  // the window proposed.
  std::vector<std::wstring> before;
  before.swap(editor.beforeDrag);
  if (!window || !refusal.empty()) {
    for (size_t i = 0; i < before.size(); ++i) {
      SetDlgItemTextW(editor.dialog, kTargetControls[i], before[i].c_str());
    }
  }
  if (!window) return;  // a cancelled drag
  if (!refusal.empty()) {
    ClearMessages(editor);
    Tell(editor, refusal);
    return;
  }
  Propose(editor, rule_engine::Describe(window));
}

void ChooseFromList(Editor& editor) {
  editor.hosts = rule_engine::ProcessesHolding("lunet.dll");
  rule_engine::OpenWindow window;
  if (ChooseOpenWindow(editor.dialog, *editor.rules, editor.hosts, &window)) {
    Propose(editor, window);
    SetFocus(GetDlgItem(editor.dialog, IDC_FRAGMENT));
  }
}

// What the folder is: none, without the plug-in, inside a zip; its rules and their warnings.
void SayFolder(Editor& editor) {
  std::string folder = PathText(editor.dir);
  if (!IsDirectory(editor.dir)) {
    Say(editor, Text(editor_text::kNoFolder, folder));
    return;
  }
  if (rule_engine::InsideZip(editor.dir)) Say(editor, Text(editor_text::kInsideZip));
  if (GetFileAttributesA((editor.dir + "lunet.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
    Say(editor, Text(editor_text::kNoPlugin, folder));
  }
  Say(editor, Text(editor_text::kRulesRead, folder, rule_engine::Counts(*editor.rules)));
  for (const rule_engine::FileReport& file : editor.rules->Files()) {
    std::string state = rule_engine::StateText(file.state);
    if (!state.empty()) Say(editor, FileName(file.path) + ": " + state);
    for (const std::string& warning : file.warnings)
      Say(editor, FileName(file.path) + ": " + warning);
  }
  for (const std::string& warning : rule_engine::SetWarnings(editor.rules->Files())) {
    Say(editor, warning);
  }
  for (const auto& copy : rule_engine::VirtualStoreCopies(editor.dir)) {
    Say(editor, copy.first + ": " + copy.second);
  }
}

void Initialize(Editor& editor, HWND dialog) {
  editor.dialog = dialog;
  SetDialogTexts(dialog, editor_text::kCaption, kMainTexts);
  AddRuleColumns(GetDlgItem(dialog, IDC_RULES));
  AttachFinder(GetDlgItem(dialog, IDC_FINDER), OnFinder, &editor);
  Reload(editor);
  SayFolder(editor);
  editor.watch.Start(editor.dir);
}

void Command(Editor& editor, int command) {
  switch (command) {
    case IDC_ADD: return AddRule(editor);
    case IDC_EDIT: return EditRule(editor);
    case IDC_REMOVE: return RemoveRule(editor);
    case IDC_UNDO: return UndoChange(editor);
    case IDC_CONVERT: return ConvertFiles(editor);
    case IDC_TEST: return TestWindow(editor);
    case IDC_WINDOWS: return ChooseFromList(editor);
    case IDC_CLOSES: return ShowCloses(editor);
    case IDCANCEL: DestroyWindow(editor.dialog); return;  // Esc closes the window
  }
}

INT_PTR CALLBACK MainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Initialize(*reinterpret_cast<Editor*>(lParam), dialog);
    return TRUE;
  }
  Editor* editor = reinterpret_cast<Editor*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!editor) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) Command(*editor, LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_RULES && header->code == NM_DBLCLK) EditRule(*editor);
      return TRUE;
    }
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY: PostQuitMessage(0); return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND OpenMainWindow(Editor& editor, const std::string& folder) {
  editor.dir = folder;
  editor.codePage = GetACP();
  return CreateDialogParamW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDD_MAIN), NULL, MainProc,
                            reinterpret_cast<LPARAM>(&editor));
}

void FolderChanged(Editor& editor) { Reload(editor); }

}  // namespace rule_editor
