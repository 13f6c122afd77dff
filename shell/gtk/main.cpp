// Orvane for Linux desktops.
#include "shell/gtk/program.h"
#include "update/addresses.h"

int main() {
  // Nothing is read from the command line.
  return orvane::gtk::RunProgram({orvane::LandingPageUrl(), true});
}
