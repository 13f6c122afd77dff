#include "update/update_worker.h"

#include <utility>

#include "resources/texts.h"
#include "shell/window_definition.h"
#include "update/text_rules.h"

namespace orvane {

UpdateWorker::UpdateWorker(UpdateWorkerPorts& ports, std::string version_url,
                           std::string update_page_url)
    : ports_(ports),
      version_url_(std::move(version_url)),
      update_page_url_(std::move(update_page_url)) {}

bool UpdateWorker::RunAttempt() {
  ports_.Pause(kPauseMs);

  {
    const Text mark = ports_.GetPaneText(layout::kActivityPane);
    const bool slash = CompareText(mark, texts::kMarkSlash) == 0;
    ports_.SetPaneText(layout::kActivityPane, slash ? texts::kMarkBackslash : texts::kMarkSlash);
  }

  const Bytes body = ports_.Fetch(version_url_.c_str());
  const Text version = TrimBothEnds(BytesToText(body.view()));
  if (TextToInt(version) < 1) return true;

  ports_.SetPaneText(layout::kLatestVersionPane, JoinTexts({texts::kVersionPrefix, version}));
  if (CompareText(version, texts::kInstalledVersion) != 0) {
    ports_.ShowNotice(texts::kNoticeText, texts::kNoticeTitle);
    ports_.OpenUrl(update_page_url_.c_str());
  }
  return false;
}

void UpdateWorker::Run() {
  while (RunAttempt()) {
  }
}

}  // namespace orvane
