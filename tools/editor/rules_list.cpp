#include "rules_list.h"

#include <commctrl.h>

#include "code_page.h"
#include "code_page_advice.h"
#include "dialog_text.h"
#include "shared/plugin_folder.h"
#include "text.h"

namespace rule_editor {

using rule_engine::FileReport;
using rule_engine::LineEffect;
using rule_engine::LineReport;

namespace {

const Column kRuleColumns[] = {{editor_text::kColumnFile, 90},
                               {editor_text::kColumnLine, 22},
                               {editor_text::kColumnKind, 40},
                               {editor_text::kColumnValue, 110},
                               {editor_text::kColumnNotes, 400}};

bool HasBom(const std::string& content) { return content.compare(0, 3, kBom) == 0; }

// What the plug-in makes of the file as a whole: a byte order mark, a file saved in UTF-8.
std::vector<std::string> FileMarks(const std::string& content, unsigned codePage) {
  std::vector<std::string> marks;
  if (HasBom(content)) marks.push_back(Text(editor_text::kMarkBom));
  if (SavedInUtf8(HasBom(content) ? content.substr(3) : content, codePage)) {
    marks.push_back(Text(editor_text::kMarkUtf8, rule_engine::CodePageName(codePage)));
  }
  return marks;
}

std::string Joined(const std::vector<std::string>& notes) {
  std::string joined;
  for (const std::string& note : notes) {
    joined += (joined.empty() ? "" : Text(editor_text::kNoteSeparator)) + note;
  }
  return joined;
}

// The row of a line meant as a rule, or false for a blank line, a comment or another line.
bool RowOf(const LineReport& line, RuleRow& row) {
  if (line.effect == LineEffect::ClassRule || line.effect == LineEffect::TitleRule) {
    row.kind = &rule_engine::KindOfRule(line.effect);
    row.value = line.text;
    return true;
  }
  if (line.lost != LineEffect::ClassRule && line.lost != LineEffect::TitleRule) return false;
  // A line that does nothing though it was meant as a rule (a byte order mark before its
  // keyword, a full-width comma): listed, so that it can be mended.
  row.kind = &rule_engine::KindOfRule(line.lost);
  row.value = line.lostValue;
  return true;
}

}  // namespace

bool SavedInUtf8(const std::string& content, unsigned codePage) {
  return codePage != CP_UTF8 && !rule_engine::OtherEncoding(content, codePage).empty();
}

std::string FileName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return PathText(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::vector<RuleRow> RuleRows(const rule_engine::RuleSet& rules,
                              const std::vector<std::string>& contents) {
  std::vector<RuleRow> rows;
  const std::vector<FileReport>& files = rules.Files();
  for (size_t f = 0; f < files.size(); ++f) {
    const std::string& content = f < contents.size() ? contents[f] : std::string();
    std::vector<std::string> lines = Lines(content);
    std::vector<std::string> marks = FileMarks(content, rules.CodePage());
    bool released = FileName(files[f].path) == kRulesFile;
    for (const LineReport& line : files[f].lines) {
      RuleRow row;
      if (!RowOf(line, row)) continue;
      row.file = f;
      row.fileName = FileName(files[f].path);
      row.line = line.line;
      if (line.line >= 1 && static_cast<size_t>(line.line) <= lines.size()) {
        row.lineBytes = lines[line.line - 1];
      }
      bool readOtherwise = false;
      row.shown = line.effect == LineEffect::Nothing && !line.lostShown.empty()
                      ? line.lostShown.substr(line.lostShown.find(',') + 1)
                      : rule_engine::AsWritten(row.value, rules.CodePage(), &readOtherwise);
      std::vector<std::string> notes = marks;
      if (line.effect == LineEffect::Nothing) {
        // No reason given: the byte order mark spoiled the first line's keyword.
        notes.push_back(line.lostWhy.empty() ? Text(editor_text::kMarkLostToBom)
                                             : Text(editor_text::kMarkDoesNothing, line.lostWhy));
      }
      notes.insert(notes.end(), line.warnings.begin(), line.warnings.end());
      row.released = released;
      if (released) notes.push_back(Text(editor_text::kMarkRelease));
      row.notes = Joined(notes);
      rows.push_back(row);
    }
  }
  return rows;
}

void AddRuleColumns(HWND list) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  AddColumns(list, kRuleColumns);
}

void FillRulesList(HWND list, const std::vector<RuleRow>& rows) {
  // One repaint for the whole list, not one per row.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    const RuleRow& row = rows[i];
    int index = InsertRow(list, i);
    SetCell(list, index, 0, row.fileName);
    SetCell(list, index, 1, std::to_string(row.line));
    SetCell(list, index, 2,
            Text(row.kind->effect == LineEffect::ClassRule ? editor_text::kKindClass
                                                           : editor_text::kKindTitle));
    SetCell(list, index, 3, row.shown);
    SetCell(list, index, 4, row.notes);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, NULL, TRUE);
}

int ChosenRow(HWND list) {
  int item = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  if (item < 0) return -1;
  LVITEMW request = {};
  request.mask = LVIF_PARAM;
  request.iItem = item;
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request))) return -1;
  return static_cast<int>(request.lParam);
}

}  // namespace rule_editor
