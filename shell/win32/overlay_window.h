// `lable` on Windows: the loading overlay's window. A white field with a one-pixel border and the
// animation centred in it; frames are composed by the portable OverlayAnimation into an off-screen
// bitmap and copied in one BitBlt. A timer of the user-interface thread drives the animation while
// the window is visible; hiding it pauses the sequence where it is.
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include <memory>
#include <optional>

#include "shell/overlay.h"
#include "shell/text.h"
#include "shell/win32/scoped.h"

namespace orvane::win {

class OverlayWindow {
 public:
  // Created hidden at `rect`: white background, picture (undecodable bytes leave only the white
  // field), placement, then the border. Null when the window cannot be made.
  static std::unique_ptr<OverlayWindow> Create(HWND parent, const layout::Rect& rect, UINT id,
                                               ByteView gif);
  ~OverlayWindow();
  OverlayWindow(const OverlayWindow&) = delete;
  OverlayWindow& operator=(const OverlayWindow&) = delete;

  HWND hwnd() const { return window_.get(); }
  const layout::Rect& placement() const { return placement_; }
  const OverlayAnimation* animation() const { return animation_ ? &*animation_ : nullptr; }

 private:
  OverlayWindow() = default;
  void Paint();
  void OnTimer();
  void ArmTimer();
  void DrawFrame(HDC dc);  // the frame buffer at the placement rectangle, in one copy
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  std::optional<Picture> picture_;
  std::optional<OverlayAnimation> animation_;
  layout::Rect placement_{};
  ScopedMemoryDc buffer_dc_;
  ScopedGdiObject buffer_bitmap_;
  void* buffer_bits_ = nullptr;
  bool drawing_ = false;  // the frame buffer is in use (painting or animating)
  ScopedWindow window_;   // last: destroyed first
};

}  // namespace orvane::win
