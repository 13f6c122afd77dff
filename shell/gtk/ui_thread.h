// The user-interface thread: the one that runs GTK. Other threads reach it only through here.
#pragma once

#include <functional>

namespace orvane::gtk {

// Records the calling thread as the user-interface thread (once, at start-up).
void MarkUiThread();
bool OnUiThread();

// Runs `call` on the user-interface thread and returns once it has run there. On that thread it
// runs at once. The caller waits as long as the user-interface thread takes to come to it; the
// user-interface thread never waits for the caller.
void RunOnUiThreadAndWait(const std::function<void()>& call);

// Hands `call` to the user-interface thread without waiting.
void PostToUiThread(std::function<void()> call);

}  // namespace orvane::gtk
