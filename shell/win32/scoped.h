// Small owners for Windows handles and COM objects: each releases what it holds exactly once,
// when it goes away or is reset.
#pragma once

#include <windows.h>
// (windows.h before the other system headers)

#include <ole2.h>

#include <utility>

namespace orvane::win {

// An owned handle whose release is Traits::Close.
template <typename Traits>
class Scoped {
 public:
  using Handle = typename Traits::Handle;
  Scoped() = default;
  explicit Scoped(Handle h) : h_(h) {}
  Scoped(Scoped&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, Handle{}));
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  ~Scoped() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  void reset(Handle h = Handle{}) {
    if (h_ != Handle{}) Traits::Close(h_);
    h_ = h;
  }
  // Gives up ownership without releasing (the system released it already).
  Handle release() { return std::exchange(h_, Handle{}); }

 private:
  Handle h_{};
};

struct WindowTraits {
  using Handle = HWND;
  static void Close(HWND h) { DestroyWindow(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
  using Handle = HICON;
  static void Close(HICON h) { DestroyIcon(h); }
};
struct GdiTraits {
  using Handle = HGDIOBJ;
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static void Close(HDC h) { DeleteDC(h); }
};
struct BstrTraits {
  using Handle = BSTR;
  static void Close(BSTR b) { SysFreeString(b); }
};

using ScopedWindow = Scoped<WindowTraits>;
using ScopedMenu = Scoped<MenuTraits>;
using ScopedIcon = Scoped<IconTraits>;
using ScopedGdiObject = Scoped<GdiTraits>;
using ScopedMemoryDc = Scoped<MemoryDcTraits>;
using ScopedBstr = Scoped<BstrTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint ... EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a device context for the scope; the previous one comes back after.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectScope() { SelectObject(dc_, previous_); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A VARIANT cleared when it goes away.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&v_); }
  ~ScopedVariant() { VariantClear(&v_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }

 private:
  VARIANT v_;
};

// A PROPVARIANT (metadata values) cleared when it goes away.
class ScopedPropVariant {
 public:
  ScopedPropVariant() { PropVariantInit(&v_); }
  ~ScopedPropVariant() { PropVariantClear(&v_); }
  ScopedPropVariant(const ScopedPropVariant&) = delete;
  ScopedPropVariant& operator=(const ScopedPropVariant&) = delete;
  PROPVARIANT* get() { return &v_; }
  const PROPVARIANT& operator*() const { return v_; }

 private:
  PROPVARIANT v_;
};

// A reference to a COM object, released when it goes away.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  // Takes over a reference the caller already holds.
  static ComPtr Adopt(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> out;
    if (p_) p_->QueryInterface(iid, out.put_void());
    return out;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace orvane::win
