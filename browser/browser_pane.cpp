#include "browser/browser_pane.h"

#include <algorithm>

#include "shell/app_state.h"

namespace orvane {
namespace {

std::int32_t ReadInt32(ByteView block, std::size_t offset) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | block[offset + static_cast<std::size_t>(i)];
  return static_cast<std::int32_t>(v);
}

// A new text from a borrowed one; missing when it is empty.
Text CopyOrMissing(TextRef t) { return t.view().empty() ? Text() : Text::Copy(t.view()); }

}  // namespace

std::optional<BrowserSettings> ParseSettingsBlock(ByteView block) {
  BrowserSettings s;
  if (block.empty()) return s;
  constexpr std::size_t kFixed = 20;
  if (block.size() < kFixed) return std::nullopt;
  const auto version = static_cast<std::uint32_t>(ReadInt32(block, 0));
  if (version > 1) return std::nullopt;
  s.font_size = ReadInt32(block, 4);
  s.offline = ReadInt32(block, 8) != 0;
  s.silent = ReadInt32(block, 12) != 0;
  const std::int32_t n = ReadInt32(block, 16);
  if (n > 0) {
    // Address bytes that end early: take what is there.
    const std::size_t available = block.size() - kFixed;
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), available);
    s.url = CopyOrMissing(Text::Copy({reinterpret_cast<const char*>(block.data()) + kFixed, take}));
  }
  return s;
}

int ClampFontSize(std::int32_t size) { return size < 0 ? 0 : size > 4 ? 4 : static_cast<int>(size); }

int ProgressPercent(std::int32_t progress, std::int32_t max) {
  if (max == 0) return 100;
  // MulDiv: 64-bit product, rounded half away from zero.
  const std::int64_t num = static_cast<std::int64_t>(progress) * 100;
  const std::int64_t den = max;
  const bool negative = (num < 0) != (den < 0);
  const std::int64_t a = num < 0 ? -num : num;
  const std::int64_t b = den < 0 ? -den : den;
  const std::int64_t q = (a + b / 2) / b;
  return static_cast<int>(negative ? -q : q);
}

BrowserPane::BrowserPane(BrowserEngine& engine, BrowserPaneHandler* handler)
    : engine_(engine), handler_(handler) {}

void BrowserPane::ApplySettings(BrowserSettings settings) {
  font_size_ = settings.font_size;
  engine_.SetOffline(settings.offline);
  engine_.SetSilent(settings.silent);
  engine_.SetTextSize(ClampFontSize(settings.font_size));
  if (!settings.url.empty()) SetUrl(settings.url);
}

std::optional<bool> BrowserPane::Raise(BrowserEvent event, const BrowserEventArgs& args) {
  if (!handler_ || AppState::Get().EventsSuppressed()) return std::nullopt;
  return handler_->OnBrowserEvent(event, args);
}

bool BrowserPane::RaiseAddressEvent(BrowserEvent event, TextRef url) {
  address_event_ = true;
  event_url_ = CopyOrMissing(url);
  const std::optional<bool> answer = Raise(event);
  if (window_alive_) {
    address_event_ = false;
    event_url_ = Text();
  }
  return CancelFrom(answer);
}

bool BrowserPane::OnBeforeNavigate(TextRef url) {
  return RaiseAddressEvent(BrowserEvent::kAboutToNavigate, url);
}

void BrowserPane::OnNavigateComplete(TextRef url) {
  RaiseAddressEvent(BrowserEvent::kNavigationComplete, url);
}

void BrowserPane::OnDocumentComplete(TextRef url) {
  RaiseAddressEvent(BrowserEvent::kDocumentReady, url);
}

void BrowserPane::OnDownloadBegin() { Raise(BrowserEvent::kLoadStarted); }
void BrowserPane::OnDownloadComplete() { Raise(BrowserEvent::kLoadFinished); }

void BrowserPane::OnProgressChange(std::int32_t progress, std::int32_t progress_max) {
  BrowserEventArgs args;
  args.progress_percent = ProgressPercent(progress, progress_max);
  Raise(BrowserEvent::kLoadProgress, args);
}

void BrowserPane::OnStatusTextChange(TextRef text) {
  status_text_ = CopyOrMissing(text);
  Raise(BrowserEvent::kStatusTextChanged);
}

void BrowserPane::OnTitleChange(TextRef title) {
  title_event_ = true;
  title_ = CopyOrMissing(title);
  Raise(BrowserEvent::kTitleChanged);
  if (window_alive_) {
    title_event_ = false;
    title_ = Text();
  }
}

void BrowserPane::OnCommandStateChange(std::int32_t command, bool enabled) {
  constexpr std::int32_t kNavigateForward = 1;
  constexpr std::int32_t kNavigateBack = 2;
  if (command != kNavigateForward && command != kNavigateBack) return;
  BrowserEventArgs args;
  args.command = command == kNavigateForward ? 0 : 1;
  args.command_enabled = enabled;
  Raise(BrowserEvent::kCommandStateChanged, args);
}

bool BrowserPane::OnNewWindow() { return CancelFrom(Raise(BrowserEvent::kNewWindowRequested)); }

void BrowserPane::SetUrl(TextRef url) {
  stored_url_ = Text::Copy(url.view());
  engine_.Navigate(stored_url_);
}

Text BrowserPane::GetUrl() {
  stored_url_ = address_event_ ? CopyOrMissing(event_url_) : engine_.LocationUrl();
  return CopyOrMissing(stored_url_);
}

Text BrowserPane::GetCaption() {
  if (title_event_) return CopyOrMissing(title_);
  title_ = engine_.LocationName();
  return CopyOrMissing(title_);
}

Text BrowserPane::GetStatusText() const { return CopyOrMissing(status_text_); }

void BrowserPane::SetFontSize(std::int32_t size) {
  font_size_ = ClampFontSize(size);
  engine_.SetTextSize(font_size_);
}

void BrowserPane::SetOffline(bool offline) { engine_.SetOffline(offline); }
void BrowserPane::SetSilent(bool silent) { engine_.SetSilent(silent); }

std::optional<bool> MainWindowHandlers::OnBrowserEvent(BrowserEvent event, const BrowserEventArgs&) {
  switch (event) {
    case BrowserEvent::kAboutToNavigate:
      view_.SetOverlayVisible(true);
      break;
    case BrowserEvent::kNavigationComplete:
      view_.SetOverlayVisible(false);
      break;
    case BrowserEvent::kTitleChanged:
      if (pane_) {
        const Text caption = pane_->GetCaption();
        view_.SetCaption(caption);
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace orvane
