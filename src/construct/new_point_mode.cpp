// Placing new free points.
#include "construct/new_point_mode.h"

#include "geometry/recompute.h"
#include "session/input_modes.h"

namespace kv {

namespace {
constexpr int32_t kPendingMarker = 2;  // "○"
}

NewPointMode::NewPointMode() : Mode(kModeNewPoint) {}

void NewPointMode::StartPoint(ModeHost& host) {
  Figure& fig = host.Fig();
  const int32_t s = fig.AppendStep();
  fig.SetStepKind(s, "PNEW");
  for (int k = 1; k <= 5; ++k) {
    fig.SetStepParent(s, k, {});
    fig.SetStepOutput(s, k, {});
  }
  point_ = fig.AllocObject(kClassPoint);
  fig.SetStepOutput(s, 1, {kClassPoint, point_});
  PointRec& p = fig.points[point_];
  p.marker = kPendingMarker;
  p.free = kTrue;
  p.valid = kTrue;
  p.colour = kDefaultColour;
  host.RepaintNeeded();
}

void NewPointMode::Place(ModeHost& host) {
  Figure& fig = host.Fig();
  if (fig.InTable({kClassPoint, point_})) fig.points[point_].marker = 0;
  RecomputeAll(fig);
  StartPoint(host);
}

void NewPointMode::Press(ModeHost& host, const PointerEvent& e) {
  Figure& fig = host.Fig();
  if (!fig.InTable({kClassPoint, point_})) return;
  fig.points[point_].x = e.x;
  fig.points[point_].y = e.y;
  Place(host);
}

void NewPointMode::Key(ModeHost& host, int code, int /*shift*/) {
  Figure& fig = host.Fig();
  if (!fig.InTable({kClassPoint, point_})) return;
  PointRec& p = fig.points[point_];
  const double step = host.KeyStep();
  switch (code) {
    case kKeyEnter:
      Place(host);
      return;
    case kKeyLeft:
      p.x -= step;
      break;
    case kKeyRight:
      p.x += step;
      break;
    case kKeyUp:
      p.y += step;
      break;
    case kKeyDown:
      p.y -= step;
      break;
    case kKeyEscape:
      // Only the waiting point goes; the placed ones are complete steps.
      fig.RemoveLastStep();
      point_ = 0;
      host.PopMode();
      host.RedrawAll();
      return;
    default:
      return;
  }
  host.RepaintNeeded();
}

void NewPointMode::AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const {
  if (point_ != 0 && fig.InTable({kClassPoint, point_}))
    marks.push_back({{kClassPoint, point_}, kStyleForced + 7, kPendingMarker, 1});
}

}  // namespace kv
