// lunet-editor.exe used as a user uses it, on a real desktop: the finder dragged onto an
// advertisement with the mouse, its rule added, the advertisement then closed by the plug-in;
// an edit, a removal, an undo and the refusals, each seen in the file's bytes and in what the
// window said; a rule added with the keyboard alone. Each step is printed, so that the log
// reads as the user's story. The whole story runs in one build and code page, a start and a
// close in the others (tests/editor/CMakeLists.txt).
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <windows.h>

#include <string>
#include <vector>

#include "debug_listener.h"
#include "dll/plugin_host.h"
#include "editor/editor_driver.h"
#include "editor_ids.h"
#include "editor_messages.h"
#include "engine_messages.h"
#include "harness/captured_process.h"
#include "harness/forward_redraw.h"
#include "harness/japanese_system.h"
#include "harness/temp_dir.h"

namespace {

const DWORD kShowMs = 15000;  // a first start of the editor in a fresh wineserver
const DWORD kReplyMs = 5000;
const char kShipped[] = "// shipped with lunet\r\nclass,LunetAdWindow\r\ntitle,Special offer\r\n";
const char kMine[] = "// mine\r\n";
const char kStoryClass[] = "LunetStoryAd";
const char kKeysClass[] = "LunetKeysAd";

// What changes with the code page: the advertisements' titles and the fragment of the edit, in
// the ANSI code page's bytes, and what a UTF-8 file starts with.
struct StoryTexts {
  std::string adTitle;
  std::string keysTitle;
  std::string editedFragment;
  std::string utf8Start;
};

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// The UTF-8 file with a byte order mark here, as Notepad saved UTF-8 before Windows 10; the
// story under 932 takes one without, as it saves now.
StoryTexts TextsFor1252() {
  return {"Special offer - 50% off today", "Free gift: click here", "50% off", kUtf8Bom};
}

// "無料プレゼント" (a free gift), in Shift_JIS.
const char kFreeGift932[] = "\x96\xB3\x97\xBF\x83\x76\x83\x8C\x83\x5B\x83\x93\x83\x67";

// A title holding the rule's Japanese text, and an ASCII word for the rules a UTF-8 file takes.
StoryTexts TextsFor932() {
  return {std::string(kSaleTitle.shiftJis) + " Special", kFreeGift932, kLimitedTime.shiftJis, ""};
}

void Say(const std::string& line) {
  printf("%s\n", line.c_str());
  fflush(stdout);
}

// A step of the story: what the user did, then what the window showed, indented.
class Story {
 public:
  void Did(const std::string& what) { Say("step " + std::to_string(++step_) + ": " + what); }
  void Shown(const std::string& label, const std::wstring& text) {
    std::string shown = Utf8(text);
    for (size_t at = shown.find('\n'); at != std::string::npos; at = shown.find('\n', at + 6)) {
      shown.replace(at, 1, "\n      ");
    }
    Say("    " + label + ": " + shown);
  }

 private:
  int step_ = 0;
};

std::string Ansi(const std::wstring& text) { return Narrow(text, CP_ACP); }

bool SameRect(HWND a, HWND b) {
  RECT first = {}, second = {};
  return GetWindowRect(a, &first) && GetWindowRect(b, &second) && EqualRect(&first, &second);
}

std::string RectText(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// The editor on a fresh plug-in folder: a copy of the built lunet.dll (which the test itself
// loads as the host, later) and the two rule files.
class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    editorPath = BuiltFile("LUNET_EDITOR");
    adwindowsPath = BuiltFile("LUNET_ADWINDOWS");
    ASSERT_FALSE(editorPath.empty()) << "LUNET_EDITOR must name lunet-editor.exe";
    ASSERT_FALSE(adwindowsPath.empty()) << "LUNET_ADWINDOWS must name lunet-adwindows.exe";
    ASSERT_FALSE(host.dllPath.empty()) << "LUNET_DLL must name the built lunet.dll";
    host.dir.Write("killwnd.txt", kShipped);
    host.dir.Write("killwnd_custom.txt", kMine);
  }

  std::string Custom() const { return ReadFileBytes(host.dir.File("killwnd_custom.txt")); }
  // The file once it holds what is expected, or what it holds after a while: the window writes
  // after its box has closed.
  std::string CustomOnce(const std::string& expected) const {
    for (int i = 0; i < 100 && Custom() != expected; ++i) Serve(20);
    return Custom();
  }

  // A stand-in browser holding one advertisement open; its window, once it shows.
  HWND OpenAd(std::unique_ptr<CapturedProcess>& browser, const char* className,
              const std::string& title) {
    browser.reset(new CapturedProcess(QuotedArgument(adwindowsPath) + " --hold 120000 " +
                                      QuotedArgument(std::string(className) + "=" + title)));
    for (int i = 0; i < 250; ++i) {
      HWND ad = FindWindowA(className, NULL);
      if (ad && IsWindowVisible(ad)) return ad;
      Serve(20);
    }
    return NULL;
  }

  // The value, kind and file of every row of the rules list.
  std::vector<std::vector<std::wstring>> RuleRows(EditorDriver& editor) {
    return editor.Rows(editor.Control(IDC_RULES), 5);
  }
  // The row of the rules list whose file and value are these; -1 when there is none.
  int RuleRow(EditorDriver& editor, const std::wstring& file, const std::wstring& value) {
    auto rows = RuleRows(editor);
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i][0] == file && rows[i][3] == value) return static_cast<int>(i);
    }
    return -1;
  }
  std::string RowsText(EditorDriver& editor) {
    std::string text;
    for (const auto& row : RuleRows(editor)) {
      text += "\n ";
      for (const std::wstring& cell : row) text += " | " + Utf8(cell);
    }
    return text;
  }
  // Waits until the rules list has a row of this value, as the change notification brings it.
  int WaitRuleRow(EditorDriver& editor, const std::wstring& file, const std::wstring& value) {
    for (int i = 0; i < 150; ++i) {
      int row = RuleRow(editor, file, value);
      if (row >= 0) return row;
      Serve(20);
    }
    return -1;
  }

  // Presses a button of the main window and answers each box it opens in turn; the boxes seen.
  std::vector<SeenDialog> Press(EditorDriver& editor, int id, std::vector<int> answers) {
    std::vector<SeenDialog> seen;
    editor.Click(id);
    for (int answer : answers) {
      SeenDialog box = editor.WaitDialog(kReplyMs);
      if (!box.handle) break;
      story.Shown(std::to_string(box.buttons) + "-button box", box.text);
      seen.push_back(box);
      editor.Answer(box, answer);
    }
    return seen;
  }

  // Adds a typed class and fragment that the window must refuse: one OK box, its text also in
  // the window's messages, nothing written.
  void Refused(EditorDriver& editor, const std::string& what, const std::wstring& className,
               const std::wstring& fragment) {
    std::string before = Custom();
    story.Did("typed class \"" + Utf8(className) + "\" and fragment \"" + Utf8(fragment) + "\" (" +
              what + "), pressed Add");
    editor.SetText(IDC_CLASS, className);
    editor.SetText(IDC_FRAGMENT, fragment);
    std::wstring messages = editor.Text(IDC_MESSAGES);
    auto boxes = Press(editor, IDC_ADD, {IDOK});
    ASSERT_EQ(1u, boxes.size()) << what;
    EXPECT_EQ(1, boxes[0].buttons) << what << ": a refusal has only OK";
    messages = editor.WaitMessages(messages, kReplyMs);
    story.Shown("messages", messages);
    EXPECT_NE(std::wstring::npos, messages.find(boxes[0].text)) << what;
    EXPECT_EQ(before, Custom()) << what << ": nothing may be written";
  }

  // A rule's value changed in its edit dialog to one the window must refuse: one OK box, nothing
  // written, the dialog left with Cancel when it is still open.
  void EditRefused(EditorDriver& editor, const std::string& what, int row,
                   const std::wstring& value) {
    std::string before = Custom();
    story.Did("chose a rule, pressed Edit, typed \"" + Utf8(value) + "\" (" + what + "), OK");
    ASSERT_GE(row, 0) << what;
    ASSERT_TRUE(editor.SelectRow(editor.Control(IDC_RULES), row));
    editor.Click(IDC_EDIT);
    SeenDialog edit = editor.WaitDialog(kReplyMs);
    ASSERT_TRUE(edit.handle && GetDlgItem(edit.handle, IDC_EDIT_VALUE)) << what;
    EditorDriver::SetTextOf(GetDlgItem(edit.handle, IDC_EDIT_VALUE), value);
    editor.Answer(edit, IDOK, false);
    SeenDialog box = editor.WaitDialog(kReplyMs, edit.handle);
    ASSERT_TRUE(box.handle) << what;
    story.Shown(std::to_string(box.buttons) + "-button box", box.text);
    EXPECT_EQ(1, box.buttons) << what << ": a refusal has only OK";
    editor.Answer(box, IDOK);
    if (IsWindow(edit.handle) && IsWindowVisible(edit.handle)) editor.Answer(edit, IDCANCEL);
    EXPECT_EQ(before, Custom()) << what << ": nothing may be written";
  }

  void RunStory(const StoryTexts& texts);
  // A start and a close: the caption in the user's language, the rules listed, exit code 0.
  void StartAndClose(const std::wstring& caption);

  PluginHost host;
  Story story;
  std::string editorPath, adwindowsPath;
};

void EditorFixture::RunStory(const StoryTexts& texts) {
  const std::wstring custom = L"killwnd_custom.txt";
  std::unique_ptr<CapturedProcess> browser;
  HWND ad = OpenAd(browser, kStoryClass, texts.adTitle);
  ASSERT_TRUE(ad) << "lunet-adwindows showed no advertisement";
  story.Did("a browser stand-in shows an advertisement, class " + std::string(kStoryClass) +
            ", title \"" + Utf8(Widen(texts.adTitle, CP_ACP)) + "\" (code page " +
            std::to_string(GetACP()) + ")");

  EditorDriver editor(editorPath, host.dir.path());
  ASSERT_TRUE(editor.Ready(kShowMs)) << "no main window of lunet-editor.exe";
  editor.WaitRowCount(editor.Control(IDC_RULES), 2, kReplyMs);
  // Beside the advertisement, so that the finder is not under it.
  RECT adRect = {};
  GetWindowRect(ad, &adRect);
  SetWindowPos(editor.main(), HWND_TOP, adRect.right + 40, 20, 0, 0, SWP_NOSIZE);
  Serve(200);
  story.Did("started lunet-editor.exe on the plug-in folder");
  story.Shown("caption", EditorDriver::TextOf(editor.main()));
  story.Shown("rules listed", std::to_wstring(RuleRows(editor).size()));
  story.Shown("messages", editor.Text(IDC_MESSAGES));
  EXPECT_EQ(2u, RuleRows(editor).size());

  // The finder dragged with the mouse: pressed, moved in steps, released over the ad.
  POINT from = CentreOf(editor.Control(IDC_FINDER)), to = CentreOf(ad);
  story.Did("pressed the left button on the finder and dragged it onto the advertisement");
  DragHeld(from, to);
  Serve(300);
  HWND frame = FindWindowW(L"LunetFinderFrame", NULL);
  bool framed = frame && IsWindowVisible(frame) && SameRect(frame, ad);
  story.Shown("outline while dragging", frame ? Widen(RectText(frame), CP_ACP) : L"(none)");
  story.Shown("class while dragging", editor.Text(IDC_CLASS));
  EXPECT_TRUE(framed) << "the outline must cover the advertisement, " << RectText(ad);
  MouseButton(false);
  Serve(300);
  EXPECT_FALSE(frame && IsWindowVisible(frame)) << "the outline stays after the release";
  story.Did("released the button over the advertisement");
  story.Shown("class", editor.Text(IDC_CLASS));
  story.Shown("title", editor.Text(IDC_TITLE));
  story.Shown("fragment", editor.Text(IDC_FRAGMENT));
  story.Shown("program", editor.Text(IDC_PROGRAM));
  ASSERT_EQ(kStoryClass, Ansi(editor.Text(IDC_CLASS)));
  ASSERT_EQ(texts.adTitle, Ansi(editor.Text(IDC_FRAGMENT)));
  EXPECT_NE(std::wstring::npos, editor.Text(IDC_PROGRAM).find(L"lunet-adwindows.exe"));

  story.Did("pressed Add and answered Yes");
  auto boxes = Press(editor, IDC_ADD, {IDYES});
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(2, boxes[0].buttons);
  EXPECT_EQ(EditorDriver::TextOf(editor.main()), boxes[0].caption);
  std::wstring messages = editor.WaitMessages(boxes[0].text, kReplyMs);
  story.Shown("messages", messages);
  const std::string added =
      std::string(kMine) + "class," + kStoryClass + "\r\ntitle," + texts.adTitle + "\r\n";
  ASSERT_EQ(added, CustomOnce(added)) << "the rule in the system's code page, appended";
  story.Shown("killwnd_custom.txt now", Widen(Custom(), CP_ACP));

  story.Did("opened the list of open windows");
  editor.Click(IDC_WINDOWS);
  SeenDialog windows = editor.WaitDialog(kReplyMs);
  ASSERT_TRUE(windows.handle);
  bool listed = false;
  for (const auto& row : editor.Rows(GetDlgItem(windows.handle, IDC_WINDOW_LIST), 4)) {
    if (Ansi(row[0]) != kStoryClass) continue;
    story.Shown("its row", row[0] + L" | " + row[1] + L" | " + row[2] + L" | " + row[3]);
    listed = row[3].find(custom) != std::wstring::npos;
  }
  EXPECT_TRUE(listed) << "the advertisement must be listed as closed by killwnd_custom.txt";
  editor.Answer(windows, IDCANCEL);

  // The host loads the plug-in now, and switches the closer on; Wine sends no "title redrawn",
  // so this thread hands it on for the advertisement, as the system would.
  story.Did("the host loads lunet.dll from the folder and switches the closer on");
  ASSERT_TRUE(host.Map());
  ASSERT_EQ(1, host.Load());
  host.Choose("on");
  {
    RedrawForwarding forwarding;
    ASSERT_TRUE(forwarding.started());
    for (int i = 0; i < 30 && IsWindow(ad); ++i) {
      ForwardRedraw(ad);
      Serve(100);
    }
  }
  host.Choose("off");
  host.Unmap();
  story.Shown("the advertisement", IsWindow(ad) ? L"still open" : L"closed by the plug-in");
  EXPECT_FALSE(IsWindow(ad)) << "the plug-in did not close the advertisement";
  browser->Terminate(0);

  // Edit: the title rule becomes a shorter fragment of the same title.
  const std::wstring title = Widen(texts.adTitle, CP_ACP);
  const std::wstring edited = Widen(texts.editedFragment, CP_ACP);
  int row = RuleRow(editor, custom, title);
  ASSERT_GE(row, 0) << "the new title rule is not listed";
  story.Did("chose the new title rule, pressed Edit, typed \"" + Utf8(edited) +
            "\", OK, answered Yes");
  ASSERT_TRUE(editor.SelectRow(editor.Control(IDC_RULES), row));
  editor.Click(IDC_EDIT);
  SeenDialog edit = editor.WaitDialog(kReplyMs);
  ASSERT_TRUE(edit.handle && GetDlgItem(edit.handle, IDC_EDIT_VALUE));
  story.Shown("edit dialog", EditorDriver::TextOf(GetDlgItem(edit.handle, IDC_EDIT_KIND)));
  EditorDriver::SetTextOf(GetDlgItem(edit.handle, IDC_EDIT_VALUE), edited);
  editor.Answer(edit, IDOK, false);
  SeenDialog plan = editor.WaitDialog(kReplyMs, edit.handle);
  ASSERT_TRUE(plan.handle);
  story.Shown(std::to_string(plan.buttons) + "-button box", plan.text);
  EXPECT_EQ(2, plan.buttons);
  editor.Answer(plan, IDYES);
  story.Shown("messages", editor.WaitMessages(messages, kReplyMs));
  const std::string withEdit =
      std::string(kMine) + "class," + kStoryClass + "\r\ntitle," + texts.editedFragment + "\r\n";
  EXPECT_EQ(withEdit, CustomOnce(withEdit)) << "the line changed where it is";

  story.Did("chose that rule, pressed Remove, answered Yes");
  row = WaitRuleRow(editor, custom, edited);
  ASSERT_GE(row, 0);
  ASSERT_TRUE(editor.SelectRow(editor.Control(IDC_RULES), row));
  boxes = Press(editor, IDC_REMOVE, {IDYES});
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(2, boxes[0].buttons) << "a removal is asked first";
  EXPECT_NE(std::wstring::npos, boxes[0].text.find(edited));
  const std::string removed = std::string(kMine) + "class," + kStoryClass + "\r\n";
  EXPECT_EQ(removed, CustomOnce(removed));

  story.Did("pressed Undo");
  messages = editor.Text(IDC_MESSAGES);
  editor.Click(IDC_UNDO);
  story.Shown("messages", editor.WaitMessages(messages, kReplyMs));
  EXPECT_EQ(withEdit, CustomOnce(withEdit)) << "the removed line is back";
  WaitRuleRow(editor, custom, edited);

  // The refusals, typed into the controls a user types into.
  Refused(editor, "empty", L"", L"");
  // A fragment must lie in the advertisement's title, which holds no comma and no full-width
  // space at an end: these are typed into a rule's own edit, where the same checks apply.
  row = RuleRow(editor, custom, edited);
  EditRefused(editor, "a comma", row, L"offer, 50%");
  EditRefused(editor, "a full-width space before", row, L"\x3000" + edited);
  EditRefused(editor, "a full-width space after", row, edited + L"\x3000");

  // A file saved in UTF-8 takes an ASCII rule with a warning, and no Japanese one.
  const std::string utf8File =
      texts.utf8Start + "// mine\r\ntitle,\xE5\xBA\x83\xE5\x91\x8A\r\n";  // 広告
  story.Did(std::string("another program saved killwnd_custom.txt in UTF-8") +
            (texts.utf8Start.empty() ? "" : " with a byte order mark"));
  WriteFileBytes(host.dir.File("killwnd_custom.txt"), utf8File);
  for (int i = 0; i < 150 && RuleRows(editor).size() != 3; ++i) Serve(20);
  auto rows = RuleRows(editor);
  ASSERT_EQ(3u, rows.size()) << "the change outside is not shown: " << RowsText(editor);
  story.Shown("its row", rows[2][0] + L" | " + rows[2][3] + L" | " + rows[2][4]);
  EXPECT_EQ(L"\x5E83\x544A", rows[2][3]) << "the value as written, decoded from UTF-8";
  Refused(editor, "a Japanese rule into a UTF-8 file", L"", L"\x671F\x9593\x9650\x5B9A");
  story.Did("typed the fragment \"Special\", pressed Add, answered Yes");
  editor.SetText(IDC_CLASS, L"");
  editor.SetText(IDC_FRAGMENT, L"Special");
  messages = editor.Text(IDC_MESSAGES);
  boxes = Press(editor, IDC_ADD, {IDYES});
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(2, boxes[0].buttons) << "an ASCII rule into a UTF-8 file is taken, with a warning";
  EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"UTF-8"));
  story.Shown("messages", editor.WaitMessages(messages, kReplyMs));
  EXPECT_EQ(utf8File + "title,Special\r\n", CustomOnce(utf8File + "title,Special\r\n"));

  // Keys only: the list of open windows, the advertisement chosen with the arrows, then Add.
  WriteFileBytes(host.dir.File("killwnd_custom.txt"), kMine);
  ad = OpenAd(browser, kKeysClass, texts.keysTitle);
  ASSERT_TRUE(ad);
  WaitRuleRow(editor, L"killwnd.txt", L"LunetAdWindow");
  Serve(500);
  story.Did("a second advertisement, class " + std::string(kKeysClass) + "; with the keyboard " +
            "alone: Tab to Open windows, Enter, arrows to it, Enter, Tab to Add, Enter, Enter");
  SetForegroundWindow(editor.main());
  Serve(200);
  for (int i = 0; i < 40 && editor.Focus() != editor.Control(IDC_WINDOWS); ++i) {
    Key(VK_TAB);
    Serve(50);
  }
  ASSERT_EQ(editor.Control(IDC_WINDOWS), editor.Focus()) << "Tab never reached Open windows";
  Key(VK_RETURN);
  windows = editor.WaitDialog(kReplyMs);
  ASSERT_TRUE(windows.handle);
  HWND list = GetDlgItem(windows.handle, IDC_WINDOW_LIST);
  rows = editor.Rows(list, 4);
  int target = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (Ansi(rows[i][0]) == kKeysClass) target = static_cast<int>(i);
  }
  ASSERT_GE(target, 0) << "the second advertisement is not in the list";
  for (size_t i = 0; i <= rows.size() + 1; ++i) {
    if (SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == target) {
      break;
    }
    Key(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) > target
            ? VK_UP
            : VK_DOWN);
    Serve(50);
  }
  Key(VK_RETURN);
  Serve(300);
  story.Shown("class", editor.Text(IDC_CLASS));
  story.Shown("fragment", editor.Text(IDC_FRAGMENT));
  for (int i = 0; i < 40 && editor.Focus() != editor.Control(IDC_ADD); ++i) {
    Key(VK_TAB);
    Serve(50);
  }
  ASSERT_EQ(editor.Control(IDC_ADD), editor.Focus()) << "Tab never reached Add";
  Key(VK_RETURN);
  SeenDialog question = editor.WaitDialog(kReplyMs);
  ASSERT_TRUE(question.handle);
  story.Shown(std::to_string(question.buttons) + "-button box", question.text);
  Key(VK_RETURN);
  for (int i = 0; i < 100 && IsWindow(question.handle); ++i) Serve(20);
  const std::string keysAdded =
      std::string(kMine) + "class," + kKeysClass + "\r\ntitle," + texts.keysTitle + "\r\n";
  EXPECT_EQ(keysAdded, CustomOnce(keysAdded));
  story.Shown("killwnd_custom.txt now", Widen(Custom(), CP_ACP));
  browser->Terminate(0);

  story.Did("closed the window");
  EXPECT_EQ(0u, editor.Close(kReplyMs));
}

void EditorFixture::StartAndClose(const std::wstring& caption) {
  EditorDriver editor(editorPath, host.dir.path());
  ASSERT_TRUE(editor.Ready(kShowMs)) << "no main window of lunet-editor.exe";
  editor.WaitRowCount(editor.Control(IDC_RULES), 2, kReplyMs);
  story.Did("started lunet-editor.exe on the plug-in folder");
  story.Shown("caption", EditorDriver::TextOf(editor.main()));
  story.Shown("rules listed", std::to_wstring(RuleRows(editor).size()));
  story.Shown("messages", editor.Text(IDC_MESSAGES));
  EXPECT_EQ(caption, EditorDriver::TextOf(editor.main()));
  EXPECT_EQ(2u, RuleRows(editor).size());
  story.Did("closed it");
  EXPECT_EQ(0u, editor.Close(kReplyMs));
}

// A wrong close traced back to its rules: an ordinary page of a class that a class line names,
// closed because a title line of each rule file matches its title too. Both title lines are
// narrowed from the closes view, the question before each save saying whether the page would
// still be closed; with the rules read anew as programs read them, the page stays open and the
// advertisement is still closed.
class EditorClosesFixture : public EditorFixture {
 protected:
  static constexpr const char* kPageClass = "LunetPage";
  static constexpr const char* kPageTitle = "News: Special offer and Weekly deals explained";
  static constexpr const char* kAdTitle = "Special offer! Weekly deals! Click now";
  // Of the same class, open while the plug-in is off: the "Special offer" line would close it.
  static constexpr const char* kSharerTitle = "Special offer for members";

  void SetUp() override {
    EditorFixture::SetUp();
    host.dir.Write("killwnd.txt",
                   "// shipped with lunet\r\nclass,LunetPage\r\ntitle,Special offer\r\n");
    host.dir.Write("killwnd_custom.txt", "// mine\r\ntitle,Weekly deals\r\n");
  }

  // The stand-in browser run with the plug-in on, each window notified once: its output, which
  // says which windows were closed.
  std::string Browse(const std::vector<std::string>& windows) {
    std::string command = QuotedArgument(adwindowsPath) + " --hold 1500";
    for (const std::string& window : windows) command += " " + QuotedArgument(window);
    EXPECT_TRUE(host.Map());
    EXPECT_EQ(1, host.Load());
    host.Choose("on");
    CapturedProcess browser(command);
    browser.Finish(true);
    host.Choose("off");
    host.Unmap();
    return browser.output();
  }

  // The closes view, once the main window's button opened it.
  HWND OpenClosesView(EditorDriver& editor) {
    story.Did("pressed Closes");
    editor.Click(IDC_CLOSES);
    SeenDialog view = editor.WaitDialog(kReplyMs);
    if (!view.handle) return NULL;
    story.Shown("view", view.caption);
    story.Shown("state", EditorDriver::TextOf(GetDlgItem(view.handle, IDC_CLOSE_STATE)));
    return view.handle;
  }

  // A line of the chosen close edited in the lines dialog to value, each box answered as given
  // in turn (the edit dialog's OK between), the last box (the question before saving) answered
  // Yes; its text.
  std::wstring EditLine(EditorDriver& editor, HWND lines, int row, const std::wstring& value,
                        std::vector<int> before) {
    EXPECT_TRUE(editor.SelectRow(GetDlgItem(lines, IDC_LINE_LIST), row));
    EditorDriver::ClickIn(lines, IDC_LINE_EDIT);
    for (int answer : before) {
      SeenDialog box = editor.WaitDialogOf(lines, kReplyMs);
      if (!box.handle) return L"(no box)";
      story.Shown("box", box.text);
      editor.Answer(box, answer);
    }
    SeenDialog edit = editor.WaitDialogOf(lines, kReplyMs);
    if (!edit.handle || !GetDlgItem(edit.handle, IDC_EDIT_VALUE)) return L"(no edit dialog)";
    EditorDriver::SetTextOf(GetDlgItem(edit.handle, IDC_EDIT_VALUE), value);
    editor.Answer(edit, IDOK, false);
    SeenDialog question = editor.WaitDialogOf(lines, kReplyMs, edit.handle);
    if (!question.handle) return L"(no question)";
    story.Shown("question", question.text);
    editor.Answer(question, IDYES);
    return question.text;
  }

  std::string LinesRows(EditorDriver& editor, HWND lines) {
    std::string text;
    for (const auto& row : editor.Rows(GetDlgItem(lines, IDC_LINE_LIST), 4)) {
      text += "\n ";
      for (const std::wstring& cell : row) text += " | " + Utf8(cell);
    }
    return text;
  }

  // Waits until the lines dialog lists count rows, as it works them out again after a change.
  std::string WaitLinesRows(EditorDriver& editor, HWND lines, size_t count) {
    HWND list = GetDlgItem(lines, IDC_LINE_LIST);
    for (int i = 0; i < 100 && editor.Rows(list, 1).size() != count; ++i) Serve(20);
    return LinesRows(editor, lines);
  }

  std::string FileBytes(const char* name) const { return ReadFileBytes(host.dir.File(name)); }

  void RunCloses();
  void RunAnotherListener();
};

void EditorClosesFixture::RunCloses() {
  const std::string page = std::string(kPageClass) + "=" + kPageTitle;
  const std::string ad = std::string(kPageClass) + "=" + kAdTitle;
  EditorDriver editor(editorPath, host.dir.path());
  ASSERT_TRUE(editor.Ready(kShowMs)) << "no main window of lunet-editor.exe";
  story.Did(
      "started lunet-editor.exe on a folder whose class line LunetPage and title lines "
      "\"Special offer\" (killwnd.txt) and \"Weekly deals\" (killwnd_custom.txt) match a "
      "news page");
  HWND view = OpenClosesView(editor);
  ASSERT_TRUE(view) << "no closes view";
  EXPECT_EQ(Text(editor_text::kListening),
            Utf8(EditorDriver::TextOf(GetDlgItem(view, IDC_CLOSE_STATE))));

  story.Did("the plug-in is on; a browser stand-in shows the page " + page);
  std::string fates = Browse({page});
  story.Shown("browser", Widen(fates, CP_ACP));
  ASSERT_EQ("closed", FateOf(ParseWindowFates(fates), std::string(kPageClass) + " " + kPageTitle));
  HWND closes = GetDlgItem(view, IDC_CLOSE_LIST);
  ASSERT_EQ(1, editor.WaitRowCount(closes, 1, kReplyMs)) << "the close is not listed";
  auto rows = editor.Rows(closes, 5);
  story.Shown("close listed", rows[0][0] + L" | " + rows[0][1] + L" | " + rows[0][2] + L" | " +
                                  rows[0][3] + L" | " + rows[0][4]);
  EXPECT_EQ(0u, rows[0][1].find(L"lunet-adwindows.exe (pid ")) << "the program that held it";
  EXPECT_EQ(Widen(kPageClass, CP_ACP), rows[0][2]);
  EXPECT_EQ(Widen(kPageTitle, CP_ACP), rows[0][3]);
  const std::string classLine = "killwnd.txt:2 class,LunetPage";
  const std::string shipped = "killwnd.txt:3 title,Special offer";
  const std::string mine = "killwnd_custom.txt:2 title,Weekly deals";
  const std::string separator = Text(engine_text::kListSeparator);
  EXPECT_EQ(classLine + separator + shipped + separator + mine, Utf8(rows[0][4]));

  std::unique_ptr<CapturedProcess> sharer;
  ASSERT_TRUE(OpenAd(sharer, kPageClass, kSharerTitle)) << "no window sharing the class";
  story.Did("with the plug-in off, another page of the class shows: " + std::string(kSharerTitle));

  story.Did("chose the close, pressed Lines that closed it");
  ASSERT_TRUE(editor.SelectRow(closes, 0));
  EditorDriver::ClickIn(view, IDC_CLOSE_LINES);
  SeenDialog lines = editor.WaitDialogOf(view, kReplyMs);
  ASSERT_TRUE(lines.handle && GetDlgItem(lines.handle, IDC_LINE_LIST)) << "no lines dialog";
  story.Shown("about", EditorDriver::TextOf(GetDlgItem(lines.handle, IDC_LINE_WINDOW)));
  std::string listed = LinesRows(editor, lines.handle);
  story.Shown("lines", Widen(listed, CP_UTF8));
  std::wstring notes = EditorDriver::TextOf(GetDlgItem(lines.handle, IDC_LINE_NOTES));
  story.Shown("notes", notes);
  EXPECT_NE(std::wstring::npos, notes.find(Widen(kSharerTitle, CP_ACP)))
      << "the class line's notes name the other open window of its class";
  const std::string kinds[] = {Text(editor_text::kKindClass), Text(editor_text::kKindTitle)};
  EXPECT_EQ("\n  | killwnd.txt | 2 | " + kinds[0] + " | LunetPage\n  | killwnd.txt | 3 | " +
                kinds[1] + " | Special offer\n  | killwnd_custom.txt | 2 | " + kinds[1] +
                " | Weekly deals",
            listed);

  story.Did(
      "chose killwnd.txt's title line, pressed Edit, answered Yes to the release's "
      "warning and No to the note, typed \"Special offer!\", OK, answered Yes");
  std::wstring question = EditLine(editor, lines.handle, 1, L"Special offer!", {IDYES, IDNO});
  EXPECT_NE(std::wstring::npos,
            question.find(Widen(Text(editor_text::kAfterStillClosed, classLine, mine), CP_UTF8)))
      << "still closed by the other title line";
  EXPECT_NE(std::wstring::npos, question.find(Widen(Text(editor_text::kSpares), CP_UTF8) +
                                              L"\n    lunet-adwindows.exe"))
      << "the change spares the other page";
  EXPECT_NE(std::wstring::npos, question.find(Widen(kSharerTitle, CP_ACP)));
  const std::string shippedNow =
      "// shipped with lunet\r\nclass,LunetPage\r\ntitle,Special offer!\r\n";
  for (int i = 0; i < 100 && FileBytes("killwnd.txt") != shippedNow; ++i) Serve(20);
  EXPECT_EQ(shippedNow, FileBytes("killwnd.txt"));
  listed = WaitLinesRows(editor, lines.handle, 2);
  story.Shown("lines", Widen(listed, CP_UTF8));
  EXPECT_EQ("\n  | killwnd.txt | 2 | " + kinds[0] + " | LunetPage\n  | killwnd_custom.txt | 2 | " +
                kinds[1] + " | Weekly deals",
            listed);

  story.Did(
      "chose killwnd_custom.txt's title line, pressed Edit, typed \"Weekly deals!\", OK, "
      "answered Yes");
  question = EditLine(editor, lines.handle, 1, L"Weekly deals!", {});
  EXPECT_NE(std::wstring::npos, question.find(Widen(Text(editor_text::kAfterNotClosed), CP_UTF8)));
  EXPECT_NE(std::wstring::npos, question.find(Widen(Text(editor_text::kChangesNoOther), CP_UTF8)))
      << "the other page is spared already";
  const std::string mineNow = "// mine\r\ntitle,Weekly deals!\r\n";
  for (int i = 0; i < 100 && FileBytes("killwnd_custom.txt") != mineNow; ++i) Serve(20);
  EXPECT_EQ(mineNow, FileBytes("killwnd_custom.txt"));
  listed = WaitLinesRows(editor, lines.handle, 1);
  notes = EditorDriver::TextOf(GetDlgItem(lines.handle, IDC_LINE_NOTES));
  story.Shown("lines", Widen(listed, CP_UTF8));
  story.Shown("notes", notes);
  EXPECT_EQ("\n  | killwnd.txt | 2 | " + kinds[0] + " | LunetPage", listed);
  EXPECT_EQ(0u, notes.find(Widen(Text(editor_text::kClosesNoMore), CP_UTF8)));
  editor.Answer(lines, IDCANCEL);
  std::wstring column = editor.Rows(closes, 5)[0][4];
  story.Shown("the close's lines now", column);
  EXPECT_EQ(classLine + Text(editor_text::kNoteSeparator) + Text(editor_text::kClosesNoMore),
            Utf8(column));

  story.Did(
      "the host reloads the plug-in, which reads the rules anew; the browser stand-in, "
      "started anew, shows the page and the advertisement " +
      ad);
  fates = Browse({page, ad});
  story.Shown("browser", Widen(fates, CP_ACP));
  auto fate = ParseWindowFates(fates);
  EXPECT_EQ("open", FateOf(fate, std::string(kPageClass) + " " + kPageTitle));
  EXPECT_EQ("closed", FateOf(fate, std::string(kPageClass) + " " + kAdTitle));
  ASSERT_EQ(2, editor.WaitRowCount(closes, 2, kReplyMs)) << "the ad's close is not listed";
  column = editor.Rows(closes, 5)[1][4];
  story.Shown("the ad's close, its lines", column);
  EXPECT_EQ(classLine + separator + "killwnd.txt:3 title,Special offer!" + separator +
                "killwnd_custom.txt:2 title,Weekly deals!",
            Utf8(column));
  sharer->Terminate(0);
  story.Did("closed the window");
  EXPECT_EQ(0u, editor.Close(kReplyMs));
}

// The debug output has one listener on a desktop: with another holding it, the view says so and
// the rest of the editor works.
void EditorClosesFixture::RunAnotherListener() {
  DebugListener other;
  std::string error;
  ASSERT_TRUE(other.Open(error)) << error;
  story.Did("another program listens to the debug output");
  EditorDriver editor(editorPath, host.dir.path());
  ASSERT_TRUE(editor.Ready(kShowMs)) << "no main window of lunet-editor.exe";
  HWND view = OpenClosesView(editor);
  ASSERT_TRUE(view) << "no closes view";
  std::string state = Utf8(EditorDriver::TextOf(GetDlgItem(view, IDC_CLOSE_STATE)));
  EXPECT_NE(Text(editor_text::kListening), state);
  EXPECT_NE(std::string::npos, state.find(Text(editor_text::kNotListening, "").substr(1)))
      << "the view must say that it cannot list closes";

  story.Did(
      "typed class LunetAd and fragment \"Free gift\" in the main window, pressed Add, "
      "answered Yes");
  editor.SetText(IDC_CLASS, L"LunetAd");
  editor.SetText(IDC_FRAGMENT, L"Free gift");
  editor.Click(IDC_ADD);
  SeenDialog question = editor.WaitDialog(kReplyMs, view);
  ASSERT_TRUE(question.handle) << "no question";
  story.Shown("question", question.text);
  editor.Answer(question, IDYES);
  const std::string added = "// mine\r\ntitle,Weekly deals\r\nclass,LunetAd\r\ntitle,Free gift\r\n";
  for (int i = 0; i < 100 && FileBytes("killwnd_custom.txt") != added; ++i) Serve(20);
  EXPECT_EQ(added, FileBytes("killwnd_custom.txt"));
  story.Did("closed the window");
  EXPECT_EQ(0u, editor.Close(kReplyMs));
}

using EditorStory = EditorFixture;
using EditorStart = EditorFixture;
using EditorCloses = EditorClosesFixture;

class JapaneseEditor : public EditorFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnJapaneseSystem());
    EditorFixture::SetUp();
  }
};
using JapaneseEditorStory = JapaneseEditor;
using JapaneseEditorStart = JapaneseEditor;

class JapaneseEditorCloses : public EditorClosesFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OnJapaneseSystem());
    EditorClosesFixture::SetUp();
  }
};

TEST_F(EditorStory, DragAddCloseEditRemoveUndoRefuseAndKeys) { RunStory(TextsFor1252()); }
TEST_F(JapaneseEditorStory, DragAddCloseEditRemoveUndoRefuseAndKeys) { RunStory(TextsFor932()); }
TEST_F(EditorStart, ShowsItsRulesAndCloses) { StartAndClose(L"lunet rule editor"); }
TEST_F(JapaneseEditorStart, ShowsItsRulesAndCloses) { StartAndClose(L"lunet ルール エディター"); }
TEST_F(EditorCloses, WrongCloseNarrowedFromItsLines) { RunCloses(); }
TEST_F(EditorCloses, AnotherListenerLeavesTheRestWorking) { RunAnotherListener(); }
TEST_F(JapaneseEditorCloses, WrongCloseNarrowedFromItsLines) { RunCloses(); }
TEST_F(JapaneseEditorCloses, AnotherListenerLeavesTheRestWorking) { RunAnotherListener(); }

}  // namespace
