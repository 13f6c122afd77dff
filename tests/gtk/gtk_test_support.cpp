#include "tests/gtk/gtk_test_support.h"

#include <arpa/inet.h>
#include <gtk/gtk.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "shell/gtk/ui_thread.h"

namespace orvane::gtk::testing {

namespace {

// Removes the private homes when the test program ends.
struct PrivateHomes {
  ~PrivateHomes() {
    std::error_code ignored;
    for (const std::string& home : homes) std::filesystem::remove_all(home, ignored);
  }
  std::vector<std::string> homes;
};

}  // namespace

std::string UsePrivateHome() {
  static PrivateHomes made;
  char pattern[] = "/tmp/orvane-test-home-XXXXXX";
  const char* home = mkdtemp(pattern);
  if (!home) return {};
  const std::string base = home;
  made.homes.push_back(base);
  setenv("HOME", base.c_str(), 1);
  setenv("XDG_CACHE_HOME", (base + "/.cache").c_str(), 1);
  setenv("XDG_DATA_HOME", (base + "/.local/share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (base + "/.config").c_str(), 1);
  return base;
}

bool InitGtkOnce() {
  static const bool ready = [] {
    UsePrivateHome();
    MarkUiThread();
    return gtk_init_check(nullptr, nullptr) != FALSE;
  }();
  return ready;
}

bool PumpUntil(const std::function<bool()>& done, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return done();
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
  }
  return true;
}

void PumpFor(double seconds) {
  PumpUntil([] { return false; }, seconds);
}

Process::Process(const std::vector<std::string>& args) {
  std::vector<gchar*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<gchar*>(a.c_str()));
  argv.push_back(nullptr);
  GPid pid = 0;
  if (g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
                    &pid, nullptr)) {
    pid_ = pid;
  }
}

Process::~Process() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::optional<int> Process::WaitForExit(double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    }
    g_usleep(20000);
  }
  return std::nullopt;
}

SiteServer::SiteServer(int port, const std::string& first) {
  char pattern[] = "/tmp/orvane-site-log-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd < 0) return;
  close(fd);
  log_ = pattern;
  const std::string root = ORVANE_SOURCE_DIR;
  const std::string script = root + "/tests/gtk/site_server.py";
  const std::string tests_site = root + "/tests/gtk/site";
  const std::string demo_site = root + "/demo/site";
  const std::string port_text = std::to_string(port);
  std::vector<const gchar*> argv = {"python3", script.c_str(), log_.c_str(), port_text.c_str()};
  if (!first.empty()) argv.push_back(first.c_str());
  argv.insert(argv.end(), {tests_site.c_str(), demo_site.c_str(), nullptr});
  GPid pid = 0;
  int out = -1;
  if (!g_spawn_async_with_pipes(
          nullptr, const_cast<gchar**>(argv.data()), nullptr,
          static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
          nullptr, &pid, nullptr, &out, nullptr, nullptr)) {
    return;
  }
  pid_ = pid;
  std::FILE* first_line = fdopen(out, "r");
  if (!first_line) return;
  int bound = 0;
  if (std::fscanf(first_line, "%d", &bound) == 1) port_ = bound;
  std::fclose(first_line);
}

SiteServer::~SiteServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (!log_.empty()) std::remove(log_.c_str());
}

std::string SiteServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> SiteServer::Requests() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int SiteServer::CountRequests(const std::string& path) const {
  int n = 0;
  for (const std::string& request : Requests()) {
    if (request == path || request.rfind(path + "?", 0) == 0) ++n;
  }
  return n;
}

namespace {

// A TCP socket bound to a free port on 127.0.0.1 and that port; -1 and 0 when none could be had.
std::pair<int, int> BoundLoopbackSocket() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (s >= 0) close(s);
    return {-1, 0};
  }
  return {s, ntohs(address.sin_port)};
}

}  // namespace

int RefusedPort() {
  const auto [s, port] = BoundLoopbackSocket();
  if (s >= 0) close(s);
  return port;
}

int SilentPort() {
  const auto [s, port] = BoundLoopbackSocket();
  if (s < 0 || listen(s, 16) != 0) return 0;
  return port;  // the socket stays open, for the rest of the process
}

}  // namespace orvane::gtk::testing
