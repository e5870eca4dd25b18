#include "actions.h"

#include "add_plan.h"
#include "code_page.h"
#include "code_page_advice.h"
#include "dialog_text.h"
#include "edit_dialog.h"
#include "editor_ids.h"
#include "planned_rules.h"
#include "rule_trial.h"
#include "rule_value.h"
#include "shared/plugin_folder.h"
#include "text.h"
#include "windows_dialog.h"

namespace rule_editor {

using rule_engine::ChangeOutcome;
using rule_engine::RuleFileChange;

namespace {

// The control's text in the code page, or false after saying that the code page lacks some of
// its characters.
bool TypedBytes(Editor& editor, int control, std::string* bytes) {
  std::wstring typed = TypedText(editor.dialog, control);
  if (InCodePage(typed, editor.codePage, bytes)) return true;
  Tell(editor, Text(editor_text::kNotAdded,
                    Text(editor_text::kNotInCodePage, "\"" + Narrow(typed, CP_UTF8) + "\"",
                         rule_engine::CodePageName(editor.codePage))));
  return false;
}

// The title as the plug-in reads it: the chosen window's bytes themselves while IDC_TITLE still
// shows them, not a round trip through the control; else the control's text in the code page.
// whole, when asked, gets the title as the window holds it, longer than the hook reads.
bool TitleBytes(Editor& editor, std::string* title, std::string* whole = nullptr) {
  std::wstring shown = TypedText(editor.dialog, IDC_TITLE);
  if (editor.haveTarget && shown == Widen(editor.target.title, editor.codePage)) {
    *title = editor.target.title;
    if (whole) *whole = editor.targetWholeTitle;
    return true;
  }
  if (!TypedBytes(editor, IDC_TITLE, title)) return false;
  if (whole) *whole = *title;
  return true;
}

std::string Lines(const Editor& editor, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n    " + RuleText(line, editor.codePage);
  return text;
}

// What the change's outcome means, said with an OK box unless it is done; true when done.
bool Done(Editor& editor, ChangeOutcome outcome, const RuleFileChange& change, int line) {
  std::string file = FileName(change.path);
  switch (outcome) {
    case ChangeOutcome::kDone: return true;
    case ChangeOutcome::kChanged:
      Tell(editor, line ? Text(editor_text::kChangedOutside, file, line)
                        : Text(editor_text::kFileChangedOutside, file));
      Reload(editor);
      return false;
    case ChangeOutcome::kRefused: Tell(editor, Text(editor_text::kTwoEncodings, file)); break;
    case ChangeOutcome::kReadOnly: Tell(editor, Text(editor_text::kReadOnly, file)); break;
    case ChangeOutcome::kBusy: Tell(editor, Text(editor_text::kBusy, file)); break;
    case ChangeOutcome::kProtected:
      Tell(editor, Text(editor_text::kProtected, PathText(editor.dir)));
      break;
    case ChangeOutcome::kFailed: Tell(editor, Text(editor_text::kCannotWrite, file)); break;
  }
  return false;
}

// The note of a change to the row's line (removed when value is null), appended to
// killwnd_custom.txt.
bool NoteChange(Editor& editor, const RuleRow& row, const std::string* value) {
  std::string path = editor.dir + kCustomRulesFile, content;
  FileRead read = ReadWholeFile(path, content);
  if (read == FileRead::kFailed) {
    Tell(editor, Text(editor_text::kCannotRead, FileName(path)));
    return false;
  }
  std::string was = row.kind->keyword + ("," + RuleText(row.value, editor.codePage));
  std::string now = value ? row.kind->keyword + ("," + RuleText(*value, editor.codePage)) : "";
  std::string note =
      value ? rule_engine::CommentText(
                  Text(editor_text::kNoteEdited, row.line, was, now),
                  TextIn(Language::kEnglish, editor_text::kNoteEdited, row.line, was, now),
                  editor.codePage)
            : rule_engine::CommentText(
                  Text(editor_text::kNoteRemoved, row.line, was),
                  TextIn(Language::kEnglish, editor_text::kNoteRemoved, row.line, was),
                  editor.codePage);
  RuleFileChange change = {path, read == FileRead::kRead, content,
                           rule_engine::AppendLines(content, {note}, editor.codePage)};
  if (!Done(editor, rule_engine::Apply(change), change, 0)) return false;
  editor.lastChange.push_back(change);
  Say(editor, Text(editor_text::kNoted, FileName(path), RuleText(note, editor.codePage)));
  return true;
}

// The chosen row, or null after saying that none is chosen.
const RuleRow* ChosenRule(Editor& editor) {
  int chosen = ChosenRow(GetDlgItem(editor.dialog, IDC_RULES));
  if (chosen >= 0) return &editor.rows[chosen];
  Tell(editor, Text(editor_text::kNoSelection));
  return nullptr;
}

// For a line of killwnd.txt: the warning that the next release brings it back, and whether to
// note the change; false when the user goes no further.
bool ReleaseQuestions(Editor& editor, const RuleRow& row, bool* note) {
  *note = false;
  if (!row.released) return true;
  if (!Ask(editor, Text(editor_text::kReleaseWarning, row.fileName))) return false;
  *note = Ask(editor, Text(editor_text::kOfferNote));
  return true;
}

// The row's file as it is now with its line replaced (removed when replacement is null); false
// after saying why not.
bool Changed(Editor& editor, const RuleRow& row, const std::string* replacement,
             RuleFileChange* change) {
  change->path = editor.rules->Files()[row.file].path;
  if (ReadWholeFile(change->path, change->before) != FileRead::kRead ||
      !rule_engine::ReplaceLine(change->before, row.line, row.lineBytes, replacement,
                                &change->after)) {
    Tell(editor, Text(editor_text::kChangedOutside, row.fileName, row.line));
    Reload(editor);
    return false;
  }
  return true;
}

// Writes the change, then the note; the last change is what was written.
void Write(Editor& editor, const RuleFileChange& change, const RuleRow& row, bool note,
           const std::string* value) {
  editor.lastChange.clear();
  if (!Done(editor, rule_engine::Apply(change), change, row.line)) return;
  editor.lastChange.push_back(change);
  if (value) {
    Say(editor, Text(editor_text::kEdited, row.fileName, row.line,
                     Shown(editor, row.kind->keyword + ("," + *value))));
  } else {
    Say(editor, Text(editor_text::kRemoved, row.fileName, row.line, Shown(editor, row.lineBytes)));
  }
  if (note) NoteChange(editor, row, value);
  Say(editor, rule_engine::WhenNewRulesApply());
  Reload(editor);
}

void SayNewlyClosed(Editor& editor, const std::vector<std::string>& lines, std::string* text) {
  std::vector<rule_engine::OpenWindow> closed = rule_engine::WouldNewlyClose(*editor.rules, lines);
  *text += "\n\n" + Text(closed.empty() ? editor_text::kWouldCloseNone : editor_text::kWouldClose);
  for (const rule_engine::OpenWindow& window : closed) {
    *text += "\n    " + Text(editor_text::kWouldCloseWindow, ProgramOf(window.handle),
                             Shown(editor, window.className), Shown(editor, window.title));
  }
}

}  // namespace

void AddRule(Editor& editor) {
  ClearMessages(editor);
  std::string className, fragment, title, whole;
  if (!TypedBytes(editor, IDC_CLASS, &className) || !TypedBytes(editor, IDC_FRAGMENT, &fragment) ||
      !TitleBytes(editor, &title, &whole)) {
    return;
  }
  // As pick requires: the fragment lies within the bytes of the title the plug-in reads.
  rule_engine::FragmentFit fit = rule_engine::FitInTitle(fragment, whole);
  if (!whole.empty() && !fragment.empty() && fit != rule_engine::FragmentFit::kFits) {
    Tell(editor,
         Text(editor_text::kNotAdded, rule_engine::FitText(fit, fragment, editor.codePage)));
    return;
  }
  rule_engine::AddPlan plan(editor.codePage);
  plan.before.LoadFolder(editor.dir);
  if (!rule_engine::PlanAdd(editor.dir, className.empty() ? nullptr : &className, &fragment,
                            plan)) {
    Tell(editor, Text(editor_text::kNotAdded, plan.refusal));
    return;
  }
  if (plan.lines.empty()) {
    for (const std::string& note : plan.notes) Say(editor, note);
    Say(editor, Text(editor_text::kNothingToAdd));
    return;
  }
  std::string question =
      Text(editor_text::kAddQuestion, FileName(plan.path)) + Lines(editor, plan.lines);
  SayNewlyClosed(editor, plan.lines, &question);
  question += "\n";
  for (const std::string& note : plan.notes) question += "\n" + note;
  for (const std::string& warning : plan.warnings) question += "\n" + warning;
  if (!Ask(editor, question)) {
    Say(editor, Text(editor_text::kNothingWritten));
    return;
  }
  std::string content;
  FileRead read = ReadWholeFile(plan.path, content);
  if (read == FileRead::kFailed) {
    Tell(editor, Text(editor_text::kCannotRead, FileName(plan.path)));
    return;
  }
  RuleFileChange change = {plan.path, read == FileRead::kRead, content,
                           rule_engine::AppendLines(content, plan.lines, editor.codePage)};
  editor.lastChange.clear();
  if (!Done(editor, rule_engine::Apply(change), change, 0)) return;
  editor.lastChange.push_back(change);
  Say(editor, Text(editor_text::kAdded, FileName(plan.path)) + Lines(editor, plan.lines));
  Say(editor, rule_engine::WhenNewRulesApply());
  Reload(editor);
}

void EditRule(Editor& editor) {
  ClearMessages(editor);
  const RuleRow* chosen = ChosenRule(editor);
  if (chosen) EditRow(editor, *chosen);  // a copy: the list may be read again
}

void EditRow(Editor& editor, RuleRow row, const Consequences& consequences) {
  bool note = false;
  if (!ReleaseQuestions(editor, row, &note)) return;
  std::wstring typed = Wide(row.shown);
  editor_text::Id kind = row.kind == &rule_engine::kClassKind ? editor_text::kEditKindClass
                                                              : editor_text::kEditKindTitle;
  if (!EditValue(BoxOwner(editor), kind, &typed)) return;
  std::string value;
  if (!InCodePage(typed, editor.codePage, &value)) {
    Tell(editor, Text(editor_text::kNotChanged,
                      Text(editor_text::kNotInCodePage, "\"" + Narrow(typed, CP_UTF8) + "\"",
                           rule_engine::CodePageName(editor.codePage))));
    return;
  }
  std::vector<std::string> warnings;
  std::string why = rule_engine::Refusal(*row.kind, value, editor.codePage, warnings);
  if (!why.empty()) {
    Tell(editor, Text(editor_text::kNotChanged, why));
    return;
  }
  std::string line = row.kind->keyword + ("," + value);
  RuleFileChange change;
  if (!Changed(editor, row, &line, &change)) return;
  std::string mixed;
  if (rule_engine::MixesEncodings(change.before, {line}, editor.codePage, row.fileName, &mixed)) {
    Tell(editor, Text(editor_text::kNotChanged, mixed));
    return;
  }
  if (!mixed.empty()) warnings.push_back(mixed);
  std::string question = Text(editor_text::kEditQuestion, row.fileName, row.line,
                              "    " + Shown(editor, row.lineBytes), "    " + Shown(editor, line));
  for (const std::string& warning : warnings) question += "\n" + warning;
  std::string more = consequences ? consequences(row, &value) : "";
  if (!more.empty()) question += "\n\n" + more;
  if (!Ask(editor, question)) {
    Say(editor, Text(editor_text::kNothingWritten));
    return;
  }
  Write(editor, change, row, note, &value);
}

void RemoveRule(Editor& editor) {
  ClearMessages(editor);
  const RuleRow* chosen = ChosenRule(editor);
  if (chosen) RemoveRow(editor, *chosen);
}

void RemoveRow(Editor& editor, RuleRow row, const Consequences& consequences) {
  bool note = false;
  if (!ReleaseQuestions(editor, row, &note)) return;
  std::string question =
      Text(editor_text::kRemoveQuestion, row.fileName, row.line, Shown(editor, row.lineBytes));
  std::string more = consequences ? consequences(row, nullptr) : "";
  if (!more.empty()) question += "\n\n" + more;
  if (!Ask(editor, question)) {
    Say(editor, Text(editor_text::kNothingWritten));
    return;
  }
  RuleFileChange change;
  if (!Changed(editor, row, nullptr, &change)) return;
  Write(editor, change, row, note, nullptr);
}

void UndoChange(Editor& editor) {
  ClearMessages(editor);
  if (editor.lastChange.empty()) {
    Say(editor, Text(editor_text::kNothingToUndo));
    return;
  }
  std::string files;
  // The note after the change it notes: taken back in the other order.
  for (auto change = editor.lastChange.rbegin(); change != editor.lastChange.rend(); ++change) {
    ChangeOutcome outcome = rule_engine::Undo(*change);
    if (outcome == ChangeOutcome::kChanged) {
      Tell(editor, Text(editor_text::kCannotUndo, FileName(change->path)));
      Reload(editor);
      return;
    }
    if (!Done(editor, outcome, *change, 0)) return;
    files += (files.empty() ? "" : Text(engine_text::kListSeparator)) + FileName(change->path);
  }
  editor.lastChange.clear();
  Say(editor, Text(editor_text::kUndone, files));
  Say(editor, rule_engine::WhenNewRulesApply());
  Reload(editor);
}

void ConvertFiles(Editor& editor) {
  ClearMessages(editor);
  std::string codePage = rule_engine::CodePageName(editor.codePage);
  bool any = false;
  for (size_t i = 0; i < editor.contents.size(); ++i) {
    const std::string& path = editor.rules->Files()[i].path;
    std::string encoding = rule_engine::OtherEncoding(editor.contents[i], editor.codePage);
    if (encoding.empty()) continue;
    any = true;
    std::string file = FileName(path);
    if (!Ask(editor, Text(editor_text::kConvertQuestion, file, encoding, codePage))) {
      Say(editor, Text(editor_text::kNothingWritten));
      continue;
    }
    RuleFileChange change = {path, true, editor.contents[i], ""};
    std::vector<int> bad;
    if (!rule_engine::ConvertToCodePage(change.before, editor.codePage, &change.after, &bad)) {
      std::string numbers;
      for (int line : bad) {
        numbers +=
            (numbers.empty() ? "" : Text(engine_text::kListSeparator)) + std::to_string(line);
      }
      Tell(editor, Text(editor_text::kConvertBadLines, file, codePage, numbers));
      continue;
    }
    editor.lastChange.clear();
    if (!Done(editor, rule_engine::Apply(change), change, 0)) continue;
    editor.lastChange.push_back(change);
    Say(editor, Text(editor_text::kConverted, file, codePage));
  }
  if (!any) Say(editor, Text(editor_text::kNothingToConvert));
  Reload(editor);
}

void TestWindow(Editor& editor) {
  ClearMessages(editor);
  std::string className, title;
  if (!TypedBytes(editor, IDC_CLASS, &className) || !TitleBytes(editor, &title)) return;
  if (title.empty() && !TypedBytes(editor, IDC_FRAGMENT, &title)) return;
  if (className.empty() || title.empty()) {
    Tell(editor, Text(editor_text::kTestNeeds));
    return;
  }
  for (const std::string& line : rule_engine::TryWindow(*editor.rules, className, title).lines) {
    Say(editor, line);
  }
}

}  // namespace rule_editor
