#include "shell/win32/main_window.h"

#include <commctrl.h>

#include "resources/texts.h"
#include "shell/frame_style.h"
#include "shell/win32/window_class.h"
#include "shell/window_definition.h"

namespace orvane::win {
namespace {

constexpr char kMainWindowClass[] = "OrvaneMainWindow";
constexpr DWORD kMainWindowStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
enum ControlId : UINT { kStatusBarId = 1, kOverlayId = 2, kBrowserId = 3 };

HMENU MenuId(UINT id) { return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)); }

// The menu bar: one drop-down of one string item per menu. Null when a piece cannot be made.
ScopedMenu BuildMenuBar() {
  ScopedMenu bar(CreateMenu());
  if (!bar) return {};
  for (const layout::MenuDefinition& menu : layout::kMenus) {
    ScopedMenu drop_down(CreatePopupMenu());
    if (!drop_down ||
        !AppendMenuA(drop_down.get(), MF_STRING, static_cast<UINT_PTR>(menu.command), menu.item) ||
        !AppendMenuA(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(drop_down.get()),
                     menu.title)) {
      return {};
    }
    drop_down.release();  // the bar owns it now
  }
  return bar;
}

}  // namespace

void StatusBarSink::SendPaneText(std::uint32_t index_and_style, TextRef text) {
  if (HWND bar = bar_.load()) {
    SendMessageA(bar, SB_SETTEXTA, index_and_style, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

MainWindow::MainWindow(MainWindowOptions options) : options_(std::move(options)) {}

MainWindow::~MainWindow() { window_.reset(); }

std::unique_ptr<MainWindow> MainWindow::Create(MainWindowOptions options, StatusPanes& panes,
                                               StatusBarSink& sink) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!EnsureWindowClass(kMainWindowClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, WindowProc,
                         nullptr))
    return nullptr;

  std::unique_ptr<MainWindow> self(new MainWindow(std::move(options)));
  ScopedMenu menu = BuildMenuBar();
  if (!menu) return nullptr;
  const layout::Point at =
      layout::CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  // The window procedure takes ownership of the handle as soon as it exists (WM_NCCREATE).
  if (!CreateWindowExA(0, kMainWindowClass, texts::kProductName, kMainWindowStyle, at.x, at.y,
                       layout::kWindowWidth, layout::kWindowHeight, nullptr, menu.get(), instance,
                       self.get())) {
    return nullptr;
  }
  menu.release();  // destroyed with the window from now on
  const HWND hwnd = self->hwnd();
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  if (outer.right - outer.left != layout::kWindowWidth ||
      outer.bottom - outer.top != layout::kWindowHeight) {
    MoveWindow(hwnd, at.x, at.y, layout::kWindowWidth, layout::kWindowHeight, TRUE);
  }

  // Both icons are made from the 16 x 16 image of the program's icon.
  self->icon_big_.reset(
      static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0)));
  self->icon_small_.reset(
      static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0)));
  SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(self->icon_big_.get()));
  SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(self->icon_small_.get()));
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

  if (!self->CreateControls(panes, sink)) return nullptr;
  return self;
}

bool MainWindow::CreateControls(StatusPanes& panes, StatusBarSink& sink) {
  const HWND hwnd = window_.get();
  // In the reverse of definition order: WebBrowser, lable, 状态条1.
  browser_ = BrowserHost::Create(hwnd, layout::kBrowserRect, kBrowserId, WS_TABSTOP,
                                 options_.browser_settings, &handlers_);
  if (!browser_) return false;
  handlers_.set_pane(&browser_->pane());

  overlay_ = OverlayWindow::Create(hwnd, layout::kOverlayRect, kOverlayId, options_.loading_gif);
  if (!overlay_) return false;

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  const layout::Rect& r = layout::kStatusBarRect;
  status_bar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | CCS_BOTTOM | SBT_TOOLTIPS,
                                r.left, r.top, r.width, r.height, hwnd, MenuId(kStatusBarId),
                                GetModuleHandleA(nullptr), nullptr);
  if (!status_bar_) return false;
  SendMessageA(status_bar_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  SendMessageA(status_bar_, SB_SIMPLE, FALSE, 0);
  SendMessageA(status_bar_, CCM_SETBKCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));
  int edges[layout::kPaneCount];
  for (int i = 0; i < layout::kPaneCount; ++i) edges[i] = layout::PaneRightEdge(i);
  SendMessageA(status_bar_, SB_SETPARTS, layout::kPaneCount, reinterpret_cast<LPARAM>(edges));
  for (int i = 0; i < layout::kPaneCount; ++i) {
    const Text text = panes.GetPaneText(i);
    SendMessageA(status_bar_, SB_SETTEXTA, static_cast<WPARAM>(i) | panes.style(i),
                 reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(status_bar_, SB_SETICON, static_cast<WPARAM>(i), 0);
    SendMessageA(status_bar_, SB_SETTIPTEXTA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(layout::kPanes[i].tooltip));
  }
  sink_ = &sink;
  sink.set_bar(status_bar_);
  panes.AttachSink(&sink);

  // Stacking in definition order from the top: 状态条1, lable, WebBrowser.
  constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(status_bar_, HWND_TOP, 0, 0, 0, 0, kKeep);
  SetWindowPos(overlay(), status_bar_, 0, 0, 0, 0, kKeep);
  SetWindowPos(browser(), overlay(), 0, 0, 0, 0, kKeep);

  DockStatusBar();

  ShowWindow(status_bar_, SW_SHOWNA);
  ShowWindow(overlay(), SW_HIDE);
  ShowWindow(browser(), SW_SHOWNA);
  return true;
}

void MainWindow::DockStatusBar() {
  if (!status_bar_) return;
  SendMessageA(status_bar_, WM_SIZE, SIZE_RESTORED, 0);
  RECT client{}, bar{};
  GetClientRect(hwnd(), &client);
  GetWindowRect(status_bar_, &bar);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  if (bar.bottom != client.bottom) {
    const int height = bar.bottom - bar.top;
    MoveWindow(status_bar_, bar.left, client.bottom - height, bar.right - bar.left, height, TRUE);
  }
}

HWND MainWindow::ControlOf(HWND hwnd) const {
  while (hwnd && GetParent(hwnd) != window_.get()) {
    if (!(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) return nullptr;
    hwnd = GetParent(hwnd);
  }
  return hwnd;
}

void MainWindow::MoveFocus(bool previous) {
  HWND from = ControlOf(GetFocus());
  HWND to = GetNextDlgTabItem(hwnd(), from, previous);
  if (!to) to = browser();
  SetFocus(to);
}

bool MainWindow::TranslateKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  layout::Key key = layout::Key::kOther;
  switch (msg.wParam) {
    case VK_ESCAPE:
      key = layout::Key::kEscape;
      break;
    case VK_TAB:
      key = layout::Key::kTab;
      break;
    case VK_RETURN:
      key = layout::Key::kEnter;
      break;
    case VK_F1:
      key = layout::Key::kF1;
      break;
    default:
      return false;
  }
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0 || (msg.lParam & (1 << 29)) != 0;
  switch (layout::ClassifyKey(key, ctrl, shift, alt)) {
    case layout::KeyAction::kClose:
      SendMessageA(hwnd(), WM_CLOSE, 0, 0);
      return true;
    case layout::KeyAction::kFocusNext:
      MoveFocus(false);
      return true;
    case layout::KeyAction::kFocusPrevious:
      MoveFocus(true);
      return true;
    case layout::KeyAction::kNone:
      return false;
  }
  return false;
}

void MainWindow::SetOverlayVisible(bool visible) {
  if (overlay()) ShowWindow(overlay(), visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::SetCaption(TextRef caption) {
  const HWND hwnd = window_.get();
  if (!hwnd) return;
  SetWindowTextA(hwnd, caption.c_str());
  const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  const std::uint32_t reworked = FrameStyleFor(style, caption.view().empty(), kMainWindowFrame);
  if (reworked != style) {
    SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(reworked));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const HWND hwnd = window_.get();
  switch (msg) {
    case WM_ACTIVATE: {
      const bool active = LOWORD(wp) == WA_ACTIVE || LOWORD(wp) == WA_CLICKACTIVE;
      if (!active) {
        if (HWND control = ControlOf(GetFocus())) focus_control_ = control;
      }
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      UpdateWindow(hwnd);
      if (first_activation_.OnActivate(active) && options_.first_activation) {
        options_.first_activation(*this);
      }
      return r;
    }
    case WM_SETFOCUS: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      if (focus_control_ && IsWindow(focus_control_) && IsChild(hwnd, focus_control_)) {
        SetFocus(focus_control_);
      } else if (HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE)) {
        SetFocus(first);
      }
      return r;
    }
    case WM_SIZE: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      DockStatusBar();
      return r;
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wp), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_COMMAND:
      if (lp == 0 && LOWORD(wp) == static_cast<WORD>(layout::MenuCommand::kExit)) {
        if (options_.exit_command) options_.exit_command();
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wp, lp);  // "检查更新(&U)" has no handler
    case WM_DESTROY:
      if (sink_) sink_->set_bar(nullptr);
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_NCDESTROY: {
      window_.release();
      status_bar_ = nullptr;
      const LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
      // No window of the program remains.
      if (options_.life && options_.life->QuitWhenLastWindowGone()) PostQuitMessage(0);
      return r;
    }
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = WindowObject<MainWindow>(hwnd, msg, lp);
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) self->window_.reset(hwnd);
  return self->HandleMessage(msg, wp, lp);
}

}  // namespace orvane::win
