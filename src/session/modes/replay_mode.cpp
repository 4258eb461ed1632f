// The replay's steps and its timer.
#include "session/modes/replay_mode.h"

#include "lang/translate.h"
#include "model/names.h"
#include "session/input_modes.h"
#include "session/ui_port.h"

namespace kv {

namespace {
constexpr int kDefaultReplayInterval = 300;  // ms, when no interval was set
}

ReplayMode::ReplayMode() : Mode(kModeReplay) {}

void ReplayMode::Start(ModeHost& host, int intervalMs) {
  StopTimer(host);
  const Figure& fig = host.Fig();
  state_.active = true;
  // The free points the construction starts from are there from the beginning.
  state_.step = 0;
  while (state_.step < fig.StepCount() && fig.KindOf(state_.step + 1) == Kind::kPNEW) ++state_.step;
  host.SetPanelText(3, {});
  host.Ui().StartTimer(intervalMs > 0 ? intervalMs : kDefaultReplayInterval);
  state_.timerRunning = true;
  host.RepaintNeeded();
}

void ReplayMode::StopTimer(ModeHost& host) {
  if (!state_.timerRunning) return;
  host.Ui().StopTimer();
  state_.timerRunning = false;
}

void ReplayMode::Press(ModeHost& host, const PointerEvent& /*e*/) {
  StopTimer(host);
  Advance(host);
}

void ReplayMode::Key(ModeHost& host, int code, int /*shift*/) {
  if (code == kKeyEscape) {
    Finish(host);
    return;
  }
  StopTimer(host);
  Advance(host);
}

void ReplayMode::Timer(ModeHost& host) { Advance(host); }

void ReplayMode::Advance(ModeHost& host) {
  if (!state_.active) return;
  ++state_.step;
  const Figure& fig = host.Fig();
  if (state_.step >= fig.StepCount()) {
    Finish(host);
    return;
  }
  host.SetPanelText(3, StepDescription(fig, state_.step, host.Texts()));
  host.RepaintNeeded();
}

void ReplayMode::Finish(ModeHost& host) {
  state_.step = host.Fig().StepCount();
  state_.active = false;
  StopTimer(host);
  host.SetPanelText(3, std::string(host.Texts()("軌跡")));
  host.PopMode();
  host.RedrawAll();
}

void ReplayMode::AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const {
  if (!state_.active || state_.step < 1 || state_.step > fig.StepCount()) return;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = fig.Output(state_.step, k);
    if (out.index != 0 && out.cls >= kClassPoint && fig.InTable(out))
      marks.push_back({out, kStyleHighlight, -1, 1});
  }
}

}  // namespace kv
