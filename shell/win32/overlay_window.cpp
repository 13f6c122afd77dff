#include "shell/win32/overlay_window.h"

#include <cstring>

#include "shell/win32/gif_picture.h"
#include "shell/win32/window_class.h"

namespace orvane::win {
namespace {

constexpr char kOverlayClass[] = "OrvaneOverlay";
// Armed for the moment the next frame is due, while the window is visible.
constexpr UINT_PTR kFrameTimer = 1;

// Holds the frame buffer for one use; a use that finds it busy skips its drawing.
class DrawingScope {
 public:
  explicit DrawingScope(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
  ~DrawingScope() {
    if (entered_) flag_ = false;
  }
  DrawingScope(const DrawingScope&) = delete;
  DrawingScope& operator=(const DrawingScope&) = delete;
  bool entered() const { return entered_; }

 private:
  bool& flag_;
  bool entered_;
};

}  // namespace

std::unique_ptr<OverlayWindow> OverlayWindow::Create(HWND parent, const layout::Rect& rect, UINT id,
                                                     ByteView gif) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!EnsureWindowClass(kOverlayClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, WindowProc, nullptr))
    return nullptr;
  std::unique_ptr<OverlayWindow> overlay(new OverlayWindow());
  overlay->window_.reset(CreateWindowExA(0, kOverlayClass, "", WS_CHILD | WS_CLIPSIBLINGS,
                                         rect.left, rect.top, rect.width, rect.height, parent,
                                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                         instance, overlay.get()));
  if (!overlay->window_) return nullptr;

  // The picture, then its place, then the border.
  overlay->picture_ = DecodeGif(gif);
  if (overlay->picture_ && !overlay->picture_->frames.empty()) {
    Picture& p = *overlay->picture_;
    overlay->animation_.emplace(p);
    overlay->placement_ = PlacePicture(kOverlayClient, {p.width, p.height});
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;  // top-down rows, as the composer keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(overlay->hwnd());
    overlay->buffer_dc_.reset(CreateCompatibleDC(screen.get()));
    overlay->buffer_bitmap_.reset(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &overlay->buffer_bits_, nullptr, 0));
    if (!overlay->buffer_dc_ || !overlay->buffer_bitmap_) {
      overlay->animation_.reset();
      overlay->picture_.reset();
    } else {
      // The buffer starts white, like the composer's pixels.
      std::memcpy(overlay->buffer_bits_, overlay->animation_->pixels().data(),
                  overlay->animation_->pixels().size() * sizeof(std::uint32_t));
    }
  }
  SetWindowLongPtrA(overlay->hwnd(), GWL_STYLE,
                    GetWindowLongPtrA(overlay->hwnd(), GWL_STYLE) | WS_BORDER);
  SetWindowPos(overlay->hwnd(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return overlay;
}

OverlayWindow::~OverlayWindow() { window_.reset(); }

void OverlayWindow::DrawFrame(HDC dc) {
  const auto& pixels = animation_->pixels();
  std::memcpy(buffer_bits_, pixels.data(), pixels.size() * sizeof(std::uint32_t));
  GdiFlush();
  SelectScope select(buffer_dc_.get(), buffer_bitmap_.get());
  const Picture& p = *picture_;
  if (placement_.width == p.width && placement_.height == p.height) {
    BitBlt(dc, placement_.left, placement_.top, p.width, p.height, buffer_dc_.get(), 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, placement_.left, placement_.top, placement_.width, placement_.height,
               buffer_dc_.get(), 0, 0, p.width, p.height, SRCCOPY);
  }
}

void OverlayWindow::Paint() {
  PaintScope paint(hwnd());
  DrawingScope drawing(drawing_);
  if (!drawing.entered()) return;
  const HDC dc = paint.dc();
  RECT client{};
  GetClientRect(hwnd(), &client);
  const bool running = animation_ && animation_->running();
  // While animating, the picture's rectangle is the animation's: the field around it is white.
  if (running) {
    ExcludeClipRect(dc, placement_.left, placement_.top, placement_.left + placement_.width,
                    placement_.top + placement_.height);
  }
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!animation_) return;
  if (running) {
    // The frame on display comes back at once instead of at the next frame's time.
    SelectClipRgn(dc, nullptr);
    DrawFrame(dc);
    return;
  }
  animation_->Start(GetTickCount());
  DrawFrame(dc);
  ArmTimer();
}

void OverlayWindow::ArmTimer() {
  if (!animation_ || !animation_->running() || !picture_->animated()) return;
  const UINT wait = animation_->MillisecondsUntilNextFrame(GetTickCount());
  SetTimer(hwnd(), kFrameTimer, wait < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : wait, nullptr);
}

void OverlayWindow::OnTimer() {
  if (!IsWindowVisible(hwnd())) {
    KillTimer(hwnd(), kFrameTimer);  // paused while hidden; showing it again resumes
    return;
  }
  DrawingScope drawing(drawing_);
  if (drawing.entered() && animation_->Advance(GetTickCount())) {
    WindowDc dc(hwnd());
    DrawFrame(dc.get());
  }
  ArmTimer();
}

LRESULT CALLBACK OverlayWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = WindowObject<OverlayWindow>(hwnd, msg, lp);
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the painting fills the whole field
    case WM_PAINT:
      self->Paint();
      return 0;
    case WM_SHOWWINDOW:
      if (wp) self->ArmTimer();
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_TIMER:
      if (wp == kFrameTimer) {
        self->OnTimer();
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_NCDESTROY:
      self->window_.release();
      return DefWindowProcA(hwnd, msg, wp, lp);
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace orvane::win
