// Engines that report less than the pane expects: some tell a frame's arrival apart from the
// page's (or only through a script running in the frame), and some say nothing at all about a
// navigation they were told to drop, or one that failed before it reached anything. This turns
// what such an engine does report into the pane's notifications, so that every beginning the pane
// announced is eventually followed by a completion once the engine has nothing more under way.
#pragma once

#include "browser/browser_pane.h"
#include "shell/text.h"

namespace orvane {

class EngineReports {
 public:
  explicit EngineReports(BrowserPane& pane) : pane_(pane) {}

  // A navigation of the page or of one of its frames is about to begin. True when it is cancelled.
  bool BeforeNavigate(TextRef url);
  // The page or one of its frames has been reached (committed).
  void Reached(TextRef url);
  // The page's navigation failed before it reached anything. Failures that are not the end of the
  // story (replaced by a newer navigation, turned into a download) are not reported here.
  void FailedBeforeReaching();
  // The engine has nothing more under way. When the last news was a cancelled or failed
  // navigation, it counts as completed at the address on display.
  void Stopped(TextRef current_url);

  // True while a cancelled or failed navigation still waits for the engine to stop.
  bool awaiting_stop() const { return unanswered_; }

 private:
  BrowserPane& pane_;
  bool unanswered_ = false;
};

}  // namespace orvane
