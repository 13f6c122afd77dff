// Process-wide state of the program's life: event suppression and the first activation.
#pragma once

#include <atomic>

namespace orvane {

class AppState {
 public:
  static AppState& Get();

  // While the count is above 0 no event of any window or control reaches a program handler.
  void RaiseSuppression() { suppression_.fetch_add(1); }
  void LowerSuppression() { suppression_.fetch_sub(1); }
  // Raised once more and never lowered again: the program is ending.
  void SuppressEventsForGood() { suppression_.fetch_add(1); }
  bool EventsSuppressed() const { return suppression_.load() > 0; }

  void ResetForTesting() { suppression_.store(0); }

 private:
  std::atomic<unsigned> suppression_{0};
};

// Keeps events away from handlers for its lifetime (window creation).
class SuppressionScope {
 public:
  SuppressionScope() { AppState::Get().RaiseSuppression(); }
  ~SuppressionScope() { AppState::Get().LowerSuppression(); }
  SuppressionScope(const SuppressionScope&) = delete;
  SuppressionScope& operator=(const SuppressionScope&) = delete;
};

// The first-activation rule of a window: the first activation sets the flag for good and runs the
// step, unless events are suppressed at that moment, in which case the step is lost.
class FirstActivation {
 public:
  // Called for every activation change; true when the first-activation step must run now.
  bool OnActivate(bool becoming_active) {
    if (!becoming_active || done_) return false;
    done_ = true;
    return !AppState::Get().EventsSuppressed();
  }
  bool done() const { return done_; }

 private:
  bool done_ = false;
};

}  // namespace orvane
