// MainWindow on Windows, built from the fixed window definition: the frame, menu bar, icon and
// font, the three controls (状态条1, lable, WebBrowser) with their stacking and start visibility,
// the status bar's docking, the focus rules, the keyboard handling and the first activation.
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include <atomic>
#include <functional>
#include <memory>

#include "browser/browser_pane.h"
#include "browser/win32/browser_host.h"
#include "shell/app_state.h"
#include "shell/program_life.h"
#include "shell/status_panes.h"
#include "shell/win32/overlay_window.h"
#include "shell/win32/scoped.h"

namespace orvane::win {

// Where the pane record's writes are drawn: SB_SETTEXTA to the status bar, sent synchronously
// from whichever thread writes. Once the window is gone the send does nothing. It must live as
// long as anything may write to the panes (for the worker: the rest of the process).
class StatusBarSink final : public StatusPanes::Sink {
 public:
  void set_bar(HWND bar) { bar_.store(bar); }
  void SendPaneText(std::uint32_t index_and_style, TextRef text) override;

 private:
  std::atomic<HWND> bar_{nullptr};
};

class MainWindow;

struct MainWindowOptions {
  ByteView browser_settings;  // WebBrowser's stored settings block; empty: the defaults
  ByteView loading_gif;       // lable's picture
  ProgramLife* life = nullptr;
  std::function<void(MainWindow&)> first_activation;  // the first-activation step
  std::function<void()> exit_command;                 // "退出(&E)"
};

class MainWindow final : public MainWindowView {
 public:
  // Builds the window and its controls, hidden; null when the window or a control cannot be
  // made. The pane record's texts go to `sink` from now on.
  static std::unique_ptr<MainWindow> Create(MainWindowOptions options, StatusPanes& panes,
                                            StatusBarSink& sink);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND hwnd() const { return window_.get(); }
  HWND status_bar() const { return status_bar_; }
  HWND overlay() const { return overlay_ ? overlay_->hwnd() : nullptr; }
  HWND browser() const { return browser_ ? browser_->hwnd() : nullptr; }
  BrowserPane& pane() { return browser_->pane(); }
  OverlayWindow& overlay_window() { return *overlay_; }
  BrowserHost& browser_host() { return *browser_; }

  // The window's own keyboard handling for a message the loop took from the queue: Esc closes,
  // Tab and Shift+Tab move the focus. True when the message was used up.
  bool TranslateKey(const MSG& msg);

  // MainWindowView: what the browser pane's handlers do.
  void SetOverlayVisible(bool visible) override;
  void SetCaption(TextRef caption) override;

 private:
  explicit MainWindow(MainWindowOptions options);
  bool CreateControls(StatusPanes& panes, StatusBarSink& sink);
  void DockStatusBar();
  HWND ControlOf(HWND hwnd) const;  // the child of MainWindow that holds hwnd, or null
  void MoveFocus(bool previous);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  MainWindowOptions options_;
  MainWindowHandlers handlers_{*this};
  FirstActivation first_activation_;
  ScopedIcon icon_big_;
  ScopedIcon icon_small_;
  StatusBarSink* sink_ = nullptr;
  HWND status_bar_ = nullptr;  // owned by the window, like every child
  HWND focus_control_ = nullptr;
  // The controls' objects outlive their windows: the main window goes first.
  std::unique_ptr<BrowserHost> browser_;
  std::unique_ptr<OverlayWindow> overlay_;
  ScopedWindow window_;
};

}  // namespace orvane::win
