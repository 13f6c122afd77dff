#include "shell/gtk/ui_thread.h"

#include <glib.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace orvane::gtk {
namespace {

std::atomic<std::thread::id> g_ui_thread{};

struct WaitedCall {
  explicit WaitedCall(const std::function<void()>& c) : call(c) {}
  const std::function<void()>& call;
  std::mutex mutex;
  std::condition_variable done_changed;
  bool done = false;
};

gboolean RunWaited(gpointer data) {
  auto* waited = static_cast<WaitedCall*>(data);
  waited->call();
  // Notified under the lock: the waiter owns `waited` and may go as soon as it sees `done`.
  std::lock_guard lock(waited->mutex);
  waited->done = true;
  waited->done_changed.notify_all();
  return G_SOURCE_REMOVE;
}

gboolean RunPosted(gpointer data) {
  const std::unique_ptr<std::function<void()>> call(static_cast<std::function<void()>*>(data));
  (*call)();
  return G_SOURCE_REMOVE;
}

}  // namespace

void MarkUiThread() { g_ui_thread.store(std::this_thread::get_id()); }

bool OnUiThread() { return g_ui_thread.load() == std::this_thread::get_id(); }

void RunOnUiThreadAndWait(const std::function<void()>& call) {
  if (OnUiThread()) {
    call();
    return;
  }
  // An idle source on the default context runs on whichever thread runs the main loop, the
  // user-interface thread, also before that loop has begun (it then waits for it).
  WaitedCall waited(call);
  g_idle_add_full(G_PRIORITY_DEFAULT, RunWaited, &waited, nullptr);
  std::unique_lock lock(waited.mutex);
  waited.done_changed.wait(lock, [&] { return waited.done; });
}

void PostToUiThread(std::function<void()> call) {
  g_idle_add_full(G_PRIORITY_DEFAULT, RunPosted, new std::function<void()>(std::move(call)),
                  nullptr);
}

}  // namespace orvane::gtk
