// The browser pane WebBrowser: the rules by which an engine's notifications become the pane's ten
// events, and by which its properties are read and written. The engine itself is a platform piece
// behind BrowserEngine; the handlers bound to the events are MainWindow's (BrowserPaneHandler).
#pragma once

#include <cstdint>
#include <optional>

#include "shell/text.h"

namespace orvane {

// Event numbers, as the window definition binds handlers to them.
enum class BrowserEvent : int {
  kAboutToNavigate = 0,
  kNavigationComplete = 1,
  kLoadStarted = 2,
  kLoadProgress = 3,
  kLoadFinished = 4,
  kDocumentReady = 5,
  kStatusTextChanged = 6,
  kTitleChanged = 7,
  kCommandStateChanged = 8,
  kNewWindowRequested = 9,
};

// The settings a pane is created with.
struct BrowserSettings {
  std::int32_t font_size = 2;  // 0 smallest .. 4 largest; held as stored, applied clamped
  bool offline = false;
  bool silent = false;
  Text url;  // empty: navigate nowhere at creation
};

// Reads the stored block of a pane's definition (little-endian: version, FontSize, Offline, Silent,
// address length n, n address bytes). An empty block gives the defaults. A version above 1, or a
// block too short for the five fixed fields, is rejected (nullopt): the pane is then not created.
std::optional<BrowserSettings> ParseSettingsBlock(ByteView block);

// FontSize clamped into 0..4.
int ClampFontSize(std::int32_t size);

// Progress * 100 / max rounded to the nearest whole number (as MulDiv); 100 when max is 0.
int ProgressPercent(std::int32_t progress, std::int32_t max);

// What the pane needs of a browser engine. All calls on the user-interface thread.
class BrowserEngine {
 public:
  virtual ~BrowserEngine() = default;
  // Starts a navigation and returns before the page has loaded; events may arrive nested inside.
  virtual void Navigate(TextRef url) = 0;
  virtual void SetOffline(bool offline) = 0;
  virtual bool Offline() = 0;
  virtual void SetSilent(bool silent) = 0;
  virtual bool Silent() = 0;
  // One of five steps, 0 to 4.
  virtual void SetTextSize(int step) = 0;
  virtual Text LocationName() = 0;
  virtual Text LocationUrl() = 0;
};

// Arguments that come with an event; only the events named use them.
struct BrowserEventArgs {
  int progress_percent = 0;     // kLoadProgress
  int command = 0;              // kCommandStateChanged: 0 forward, 1 back
  bool command_enabled = false;  // kCommandStateChanged
};

// The handlers bound to the pane's events. The answer counts only for kAboutToNavigate and
// kNewWindowRequested: an explicit false cancels; true or no answer lets it go ahead.
class BrowserPaneHandler {
 public:
  virtual ~BrowserPaneHandler() = default;
  virtual std::optional<bool> OnBrowserEvent(BrowserEvent event, const BrowserEventArgs& args) = 0;
};

class BrowserPane {
 public:
  // `handler` may be null (no bindings). Neither the engine nor the handler is owned.
  BrowserPane(BrowserEngine& engine, BrowserPaneHandler* handler);

  // Creation steps after the engine exists: Offline, then Silent, then the clamped text size, then
  // a navigation when the stored address is not empty.
  void ApplySettings(BrowserSettings settings);

  // The engine's notifications. The two that take an answer return the engine's Cancel value.
  bool OnBeforeNavigate(TextRef url);
  void OnNavigateComplete(TextRef url);
  void OnDocumentComplete(TextRef url);
  void OnDownloadBegin();
  void OnDownloadComplete();
  void OnProgressChange(std::int32_t progress, std::int32_t progress_max);
  void OnStatusTextChange(TextRef text);
  void OnTitleChange(TextRef title);
  // Only CSC_NAVIGATEFORWARD (1) and CSC_NAVIGATEBACK (2) raise an event.
  void OnCommandStateChange(std::int32_t command, bool enabled);
  bool OnNewWindow();

  // The pane's window is gone: events still being raised leave their flags as they are.
  void OnWindowDestroyed() { window_alive_ = false; }

  // Properties. Reads hand back a new text, or missing when the value is empty.
  void SetUrl(TextRef url);  // stores it and navigates, on every write
  Text GetUrl();
  Text GetCaption();
  Text GetStatusText() const;
  void SetFontSize(std::int32_t size);
  std::int32_t GetFontSize() const { return font_size_; }
  void SetOffline(bool offline);
  bool GetOffline() { return engine_.Offline(); }
  void SetSilent(bool silent);
  bool GetSilent() { return engine_.Silent(); }

 private:
  std::optional<bool> Raise(BrowserEvent event, const BrowserEventArgs& args = {});
  bool RaiseAddressEvent(BrowserEvent event, TextRef url);
  static bool CancelFrom(const std::optional<bool>& answer) { return answer == false; }

  BrowserEngine& engine_;
  BrowserPaneHandler* handler_;
  std::int32_t font_size_ = 2;
  Text stored_url_;
  bool address_event_ = false;
  Text event_url_;
  bool title_event_ = false;
  Text title_;
  Text status_text_;
  bool window_alive_ = true;
};

// MainWindow's side: what its three bound handlers act on.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  virtual void SetOverlayVisible(bool visible) = 0;
  // Replaces the caption (a missing text counts as empty); the title bar and window menu stay.
  virtual void SetCaption(TextRef caption) = 0;
};

// The handlers MainWindow binds: AboutToNavigate shows the overlay, NavigationComplete hides it,
// TitleChanged copies the pane's Caption into the window caption. No answer is ever given.
class MainWindowHandlers final : public BrowserPaneHandler {
 public:
  explicit MainWindowHandlers(MainWindowView& view) : view_(view) {}
  void set_pane(BrowserPane* pane) { pane_ = pane; }
  std::optional<bool> OnBrowserEvent(BrowserEvent event, const BrowserEventArgs& args) override;

 private:
  MainWindowView& view_;
  BrowserPane* pane_ = nullptr;
};

}  // namespace orvane
