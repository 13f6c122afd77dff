#include "shell/status_panes.h"

namespace orvane {

StatusPanes::StatusPanes() {
  for (int i = 0; i < layout::kPaneCount; ++i) texts_[i] = Text::Copy(layout::kPanes[i].text);
}

Text StatusPanes::GetPaneText(int index) const {
  if (index < 0 || index >= layout::kPaneCount || texts_[index].empty()) return {};
  return Text::Copy(texts_[index].view());
}

void StatusPanes::SetPaneText(int index, TextRef text) {
  if (index < 0 || index >= layout::kPaneCount) return;
  texts_[index] = Text::Copy(text.view());
  if (Sink* sink = sink_.load()) {
    sink->SendPaneText(static_cast<std::uint32_t>(index) | layout::kPanes[index].style, text);
  }
}

}  // namespace orvane
