#include "finder.h"

namespace rule_editor {

namespace {

const char kFrameClass[] = "LunetFinderFrame";
// The frame's inside is this colour, which the layered window makes transparent.
const COLORREF kSeeThrough = RGB(255, 0, 255);
const COLORREF kOutline = RGB(255, 0, 0);
const int kOutlineWidth = 3;

struct Finder {
  HWND control = NULL;
  WNDPROC staticProc = NULL;
  HWND frame = NULL;
  HWND over = NULL;
  bool dragging = false;
  FinderCallback callback = nullptr;
  void* context = nullptr;
};

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT inside;
  GetClientRect(window, &inside);
  HBRUSH outline = CreateSolidBrush(kOutline), clear = CreateSolidBrush(kSeeThrough);
  FillRect(dc, &inside, outline);
  InflateRect(&inside, -kOutlineWidth, -kOutlineWidth);
  FillRect(dc, &inside, clear);
  DeleteObject(outline);
  DeleteObject(clear);
  EndPaint(window, &paint);
  return 0;
}

HWND MakeFrame(HWND owner) {
  HINSTANCE instance = GetModuleHandleA(NULL);
  WNDCLASSA frameClass = {};
  if (!GetClassInfoA(instance, kFrameClass, &frameClass)) {
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = instance;
    frameClass.lpszClassName = kFrameClass;
    if (!RegisterClassA(&frameClass)) return NULL;
  }
  HWND frame = CreateWindowExA(
      WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
      kFrameClass, "", WS_POPUP, 0, 0, 0, 0, owner, NULL, instance, NULL);
  if (frame) SetLayeredWindowAttributes(frame, kSeeThrough, 0, LWA_COLORKEY);
  return frame;
}

// The top-level window under the point. The frame lies over the target; should the system
// hit it despite WS_EX_TRANSPARENT, the window below it in the z-order is the one meant.
HWND TopLevelAt(POINT point, HWND frame) {
  HWND window = WindowFromPoint(point);
  if (window) window = GetAncestor(window, GA_ROOT);
  if (window != frame) return window;
  for (HWND below = GetWindow(frame, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
    RECT rect;
    if (IsWindowVisible(below) && GetWindowRect(below, &rect) && PtInRect(&rect, point)) {
      return below;
    }
  }
  return NULL;
}

void Outline(Finder& finder, HWND window) {
  RECT rect;
  if (!window || !GetWindowRect(window, &rect)) {
    ShowWindow(finder.frame, SW_HIDE);
    return;
  }
  SetWindowPos(finder.frame, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(finder.frame, NULL, TRUE);
}

void Follow(Finder& finder) {
  POINT point;
  GetCursorPos(&point);
  HWND window = TopLevelAt(point, finder.frame);
  if (window == finder.over) return;
  finder.over = window;
  Outline(finder, window);
  finder.callback(finder.context, FinderEvent::kOver, window);
}

// Ends the drag: the frame hidden, and the window at release (NULL when cancelled) reported.
void Finish(Finder& finder, HWND window) {
  finder.dragging = false;
  finder.over = NULL;
  ShowWindow(finder.frame, SW_HIDE);
  finder.callback(finder.context, FinderEvent::kReleased, window);
}

LRESULT CALLBACK FinderProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  Finder& finder = *reinterpret_cast<Finder*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  switch (message) {
    case WM_LBUTTONDOWN:
      // The frame is made at the first drag, not with the window: a top-level window fewer to
      // make before the editor first shows, and none at all for a user who never drags.
      if (!finder.frame) finder.frame = MakeFrame(GetParent(control));
      finder.dragging = true;
      finder.over = NULL;
      SetCapture(control);
      SetCursor(LoadCursor(NULL, IDC_CROSS));
      finder.callback(finder.context, FinderEvent::kStarted, NULL);
      return 0;
    case WM_MOUSEMOVE:
      if (finder.dragging) Follow(finder);
      return 0;
    case WM_LBUTTONUP: {
      if (!finder.dragging) return 0;
      Follow(finder);
      HWND window = finder.over;
      finder.dragging = false;  // so that losing the capture now cancels nothing
      ReleaseCapture();
      Finish(finder, window);
      return 0;
    }
    case WM_CAPTURECHANGED:  // another window took the mouse: the drag is cancelled
      if (finder.dragging) Finish(finder, NULL);
      return 0;
    case WM_NCDESTROY: {
      WNDPROC staticProc = finder.staticProc;
      if (finder.frame) DestroyWindow(finder.frame);
      delete &finder;
      SetWindowLongPtrW(control, GWLP_USERDATA, 0);
      return CallWindowProcW(staticProc, control, message, wParam, lParam);
    }
  }
  return CallWindowProcW(finder.staticProc, control, message, wParam, lParam);
}

}  // namespace

void AttachFinder(HWND control, FinderCallback callback, void* context) {
  Finder* finder = new Finder;
  finder->control = control;
  finder->callback = callback;
  finder->context = context;
  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(LoadCursor(NULL, IDC_CROSS)), 0);
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(finder));
  finder->staticProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FinderProc)));
}

}  // namespace rule_editor
