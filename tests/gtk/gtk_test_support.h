// What the GTK tests share: a private home, GTK on the display that the test run exports, the
// local web server, and waiting on the main loop with a deadline.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
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

// A process of ours, ended by its id when the test is over.
class Process {
 public:
  explicit Process(const std::vector<std::string>& args);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // The exit code once the process has ended within `seconds` (1000 + the signal when a signal
  // ended it); nothing if it has not.
  std::optional<int> WaitForExit(double seconds);

 private:
  pid_t pid_ = -1;
};

// A port on 127.0.0.1 where nothing listens (bound, then closed).
int RefusedPort();
// A port on 127.0.0.1 that accepts connections (the system does, into its backlog) and never
// answers.
int SilentPort();

}  // namespace orvane::gtk::testing
