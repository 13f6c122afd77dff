// The frame styles of a top-level window, worked out again from its title and settings whenever
// its title changes. The bits are those of the Windows window styles; other platforms map them.
#pragma once

#include <cstdint>

namespace orvane {

namespace frame_bits {
inline constexpr std::uint32_t kBorder = 0x00800000;       // WS_BORDER
inline constexpr std::uint32_t kDlgFrame = 0x00400000;     // WS_DLGFRAME
inline constexpr std::uint32_t kCaption = 0x00C00000;      // WS_CAPTION = WS_BORDER | WS_DLGFRAME
inline constexpr std::uint32_t kSysMenu = 0x00080000;      // WS_SYSMENU
inline constexpr std::uint32_t kMinimizeBox = 0x00020000;  // WS_MINIMIZEBOX
inline constexpr std::uint32_t kMaximizeBox = 0x00010000;  // WS_MAXIMIZEBOX
}  // namespace frame_bits

struct FrameSettings {
  bool border = true;
  bool control_box = true;
  bool minimize_button = true;
  bool maximize_button = false;
};

// MainWindow: a fixed frame with the window menu and a minimise box, no maximise box.
inline constexpr FrameSettings kMainWindowFrame{true, true, true, false};

// The style with its frame bits replaced: with a border, a title bar when the title is not empty
// or there is a control box, else only a dialog frame; the window menu with the control box; the
// minimise and maximise boxes with their buttons. Bits outside the frame are kept.
std::uint32_t FrameStyleFor(std::uint32_t style, bool title_empty, FrameSettings settings);

}  // namespace orvane
