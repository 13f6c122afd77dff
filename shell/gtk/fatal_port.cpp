#include "shell/gtk/fatal_port.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/texts.h"
#include "shell/app_state.h"
#include "shell/gtk/gtk_text.h"
#include "shell/gtk/ui_thread.h"

namespace orvane::gtk {
namespace {

// Orderly release (the at-exit routine, once), then the end of the process. Open windows are not
// closed one by one and the update worker is neither told nor waited for.
[[noreturn]] void EndHere(int exit_code) {
  if (Life().BeginEnding()) Life().RunAtExitOnce();
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

void ShowBoxNow(const std::string& text) {
  const std::string title = ToGtk(texts::kFatalTitle);
  GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR,
                                          GTK_BUTTONS_OK, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(box), title.c_str());
  gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(box), TRUE);
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
}

class GtkFatalErrorPort final : public FatalErrorPort {
 public:
  void ShowErrorBox(TextRef box_text) override {
    const std::string text = UnixLineEnds(ToGtk(box_text));
    // GTK runs on the user-interface thread only; another thread waits there for the box.
    RunOnUiThreadAndWait([&] { ShowBoxNow(text); });
  }
  [[noreturn]] void EndProgram(std::int32_t exit_code) override {
    Life().ForgetAtExit();  // a fatal error skips it
    gtk::EndProgram(static_cast<int>(exit_code));
  }
};

GtkFatalErrorPort g_port;

}  // namespace

ProgramLife& Life() {
  static ProgramLife life;
  return life;
}

void InstallFatalErrorPort() { SetFatalErrorPort(&g_port); }

void EndProgram(int exit_code) {
  AppState::Get().SuppressEventsForGood();
  if (OnUiThread()) EndHere(exit_code);
  PostToUiThread([exit_code] { EndHere(exit_code); });
  for (;;) pause();  // the process ends under this thread
}

}  // namespace orvane::gtk
