// Any stored settings block: parsing never reads past the block, and a pane created from what it
// accepts applies a text size in 0..4.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "browser/browser_pane.h"

using namespace orvane;

namespace {

class NullEngine final : public BrowserEngine {
 public:
  void Navigate(TextRef url) override { navigated = Text::Copy(url.view()); }
  void SetOffline(bool) override {}
  bool Offline() override { return false; }
  void SetSilent(bool) override {}
  bool Silent() override { return false; }
  void SetTextSize(int step) override {
    if (step < 0 || step > 4) std::abort();
  }
  Text LocationName() override { return {}; }
  Text LocationUrl() override { return {}; }
  Text navigated;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<BrowserSettings> settings = ParseSettingsBlock({data, size});
  if (!settings) return 0;
  if (settings->url.size() + 20 > size && size != 0) std::abort();
  NullEngine engine;
  BrowserPane pane(engine, nullptr);
  pane.ApplySettings(std::move(*settings));
  return 0;
}
