// What the GTK tests share: a private home, GTK on the display that the test run exports, the
// local web server, and waiting on the main loop with a deadline.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane::gtk::testing {

// HOME and the XDG folders point into a new temporary folder (WebKit writes its cache there).
// Returns that folder.
std::string UsePrivateHome();

// Initialises GTK once and marks this thread as the user-interface thread. False without a display.
bool InitGtkOnce();

// Runs the main loop until `done` holds or `seconds` have passed; gives `done`'s last value.
bool PumpUntil(const std::function<bool()>& done, double seconds);
void PumpFor(double seconds);

// tests/gtk/site_server.py on 127.0.0.1, serving tests/gtk/site and demo/site, after `first`
// when given. Port 0 takes a free one; a port in use leaves the server not running.
class SiteServer {
 public:
  explicit SiteServer(int port = 0, const std::string& first = {});
  ~SiteServer();
  SiteServer(const SiteServer&) = delete;
  SiteServer& operator=(const SiteServer&) = delete;

  bool running() const { return port_ > 0; }
  int port() const { return port_; }
  std::string Url(const std::string& path) const;  // path starts with "/"
  // The request paths received so far, query included, in order.
  std::vector<std::string> Requests() const;
  int CountRequests(const std::string& path) const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string log_;
};

// A port on 127.0.0.1 where nothing listens (bound, then closed).
int RefusedPort();

}  // namespace orvane::gtk::testing
