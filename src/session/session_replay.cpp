// The step-by-step replay of the construction: the leading free points first, then one step per
// timer tick, click or key, until the whole figure stands again.
#include "model/names.h"
#include "session/session.h"

namespace kv {

namespace {
constexpr int kDefaultReplayInterval = 300;  // ms, when no interval was set
}

void Session::SetReplayInterval(int ms) {
  settings.redrawSlow = ms;
  RefreshStatus();
}

void Session::StartReplay() {
  // Starting again during a replay starts it over; a second mode 73 would outlive the replay.
  if (replay_.active && CurrentInputMode() == kModeReplay) {
    StopReplayTimer();
  } else {
    PushInputMode(kModeReplay);
  }
  replay_.active = true;
  // The free points the construction starts from are there from the beginning.
  replay_.step = 0;
  while (replay_.step < figure.StepCount() && figure.KindOf(replay_.step + 1) == Kind::kPNEW)
    ++replay_.step;
  panels_[3].text.clear();
  RefreshStatus();
  ui_.StartTimer(settings.redrawSlow > 0 ? settings.redrawSlow : kDefaultReplayInterval);
  replay_.timerRunning = true;
  ui_.RequestRepaint();
}

void Session::StopReplayTimer() {
  if (!replay_.timerRunning) return;
  ui_.StopTimer();
  replay_.timerRunning = false;
}

void Session::TimerTick() {
  if (!replay_.active || CurrentInputMode() != kModeReplay) {
    StopReplayTimer();
    return;
  }
  AdvanceReplay();
}

void Session::AdvanceReplay() {
  if (!replay_.active) return;
  ++replay_.step;
  if (replay_.step >= figure.StepCount()) {
    FinishReplay();
    return;
  }
  panels_[3].text = StepDescription(figure, replay_.step, translator);
  ui_.StatusChanged();
  ui_.RequestRepaint();
}

void Session::FinishReplay() {
  replay_.step = figure.StepCount();
  replay_.active = false;
  if (CurrentInputMode() == kModeReplay) PopInputMode();
  StopReplayTimer();
  panels_[3].text.clear();
  UpdateFixedPanels();
  RedrawAll();
  RefreshStatus();
}

}  // namespace kv
