// Orvane for Linux desktops.
#include "shell/gtk/program.h"
#include "update/addresses.h"

int main() {
  // Nothing is read from the command line.
  orvane::gtk::ProgramSetup setup;
  setup.landing_url = orvane::LandingPageUrl();
  return orvane::gtk::RunProgram(setup);
}
