// Window classes of the program's own windows, and the object behind each window.
#pragma once

#include <windows.h>

namespace orvane::win {

// Registers a class of this module with the arrow cursor, once; later calls find it registered.
inline bool EnsureWindowClass(const char* name, UINT style, WNDPROC procedure, HBRUSH background) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, name, &wc)) return true;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

// The object a window serves, handed to CreateWindowExA as its parameter: stored at WM_NCCREATE,
// forgotten at WM_NCDESTROY (the last message), null before and after.
template <typename T>
T* WindowObject(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return object;
  }
  auto* object = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return object;
}

}  // namespace orvane::win
