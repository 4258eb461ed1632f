// Actions the dispatch hands to picking, deformation, construction, scribble, loci and the
// figure commands. Until those areas are built each action does the least that keeps the
// input-mode stack sound: cancelling keys still pop their mode, everything else waits.
#include <algorithm>

#include "session/session.h"

namespace kv {

PickResult Session::HoverPick(double /*x*/, double /*y*/) { return {}; }

void Session::ShowDraggableCandidates() {
  candidateMarks_.clear();
  const int32_t count =
      std::min<int32_t>(figure.classCount[kClassPoint], figure.UpperBound(kClassPoint));
  for (int32_t i = 1; i <= count; ++i)
    if (figure.points[i].free == kTrue) candidateMarks_.push_back({kClassPoint, i});
}

void Session::ClearCandidates() { candidateMarks_.clear(); }

void Session::PrepareDragDependencies() {}
void Session::DragStep(double /*x*/, double /*y*/) {}
void Session::SnapDragStep(double /*x*/, double /*y*/) {}
void Session::MultiDragStep(double /*x*/, double /*y*/) {}

void Session::DeformationKeys(int code, int /*shift*/) {
  if (code != kKeyEscape) return;
  drag_ = DragState{};
  PopInputMode();
  RedrawAll();
  RefreshStatus();
}

void Session::NumberStepUp() {}
void Session::SelectionPick(double x, double y) {
  if (AttributePickActive()) AttributePickStep(attributePicker_.Click(figure, x, y));
}

void Session::SelectionKeys(int code) {
  if (AttributePickActive()) {
    AttributePickKey(code);
    return;
  }
  if (code != kKeyEscape) return;
  PopInputMode();
  RedrawAll();
}

void Session::NewPointPress(double /*x*/, double /*y*/) {}

void Session::NewPointKeys(int code) {
  if (code != kKeyEscape) return;
  PopInputMode();
  RedrawAll();
}

void Session::ScribblePress(double /*x*/, double /*y*/) {}
void Session::ScribbleMove(double /*x*/, double /*y*/) {}
void Session::ScribbleRelease() {}

void Session::ScribbleKeys(int code) {
  if (code != kKeyEscape) return;
  PopInputMode();
  RefreshStatus();
  RedrawAll();
}

void Session::EraseLoci() {}
void Session::Redo() {}
void Session::Undo() {}

}  // namespace kv
