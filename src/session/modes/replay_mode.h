// The step-by-step replay of the construction (mode 73): the leading free points first, then
// one step per timer tick, click or key, until the whole figure stands again.
#pragma once

#include "session/mode.h"

namespace kv {

// Where a replay stands; the session reports a finished replay when none runs.
struct ReplayState {
  bool active = false;
  int32_t step = 0;  // steps 1..step are shown, step itself highlighted
  bool timerRunning = false;
};

class ReplayMode : public Mode {
 public:
  ReplayMode();

  // Starts (or starts over) at the first step after the leading free points; the timer runs
  // every `intervalMs` (300 ms when not set).
  void Start(ModeHost& host, int intervalMs);

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Key(ModeHost& host, int code, int shift) override;
  void Timer(ModeHost& host) override;
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override;
  int32_t ReplayStep() const override { return state_.step; }

  const ReplayState& State() const { return state_; }
  void StopTimer(ModeHost& host);

 private:
  void Advance(ModeHost& host);
  void Finish(ModeHost& host);

  ReplayState state_;
};

}  // namespace kv
