// lunet-editor-shots: the pictures of lunet-editor.exe for the guides, taken from the real
// program as a user sees it: started on a folder, the finder dragged with the mouse onto a
// stand-in advertisement, the list of open windows, an ordinary page closed wrongly as the closes
// view lists it, and the lines that closed it. Each view is one row of kViews, taken in that
// order from one session of the editor, and saved as NAME.bmp: the screen under the view's
// windows, cut to them. English only: it ships to no one (scripts/take-screenshots runs it).
#include <stdio.h>
#include <string.h>
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/editor_driver.h"
#include "editor_ids.h"
#include "harness/captured_process.h"
#include "host_call.h"
#include "owned.h"
#include "plugin_module.h"

namespace {

const char kHelp[] =
    "usage: lunet-editor-shots EDITOR.exe ADWINDOWS.exe FOLDER OUTDIR AD PAGE OTHER\n"
    "                          [WINDOW...]\n"
    "\n"
    "Starts the browser stand-in ADWINDOWS with the ordinary windows WINDOW and,\n"
    "over them, the advertisement AD (each CLASS=TITLE, in the ANSI code page),\n"
    "then EDITOR on FOLDER, and takes each view in turn, saving OUTDIR\\NAME.bmp\n"
    "(24 bits, the screen cut to the view's windows). For the closes, FOLDER's\n"
    "lunet.dll is loaded and switched on while the stand-in shows PAGE, an ordinary\n"
    "window that the rules close, and OTHER, a window of its class that they leave\n"
    "open:\n";

const DWORD kShowMs = 30000;  // a first start in a fresh prefix
const DWORD kReplyMs = 5000;
const DWORD kSettleMs = 600;  // for the windows to paint what they were told
const int kMargin = 16;       // around windows shot together, over a backdrop

// What the views share: the editor, the advertisement beside it, where the pictures go.
struct Stage {
  EditorDriver* editor = nullptr;
  HWND ad = NULL;
  std::vector<HWND> pages;  // the ordinary windows under the advertisement
  HWND backdrop = NULL;     // behind them all, until the finder's view is taken
  std::string adClass;
  std::string outDir;
  std::string adwindows;
  std::string folder;      // the plug-in's, lunet.dll in it
  std::string wrongPage;   // CLASS=TITLE: closed by the rules, though no advertisement
  std::string sharer;      // CLASS=TITLE: of its class, left open
  HWND closesView = NULL;  // open from the closes' view to the lines' one
  std::unique_ptr<CapturedProcess> shop;  // the stand-in holding the sharer open
};

// A rectangle of the screen, 24 bits a pixel, as a bottom-up BMP file.
bool SaveScreen(const RECT& area, const std::string& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride) * height;
  void* bits = nullptr;
  HDC screen = GetDC(NULL);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                     &bits, NULL, 0);
  bool copied = false;
  if (memory && picture) {
    HGDIOBJ before = SelectObject(memory, picture);
    copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top,
                    SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, before);
  }
  bool saved = false;
  if (copied) {
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    OwnedFile out(path.c_str(), "wb");
    saved = out.get() && fwrite(&file, sizeof file, 1, out.get()) == 1 &&
            fwrite(&header, sizeof header, 1, out.get()) == 1 &&
            fwrite(bits, header.biSizeImage, 1, out.get()) == 1 && out.Close();
  }
  if (picture) DeleteObject(picture);
  if (memory) DeleteDC(memory);
  ReleaseDC(NULL, screen);
  return saved;
}

RECT RectOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// The stand-in browser's windows, the advertisement and the pages under it, as one area.
RECT BrowserArea(const Stage& stage) {
  RECT area = RectOf(stage.ad);
  for (HWND page : stage.pages) {
    RECT under = RectOf(page), before = area;
    UnionRect(&area, &before, &under);
  }
  return area;
}

// The windows repainted and given time to finish, then the area saved as NAME.bmp.
bool Shoot(const Stage& stage, const char* name, const RECT& area, HWND window) {
  RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  Serve(kSettleMs);
  std::string path = stage.outDir + "\\" + name + ".bmp";
  bool saved = SaveScreen(area, path);
  printf("%s %s %ldx%ld\n", saved ? "saved" : "FAILED", path.c_str(), area.right - area.left,
         area.bottom - area.top);
  return saved;
}

// A plain window in the desktop's colour behind windows shot together, so that the space
// between them is not whatever the X server's root shows. Made first, as the screen: a window
// shown later lies above it, where Wine may not honour HWND_BOTTOM for a window of its own.
LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeBackdrop() {
  WNDCLASSA backdropClass = {};
  backdropClass.lpfnWndProc = BackdropProc;
  backdropClass.hInstance = GetModuleHandleA(NULL);
  backdropClass.hbrBackground = CreateSolidBrush(RGB(58, 110, 165));
  backdropClass.lpszClassName = "LunetShotsBackdrop";
  RegisterClassA(&backdropClass);
  HWND backdrop =
      CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, backdropClass.lpszClassName, "",
                      WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                      GetSystemMetrics(SM_CYSCREEN), NULL, NULL, backdropClass.hInstance, NULL);
  Serve(100);
  return backdrop;
}

// Waits until the editor's control shows the text (in the ANSI code page); false when it never
// does within ms.
bool WaitControlText(const Stage& stage, int id, const std::string& text, DWORD ms) {
  for (DWORD waited = 0; waited <= ms; waited += 50) {
    if (Narrow(stage.editor->Text(id), CP_ACP) == text) return true;
    Serve(50);
  }
  return false;
}

// The finder pressed and dragged onto the advertisement with the mouse, held there: its frame
// around the advertisement, the class and title shown live. Released afterwards, which
// proposes the rule for the next view.
bool ShootFinder(Stage& stage, const char* name) {
  RECT editor = RectOf(stage.editor->main()), browser = BrowserArea(stage), both;
  UnionRect(&both, &editor, &browser);
  InflateRect(&both, kMargin, kMargin);
  POINT from = CentreOf(stage.editor->Control(IDC_FINDER)), to = CentreOf(stage.ad);
  DragHeld(from, to);
  HWND frame = NULL;
  for (int i = 0; i < 100 && !(frame && IsWindowVisible(frame)); ++i) {
    frame = FindWindowA("LunetFinderFrame", NULL);
    Serve(20);
  }
  bool live = frame && WaitControlText(stage, IDC_CLASS, stage.adClass, kReplyMs);
  if (!live) {
    fprintf(stderr, "%s: %s; the class shown while dragging: \"%s\"\n", name,
            frame ? "a frame" : "no frame", Utf8(stage.editor->Text(IDC_CLASS)).c_str());
  }
  bool shot = live && Shoot(stage, name, both, stage.editor->main());
  MouseButton(false);
  Serve(300);
  // Gone before the list of open windows, which would show it.
  if (stage.backdrop) DestroyWindow(stage.backdrop);
  stage.backdrop = NULL;
  return shot;
}

// The main window once the advertisement is chosen: the rules, the proposed class and title
// fragment, the program, what the window said.
bool ShootMain(Stage& stage, const char* name) {
  std::string title = Narrow(stage.editor->Text(IDC_TITLE), CP_ACP);
  if (title.empty() || !WaitControlText(stage, IDC_FRAGMENT, title, kReplyMs)) {
    fprintf(stderr, "%s: no title fragment proposed\n", name);
    return false;
  }
  // Its caption drawn as a user sees it while working in it, active: under Wine without a
  // window manager the drag's end leaves no window active.
  SendMessageW(stage.editor->main(), WM_NCACTIVATE, TRUE, 0);
  return Shoot(stage, name, RectOf(stage.editor->main()), stage.editor->main());
}

// The list of open windows, the advertisement's row chosen.
bool ShootWindows(Stage& stage, const char* name) {
  stage.editor->Click(IDC_WINDOWS);
  SeenDialog windows = stage.editor->WaitDialog(kReplyMs);
  if (!windows.handle) {
    fprintf(stderr, "%s: the list of open windows did not open\n", name);
    return false;
  }
  HWND list = GetDlgItem(windows.handle, IDC_WINDOW_LIST);
  auto rows = stage.editor->Rows(list, 4);
  int row = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (Narrow(rows[i][0], CP_ACP) == stage.adClass) row = static_cast<int>(i);
  }
  bool shot = row >= 0 && stage.editor->SelectRow(list, row) &&
              Shoot(stage, name, RectOf(windows.handle), windows.handle);
  if (row < 0) fprintf(stderr, "%s: the advertisement is not listed\n", name);
  stage.editor->Answer(windows, IDCANCEL);
  return shot;
}

// A window of the stand-in, once it shows; shown is CLASS=TITLE.
HWND WaitShown(const std::string& shown) {
  std::string className = shown.substr(0, shown.find('='));
  for (int i = 0; i < 500; ++i) {
    HWND window = FindWindowA(className.c_str(), NULL);
    if (window && IsWindowVisible(window)) return window;
    Serve(20);
  }
  return NULL;
}

// The plug-in loaded from the folder, as the host loads it, and switched on while the stand-in
// opens the wrong page and the sharer, until the view lists the close; off and unloaded again.
bool CloseWrongPage(Stage& stage, HWND list) {
  // The host passes the folder with its trailing separator.
  std::string folder = stage.folder;
  if (folder.empty() || folder.back() != '\\') folder += "\\";
  PluginModule plugin;
  if (!plugin.Map(folder + "lunet.dll") || !plugin.load || !plugin.request ||
      !CallLoad(plugin.load, folder)) {
    fprintf(stderr, "closes: lunet.dll in %s did not load\n", stage.folder.c_str());
    return false;
  }
  CallRequest(plugin.request, ChoiceText("on"));
  stage.shop.reset(new CapturedProcess(QuotedArgument(stage.adwindows) + " --hold 300000 " +
                                       QuotedArgument(stage.wrongPage) + " " +
                                       QuotedArgument(stage.sharer)));
  bool listed = stage.editor->WaitRowCount(list, 1, kShowMs) == 1;
  CallRequest(plugin.request, ChoiceText("off"));
  if (plugin.unload) plugin.unload();
  return listed;
}

// The closes view with the wrong page's close chosen: when, the program, the class and title,
// and the lines that closed it.
bool ShootCloses(Stage& stage, const char* name) {
  stage.editor->Click(IDC_CLOSES);
  SeenDialog view = stage.editor->WaitDialog(kReplyMs);
  stage.closesView = view.handle;
  HWND list = view.handle ? GetDlgItem(view.handle, IDC_CLOSE_LIST) : NULL;
  if (!list) {
    fprintf(stderr, "%s: the view did not open\n", name);
    return false;
  }
  if (!CloseWrongPage(stage, list)) {
    fprintf(stderr, "%s: the close was not listed; the view says \"%s\"\n", name,
            Utf8(EditorDriver::TextOf(GetDlgItem(view.handle, IDC_CLOSE_STATE))).c_str());
    return false;
  }
  // The sharer, shown last, out of the way; the view in front, active as a user sees it.
  HWND sharer = WaitShown(stage.sharer);
  if (sharer) SetWindowPos(sharer, HWND_BOTTOM, kMargin, kMargin, 0, 0, SWP_NOSIZE);
  SetWindowPos(view.handle, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SendMessageW(view.handle, WM_NCACTIVATE, TRUE, 0);
  if (!stage.editor->SelectRow(list, 0)) return false;
  return Shoot(stage, name, RectOf(view.handle), view.handle);
}

// The lines that closed the chosen close, and in the notes the other open window of its class.
bool ShootLines(Stage& stage, const char* name) {
  if (!stage.closesView) return false;
  EditorDriver::ClickIn(stage.closesView, IDC_CLOSE_LINES);
  SeenDialog lines = stage.editor->WaitDialogOf(stage.closesView, kReplyMs);
  if (!lines.handle || !GetDlgItem(lines.handle, IDC_LINE_LIST)) {
    fprintf(stderr, "%s: the lines dialog did not open\n", name);
    return false;
  }
  bool shot = Shoot(stage, name, RectOf(lines.handle), lines.handle);
  stage.editor->Answer(lines, IDCANCEL);
  return shot;
}

// The views, in the order they are taken: each may leave the editor as the next one needs it.
struct View {
  const char* name;
  bool (*take)(Stage& stage, const char* name);
  const char* what;
};
const View kViews[] = {
    {"finder", ShootFinder, "the finder dragged onto the advertisement, its frame around it"},
    {"editor", ShootMain, "the main window with the advertisement's rule proposed"},
    {"windows", ShootWindows, "the list of open windows, the advertisement chosen"},
    {"closes", ShootCloses, "the closes view, the wrongly closed page chosen"},
    {"lines", ShootLines, "the lines that closed it, the other window of its class"},
};

void Usage() {
  fputs(kHelp, stderr);
  for (const View& view : kViews) fprintf(stderr, "  %-9s %s\n", view.name, view.what);
  fputs("Exit status: 0 when every view was saved, 1 when one was not; 2 for bad\narguments.\n",
        stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 8 || !strchr(argv[5], '=') || !strchr(argv[6], '=') || !strchr(argv[7], '=')) {
    Usage();
    return 2;
  }
  Stage stage;
  stage.adwindows = argv[2];
  stage.folder = argv[3];
  stage.outDir = argv[4];
  stage.wrongPage = argv[6];
  stage.sharer = argv[7];
  stage.adClass.assign(argv[5], strchr(argv[5], '=') - argv[5]);
  stage.backdrop = MakeBackdrop();
  // The stand-in opens its windows in this order, each over the one before.
  std::string browserLine = QuotedArgument(argv[2]) + " --hold 300000";
  for (int i = 8; i < argc; ++i) browserLine += " " + QuotedArgument(argv[i]);
  CapturedProcess browser(browserLine + " " + QuotedArgument(argv[5]));
  stage.ad = WaitShown(argv[5]);
  // A browser's page larger than the stand-in makes it, the advertisement over its middle.
  for (int i = 8; i < argc; ++i) {
    HWND page = WaitShown(argv[i]);
    if (!page) continue;
    stage.pages.push_back(page);
    SetWindowPos(page, NULL, kMargin, kMargin, 440, 340, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  EditorDriver editor(argv[1], argv[3]);
  stage.editor = &editor;
  if (!stage.ad || !editor.Ready(kShowMs)) {
    fprintf(stderr, "lunet-editor-shots: %s did not show\n", stage.ad ? "the editor" : "the ad");
    browser.Terminate(1);
    return 1;
  }
  editor.WaitRowCount(editor.Control(IDC_RULES), 1, kReplyMs);
  // Beside the browser, so that the finder's drag crosses no other window.
  SetWindowPos(editor.main(), HWND_TOP, BrowserArea(stage).right + 24, kMargin, 0, 0, SWP_NOSIZE);
  Serve(kSettleMs);
  int failed = 0;
  for (const View& view : kViews) failed += view.take(stage, view.name) ? 0 : 1;
  DWORD code = editor.Close(kReplyMs);
  browser.Terminate(0);
  if (stage.shop) stage.shop->Terminate(0);
  fflush(stdout);
  return failed == 0 && code == 0 ? 0 : 1;
}
