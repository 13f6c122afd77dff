#include "browser/engine_reports.h"

namespace orvane {

bool EngineReports::BeforeNavigate(TextRef url) {
  const bool cancel = pane_.OnBeforeNavigate(url);
  // A cancelled navigation is never reported again; one that goes ahead reports for itself.
  unanswered_ = cancel;
  return cancel;
}

void EngineReports::Reached(TextRef url) {
  unanswered_ = false;
  pane_.OnNavigateComplete(url);
}

void EngineReports::FailedBeforeReaching() { unanswered_ = true; }

void EngineReports::Stopped(TextRef current_url) {
  if (!unanswered_) return;
  unanswered_ = false;
  pane_.OnNavigateComplete(current_url);
}

}  // namespace orvane
