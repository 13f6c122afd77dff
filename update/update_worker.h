// UpdateWorker: the background thread's routine. It pauses, flips the activity mark, fetches the
// version file, and once the file yields a version it shows it and announces an update when the
// text is not the installed "1.0". It talks to the world only through UpdateWorkerPorts.
#pragma once

#include <cstdint>
#include <string>

#include "shell/text.h"

namespace orvane {

class UpdateWorkerPorts {
 public:
  virtual ~UpdateWorkerPorts() = default;
  // Waits the given time (6000 ms before every attempt).
  virtual void Pause(std::uint32_t milliseconds) = 0;
  // The status bar's pane record (synchronous with the user-interface thread).
  virtual Text GetPaneText(int pane) = 0;
  virtual void SetPaneText(int pane, TextRef text) = 0;
  // One HTTP GET; every failure gives a shorter or empty body.
  virtual Bytes Fetch(TextRef url) = 0;
  // The notice "发现更新" titled "信息："; returns once the user has dismissed it.
  virtual void ShowNotice(TextRef text, TextRef title) = 0;
  // Hands the update page to the system's browser.
  virtual void OpenUrl(TextRef url) = 0;
};

class UpdateWorker {
 public:
  static constexpr std::uint32_t kPauseMs = 6000;

  UpdateWorker(UpdateWorkerPorts& ports, std::string version_url, std::string update_page_url);

  // One attempt. Returns false once a version has been shown (and announced): the worker is done.
  bool RunAttempt();
  // Attempts until one yields a version.
  void Run();

 private:
  UpdateWorkerPorts& ports_;
  const std::string version_url_;
  const std::string update_page_url_;
};

}  // namespace orvane
