// WebBrowser on Windows: a child container window hosting the WebBrowser ActiveX control without
// ATL. The host is the pane's BrowserEngine; the control's DWebBrowserEvents2 notifications go to
// the portable BrowserPane, which raises the pane's events.
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include <exdisp.h>

#include <memory>

#include "browser/browser_pane.h"
#include "shell/win32/scoped.h"
#include "shell/window_definition.h"

namespace orvane::win {

class BrowserSite;

class BrowserHost final : public BrowserEngine {
 public:
  // Reads the stored settings block, creates the container (a child of `parent` at `rect`, with
  // `style` plus WS_CHILD | WS_CLIPSIBLINGS) and the control inside it, then applies the settings.
  // Null when the block is refused or the window or control cannot be made.
  static std::unique_ptr<BrowserHost> Create(HWND parent, const layout::Rect& rect, UINT id,
                                             DWORD style, ByteView settings_block,
                                             BrowserPaneHandler* handler);
  ~BrowserHost() override;
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  HWND hwnd() const { return window_.get(); }
  // The control's own window inside the container; null once it is gone.
  HWND engine_window() const;
  BrowserPane& pane() { return pane_; }

  // BrowserEngine.
  void Navigate(TextRef url) override;
  void SetOffline(bool offline) override;
  bool Offline() override;
  void SetSilent(bool silent) override;
  bool Silent() override;
  void SetTextSize(int step) override;
  Text LocationName() override;
  Text LocationUrl() override;

 private:
  explicit BrowserHost(BrowserPaneHandler* handler);
  bool CreateControl();
  void ReleaseControl();  // WM_DESTROY: the control goes before the container
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  BrowserPane pane_;
  ComPtr<BrowserSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IWebBrowser2> browser_;
  DWORD advise_cookie_ = 0;
  ScopedWindow window_;  // last: destroyed first, while the members above still exist
};

}  // namespace orvane::win
