// Start-up and ending state of the program, and the rules that the platforms' loops follow.
#pragma once

#include <atomic>
#include <optional>
#include <string_view>

namespace orvane {

// The process-wide flags of the user-interface thread's life.
class ProgramLife {
 public:
  using AtExitRoutine = void (*)();

  // Set just before the message loop starts.
  void EnterLoop() { loop_entered_ = true; }
  bool loop_entered() const { return loop_entered_; }

  // Orderly release has begun; true the first time only, so release runs once.
  bool BeginEnding() {
    if (ending_) return false;
    ending_ = true;
    return true;
  }
  bool ending() const { return ending_; }

  // The destruction of the last window ends the loop only once the loop has begun, and not while
  // the program is already ending by another way.
  bool QuitWhenLastWindowGone() const { return loop_entered_ && !ending_; }

  // Registered during start-up; run at most once by orderly release; forgotten by a fatal error,
  // which may be reported on any thread.
  void RegisterAtExit(AtExitRoutine routine) { at_exit_.store(routine); }
  void ForgetAtExit() { at_exit_.store(nullptr); }
  void RunAtExitOnce() {
    if (AtExitRoutine routine = at_exit_.exchange(nullptr)) routine();
  }

 private:
  bool loop_entered_ = false;
  bool ending_ = false;
  std::atomic<AtExitRoutine> at_exit_{nullptr};
};

// The directory part of the program file's path: the bytes before its last backslash, found by a
// walk over whole characters of the ANSI code page, so that the trail byte of a double-byte
// character (which may be 0x5C) is never taken for a backslash. No backslash: nullopt, and the
// current directory stays as it is.
using LeadBytePredicate = bool (*)(unsigned char byte);
std::optional<std::string_view> ProgramDirectory(std::string_view path, LeadBytePredicate is_lead);

// Lead bytes of code page 936 (0x81-0xFE), for platforms that have no code page service.
bool IsGbkLeadByte(unsigned char byte);

}  // namespace orvane
