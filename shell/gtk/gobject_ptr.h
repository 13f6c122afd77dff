// Owning pointers for GLib's reference-counted and g_free'd things, so that no path releases by
// hand.
#pragma once

#include <glib-object.h>

#include <memory>

namespace orvane::gtk {

struct GObjectUnref {
  void operator()(gpointer object) const noexcept { g_object_unref(object); }
};
// Holds one reference. Take a floating object with Sink(), a new full reference with Adopt().
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

template <typename T>
GObjectPtr<T> AdoptRef(T* object) {
  return GObjectPtr<T>(object);
}
template <typename T>
GObjectPtr<T> SinkRef(T* object) {
  return GObjectPtr<T>(static_cast<T*>(g_object_ref_sink(object)));
}

struct GFreeDeleter {
  void operator()(gpointer p) const noexcept { g_free(p); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

struct GErrorFree {
  void operator()(GError* e) const noexcept { g_error_free(e); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

}  // namespace orvane::gtk
