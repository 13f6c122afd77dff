#include "shell/frame_style.h"

namespace orvane {

std::uint32_t FrameStyleFor(std::uint32_t style, bool title_empty, FrameSettings settings) {
  using namespace frame_bits;
  style &= ~(kCaption | kSysMenu | kMinimizeBox | kMaximizeBox);
  if (settings.border) {
    style |= (!title_empty || settings.control_box) ? kCaption : kDlgFrame;
    if (settings.control_box) style |= kSysMenu;
  }
  if (settings.minimize_button) style |= kMinimizeBox;
  if (settings.maximize_button) style |= kMaximizeBox;
  return style;
}

}  // namespace orvane
