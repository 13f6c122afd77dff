#include "shell/app_state.h"

namespace orvane {

AppState& AppState::Get() {
  static AppState state;
  return state;
}

}  // namespace orvane
