// The Linux program with a broken definition of its start window:
//   bad_definition_probe settings-v2   WebBrowser's settings block has version 2
//   bad_definition_probe no-engine     the browser engine cannot be had
#include <cstring>

#include "shell/gtk/program.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  static constexpr unsigned char kVersion2[20] = {2};
  orvane::gtk::ProgramSetup setup;
  setup.landing_url = "about:blank";
  setup.start_update_worker = false;
  if (std::strcmp(argv[1], "settings-v2") == 0) setup.browser_settings = kVersion2;
  if (std::strcmp(argv[1], "no-engine") == 0) setup.engine_missing = true;
  return orvane::gtk::RunProgram(setup);
}
