#include "editor_state.h"

#include <commctrl.h>

#include "closes_view.h"
#include "code_page.h"
#include "code_page_advice.h"
#include "dialog_text.h"
#include "editor_ids.h"
#include "text.h"

namespace rule_editor {

namespace {

void SelectRow(HWND list, int index) {
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_ENSUREVISIBLE, index, FALSE);
}

}  // namespace

void Reload(Editor& editor) {
  HWND list = GetDlgItem(editor.dialog, IDC_RULES);
  int chosen = ChosenRow(list);
  RuleRow was = chosen >= 0 ? editor.rows[chosen] : RuleRow();
  editor.rules.reset(new rule_engine::RuleSet(editor.codePage));
  editor.rules->LoadFolder(editor.dir);
  editor.contents.clear();
  bool convertible = false;
  for (const rule_engine::FileReport& file : editor.rules->Files()) {
    std::string content;
    ReadWholeFile(file.path, content);
    convertible = convertible || !rule_engine::OtherEncoding(content, editor.codePage).empty();
    editor.contents.push_back(content);
  }
  editor.rows = RuleRows(*editor.rules, editor.contents);
  FillRulesList(list, editor.rows);
  EnableWindow(GetDlgItem(editor.dialog, IDC_CONVERT), convertible);
  for (size_t i = 0; chosen >= 0 && i < editor.rows.size(); ++i) {
    const RuleRow& row = editor.rows[i];
    if (row.file == was.file && row.line == was.line && row.lineBytes == was.lineBytes) {
      SelectRow(list, static_cast<int>(i));
    }
  }
  RelistCloseLines(editor);
}

void ClearMessages(Editor& editor) { SetDlgItemTextW(editor.dialog, IDC_MESSAGES, L""); }

void Say(Editor& editor, const std::string& utf8) {
  HWND messages = GetDlgItem(editor.dialog, IDC_MESSAGES);
  int end = GetWindowTextLengthW(messages);
  std::wstring line = (end > 0 ? L"\r\n" : L"") + WithCrLf(utf8);
  SendMessageW(messages, EM_SETSEL, end, end);
  SendMessageW(messages, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

bool Ask(Editor& editor, const std::string& utf8) {
  int answer = MessageBoxW(BoxOwner(editor), Wide(utf8).c_str(),
                           WideText(editor_text::kCaption).c_str(), MB_YESNO | MB_ICONQUESTION);
  Say(editor, utf8);
  return answer == IDYES;
}

void Tell(Editor& editor, const std::string& utf8) {
  MessageBoxW(BoxOwner(editor), Wide(utf8).c_str(), WideText(editor_text::kCaption).c_str(),
              MB_OK | MB_ICONWARNING);
  Say(editor, utf8);
}

std::string Shown(const Editor& editor, const std::string& bytes) {
  return RuleText(Quote(bytes), editor.codePage);
}

}  // namespace rule_editor
