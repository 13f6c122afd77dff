// The fixed definition of MainWindow: frame, size, position, menu, controls and status panes.
// Platforms build their window from these values; nothing changes them at run time.
#pragma once

#include <cstdint>

#include "resources/texts.h"

namespace orvane::layout {

struct Point {
  int x;
  int y;
};

struct Rect {
  int left;
  int top;
  int width;
  int height;
};

// Outer size, frame, title bar and menu bar included. The user cannot resize the window.
inline constexpr int kWindowWidth = 595;
inline constexpr int kWindowHeight = 479;

// Centred on the primary screen, each quotient truncated toward zero; the work area is ignored.
constexpr Point CenteredOrigin(int screen_width, int screen_height) {
  return {(screen_width - kWindowWidth) / 2, (screen_height - kWindowHeight) / 2};
}

// Controls in definition order, which is also the stacking order from the top down. Rectangles
// are in client coordinates; the overlay and the browser reach past the left, top and right edges
// so that their own borders are not seen.
inline constexpr Rect kStatusBarRect{0, 450, 614, 20};  // then docked to the bottom edge
inline constexpr Rect kOverlayRect{-2, -2, 594, 418};
inline constexpr Rect kBrowserRect{-2, -2, 610, 418};

// Status bar panes, numbered from 0. Each pane is drawn flat (no sunken frame).
inline constexpr std::uint32_t kPaneNoBorders = 0x0100;  // SBT_NOBORDERS
inline constexpr int kPaneCount = 5;
inline constexpr int kActivityPane = 2;
inline constexpr int kLatestVersionPane = 4;

struct PaneDefinition {
  int width;
  std::uint32_t style;
  int icon;             // -1: no icon
  const char* text;     // start text
  const char* tooltip;  // empty: none
};

inline constexpr PaneDefinition kPanes[kPaneCount] = {
    {70, kPaneNoBorders, -1, texts::kPaneCurrentLabel, ""},
    {50, kPaneNoBorders, -1, texts::kPaneCurrentVersion, ""},
    {30, kPaneNoBorders, -1, texts::kPaneActivity, ""},
    {70, kPaneNoBorders, -1, texts::kPaneLatestLabel, ""},
    {80, kPaneNoBorders, -1, texts::kPaneFetching, ""},
};

// Right edge of pane i: the running sum of the widths (70, 120, 150, 220, 300).
constexpr int PaneRightEdge(int index) {
  int edge = 0;
  for (int i = 0; i <= index && i < kPaneCount; ++i) edge += kPanes[i].width;
  return edge;
}

// The menu bar: two drop-down menus of one item each, no accelerators.
enum class MenuCommand : int { kExit = 1001, kCheckUpdate = 1002 };

struct MenuDefinition {
  const char* title;
  const char* item;
  MenuCommand command;
};

inline constexpr MenuDefinition kMenus[2] = {
    {texts::kMenuFile, texts::kMenuExit, MenuCommand::kExit},
    {texts::kMenuHelp, texts::kMenuCheckUpdate, MenuCommand::kCheckUpdate},
};

// What MainWindow's own keyboard handling does with a key-down that reaches it.
enum class Key { kEscape, kTab, kEnter, kF1, kOther };
enum class KeyAction { kNone, kClose, kFocusNext, kFocusPrevious };

constexpr KeyAction ClassifyKey(Key key, bool ctrl, bool shift, bool alt) {
  if (key == Key::kEscape && !ctrl && !shift && !alt) return KeyAction::kClose;
  if (key == Key::kTab && !ctrl && !alt) return shift ? KeyAction::kFocusPrevious : KeyAction::kFocusNext;
  return KeyAction::kNone;
}

}  // namespace orvane::layout
