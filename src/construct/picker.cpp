// The hover picker and the selection picker: distances from the mouse to the drawn shapes,
// the weighted search for the object under the mouse, and the candidate list of a selection.
#include "construct/picker.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// The last index of a class whose record exists, so that a count out of step with the table
// never reads past it.
int32_t LastIndex(const Figure& fig, int cls) {
  return std::min<int32_t>(fig.classCount[cls], fig.UpperBound(cls));
}

bool LineDrawn(const LineRec& line) {
  return line.colour != 0 && line.lineType >= 0 &&
         line.lineType <= kLastLineType;  // other types draw nothing
}

double Hypot(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

// The weighted distance of a point for the hover picker.
double WeightedPointDistance(const PointRec& p, double x, double y) {
  const double d = PointPickDistance(p, x, y);
  if (p.free == kTrue) return d * kFreePointWeight;
  if (p.free == 1) return d * kLockedPointWeight;
  return d;
}

// Steps 5 to 7 of both hover pickers: nothing beyond the tolerance, else whether it drags.
HoverResult FinishHover(const Figure& fig, const View& view, ObjRef found, double best) {
  HoverResult result;
  if (found.index == 0 || best / view.ScaleUnit >= kHoverTolerancePixels) return result;
  result.object = found;
  result.draggable = IsDraggable(fig, found);
  result.pointer = result.draggable ? PointerShape::kSizeAll : PointerShape::kArrow;
  return result;
}

}  // namespace

// --- Distances ---

double PointPickDistance(const PointRec& p, double x, double y) { return Hypot(x - p.x, y - p.y); }

double CirclePickDistance(const CircleRec& c, double x, double y) {
  return std::fabs(Hypot(x - c.cx, y - c.cy) - c.radius);
}

double LinePickDistance(const LineRec& line, double x, double y) {
  const double d1 = Hypot(x - line.x1, y - line.y1);
  const double d2 = Hypot(x - line.x2, y - line.y2);
  // The direction through the two points, or the stored unit direction when they coincide.
  double ux = line.x2 - line.x1, uy = line.y2 - line.y1;
  double uu = ux * ux + uy * uy;
  if (uu == 0) {
    ux = line.dx, uy = line.dy;
    uu = ux * ux + uy * uy;
    if (uu == 0) return d1;
  }
  const double t = ((x - line.x1) * ux + (y - line.y1) * uy) / uu;
  const double fx = line.x1 + t * ux, fy = line.y1 + t * uy;  // foot of the perpendicular
  const double dF = Hypot(x - fx, y - fy);
  switch (line.lineType) {
    case 2:
    case 7:  // half-line from the first point
      return (line.x2 - line.x1) * (x - line.x1) + (line.y2 - line.y1) * (y - line.y1) >= 0 ? dF
                                                                                            : d1;
    case 3:  // half-line from the second point, backwards
      return (line.x1 - line.x2) * (x - line.x2) + (line.y1 - line.y2) * (y - line.y2) >= 0 ? dF
                                                                                            : d2;
    case 1:
    case 4:
    case 5:
    case 6: {  // segments, with or without arrowheads
      const double between = (line.x1 - fx) * (line.x2 - fx) + (line.y1 - fy) * (line.y2 - fy);
      if (between <= 0) return dF;
      return d1 < d2 ? d1 : d2;
    }
    default:
      return dF;
  }
}

bool IsPickable(const Figure& fig, ObjRef ref) {
  if (!fig.InTable(ref)) return false;
  switch (ref.cls) {
    case kClassPoint: {
      const PointRec& p = fig.points[ref.index];
      return p.valid != 0 && p.colour != 0;
    }
    case kClassLine: {
      const LineRec& line = fig.lines[ref.index];
      return line.valid != 0 && LineDrawn(line);
    }
    case kClassCircle: {
      const CircleRec& c = fig.circles[ref.index];
      return c.valid != 0 && c.colour != 0;
    }
    default:
      return false;
  }
}

bool ObjectPickDistance(const Figure& fig, ObjRef ref, double x, double y, double& distance) {
  if (!fig.InTable(ref)) return false;
  switch (ref.cls) {
    case kClassPoint:
      distance = PointPickDistance(fig.points[ref.index], x, y);
      return true;
    case kClassLine:
      distance = LinePickDistance(fig.lines[ref.index], x, y);
      return true;
    case kClassCircle:
      distance = CirclePickDistance(fig.circles[ref.index], x, y);
      return true;
    default:
      return false;
  }
}

// --- Hover picker ---

bool IsDraggable(const Figure& fig, ObjRef ref) {
  if (!fig.InTable(ref)) return false;
  if (ref.cls == kClassPoint) return fig.points[ref.index].free == kTrue;
  if (ref.cls == kClassLine) {
    const LineRec& line = fig.lines[ref.index];
    return line.byTwoPoints != 0 && IsDraggable(fig, {kClassPoint, line.endA}) &&
           IsDraggable(fig, {kClassPoint, line.endB});
  }
  return false;
}

void ListDraggablePoints(const Figure& fig, std::vector<ObjRef>& out) {
  out.clear();
  const int32_t count = LastIndex(fig, kClassPoint);
  for (int32_t i = 1; i <= count; ++i) {
    const PointRec& p = fig.points[i];
    if (p.free == kTrue && p.valid != 0 && p.colour != 0) out.push_back({kClassPoint, i});
  }
}

HoverResult HoverPick(const Figure& fig, const View& view, double x, double y) {
  if (!(view.ScaleUnit > 0)) return {};
  double best = kPickNoDistance;
  ObjRef found;
  const int32_t lineCount = LastIndex(fig, kClassLine);
  for (int32_t i = 1; i <= lineCount; ++i) {
    const LineRec& line = fig.lines[i];
    if (line.valid == 0 || !LineDrawn(line)) continue;
    const double d = kLineCircleWeight * LinePickDistance(line, x, y);
    if (d < best) best = d, found = {kClassLine, i};
  }
  const int32_t circleCount = LastIndex(fig, kClassCircle);
  for (int32_t i = 1; i <= circleCount; ++i) {
    const CircleRec& c = fig.circles[i];
    if (c.valid == 0 || c.colour == 0) continue;
    const double d = kLineCircleWeight * CirclePickDistance(c, x, y);
    if (d < best) best = d, found = {kClassCircle, i};
  }
  best = std::max(best, kPointOverLinePixels * view.ScaleUnit);
  const int32_t pointCount = LastIndex(fig, kClassPoint);
  for (int32_t i = 1; i <= pointCount; ++i) {
    const PointRec& p = fig.points[i];
    if (p.valid == 0 || p.colour == 0) continue;
    const double d = WeightedPointDistance(p, x, y);
    if (d < best) best = d, found = {kClassPoint, i};
  }
  return FinishHover(fig, view, found, best);
}

HoverResult HoverPickPoints(const Figure& fig, const View& view, double x, double y) {
  if (!(view.ScaleUnit > 0)) return {};
  double best = kPickNoDistance;
  ObjRef found;
  const int32_t pointCount = LastIndex(fig, kClassPoint);
  for (int32_t i = 1; i <= pointCount; ++i) {
    const PointRec& p = fig.points[i];
    if (p.valid == 0 || p.colour == 0) continue;
    double d = PointPickDistance(p, x, y);
    if (p.free == kTrue) d *= kFreePointWeight;
    if (d < best) best = d, found = {kClassPoint, i};
  }
  return FinishHover(fig, view, found, best);
}

HoverIndication::Change HoverIndication::Update(const HoverResult& result) {
  Change change;
  if (result.draggable) {
    if (result.object == indicated_) return change;
    change.unmark = indicated_;
    change.mark = result.object;
    indicated_ = result.object;
    return change;
  }
  change.unmark = indicated_;
  indicated_ = {};
  return change;
}

ObjRef HoverIndication::Reset() {
  const ObjRef old = indicated_;
  indicated_ = {};
  return old;
}

std::string_view PickClassWord(int cls) {
  switch (cls) {
    case kClassNumber:
      return "変数";
    case kClassPoint:
      return "点";
    case kClassLine:
      return "直線";
    case kClassCircle:
      return "円";
    default:
      return {};
  }
}

std::string PickStatusText(const Figure& fig, ObjRef ref, const Translator& translate) {
  if (ref.index == 0 || !fig.InTable(ref)) return {};
  std::string_view name;
  switch (ref.cls) {
    case kClassNumber:
      name = fig.numbers[ref.index].name;
      break;
    case kClassPoint:
      name = fig.points[ref.index].name;
      break;
    case kClassLine:
      name = fig.lines[ref.index].name;
      break;
    default:
      name = fig.circles[ref.index].name;
      break;
  }
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string text(translate(PickClassWord(ref.cls)));
  text += name;
  return text;
}

// --- Selection rules ---

SelectionRules ParentRules(const Figure& fig, int32_t step, int slot, int requiredLineType) {
  SelectionRules rules;
  if (step < 1 || step > fig.StepCount() || slot < 1 || slot > 5) {
    rules.cls = -1;  // lists nothing
    return rules;
  }
  const int32_t wanted = fig.Parent(step, slot).cls;
  rules.cls = wanted == kPendingNumberClass ? kClassNumber : wanted;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef other = fig.Parent(step, k);
    if (k != slot && other.cls == rules.cls && other.index != 0) rules.excluded.push_back(other);
  }
  rules.requiredLineType = rules.cls == kClassLine ? requiredLineType : -1;
  return rules;
}

SelectionRules VertexRules(std::span<const int32_t> chosenVertices) {
  SelectionRules rules;
  rules.cls = kClassPoint;
  for (int32_t v : chosenVertices)
    if (v != 0) rules.excluded.push_back({kClassPoint, v});
  return rules;
}

SelectionRules DraggableRules() {
  SelectionRules rules;
  rules.cls = kClassPoint;
  rules.draggablePointsOnly = true;
  return rules;
}

SelectionRules MultiPointRules(std::span<const int32_t> selectedPoints) {
  SelectionRules rules = VertexRules(selectedPoints);
  rules.draggablePointsOnly = true;
  return rules;
}

SelectionRules EditRules(int cls) {
  SelectionRules rules;
  rules.cls = cls;
  rules.offerHidden = true;
  return rules;
}

// --- Selection picker ---

bool SelectionPicker::Start(const Figure& fig, SelectionRules rules) {
  rules_ = std::move(rules);
  candidates_.clear();
  excludedMark_.clear();
  cursor_ = 0;
  active_ = false;
  if (rules_.cls < kClassNumber || rules_.cls > kClassCircle) return false;
  const int32_t last = LastIndex(fig, rules_.cls);
  excludedMark_.assign(static_cast<size_t>(std::max<int32_t>(last, 0)) + 1, 0);
  for (const ObjRef& ref : rules_.excluded)
    if (ref.cls == rules_.cls && ref.index >= 1 && ref.index <= last) excludedMark_[ref.index] = 1;
  for (int32_t i = 1; i <= last; ++i) {
    if (rules_.draggablePointsOnly && fig.points[i].free != kTrue) continue;
    candidates_.push_back(i);
  }
  for (int32_t pos = 1; pos <= CandidateCount(); ++pos) {
    if (CanChoose(fig, pos)) {
      cursor_ = pos;
      break;
    }
  }
  active_ = !candidates_.empty();
  return active_;
}

void SelectionPicker::Clear() {
  candidates_.clear();
  excludedMark_.clear();
  rules_ = {};
  cursor_ = 0;
  active_ = false;
}

ObjRef SelectionPicker::Current() const { return Candidate(cursor_); }

ObjRef SelectionPicker::Candidate(int32_t position) const {
  if (position < 1 || position > CandidateCount()) return {};
  return {rules_.cls, candidates_[position - 1]};
}

bool SelectionPicker::CanChoose(const Figure& fig, int32_t position) const {
  const ObjRef ref = Candidate(position);
  if (ref.index == 0 || !fig.InTable(ref)) return false;
  if (static_cast<size_t>(ref.index) < excludedMark_.size() && excludedMark_[ref.index] != 0)
    return false;
  switch (ref.cls) {
    case kClassPoint: {
      const PointRec& p = fig.points[ref.index];
      return p.valid != 0 && (rules_.offerHidden || p.colour != 0);
    }
    case kClassLine: {
      const LineRec& line = fig.lines[ref.index];
      if (line.valid == 0) return false;
      if (rules_.requiredLineType >= 0 && line.lineType != rules_.requiredLineType) return false;
      return rules_.offerHidden || LineDrawn(line);
    }
    case kClassCircle: {
      const CircleRec& c = fig.circles[ref.index];
      return c.valid != 0 && (rules_.offerHidden || c.colour != 0);
    }
    default:
      return true;  // numbers are chosen in the number dialog, which shows them all
  }
}

SelectionStep SelectionPicker::Click(const Figure& fig, double x, double y) {
  SelectionStep result;
  result.previous = Current();
  double best = kPickNoDistance;
  int32_t nearest = 0;
  for (int32_t pos = 1; pos <= CandidateCount(); ++pos) {
    if (!CanChoose(fig, pos)) continue;
    double d = 0;
    if (!ObjectPickDistance(fig, Candidate(pos), x, y, d)) continue;
    if (d < best) best = d, nearest = pos;
  }
  if (nearest == 0) {
    result.current = result.previous;
    return result;
  }
  result.action = nearest == cursor_ ? SelectionAction::kConfirm : SelectionAction::kMoved;
  cursor_ = nearest;
  result.current = Current();
  return result;
}

SelectionStep SelectionPicker::Step(const Figure& fig, int direction) {
  SelectionStep result;
  result.previous = Current();
  result.current = result.previous;
  const int32_t count = CandidateCount();
  int32_t pos = cursor_;
  for (int32_t tries = 0; tries < count; ++tries) {
    pos += direction;
    if (pos < 1) pos = count;
    if (pos > count) pos = 1;
    if (CanChoose(fig, pos)) {
      cursor_ = pos;
      result.action = SelectionAction::kMoved;
      result.current = Current();
      return result;
    }
  }
  return result;
}

SelectionStep SelectionPicker::Previous(const Figure& fig) { return Step(fig, -1); }
SelectionStep SelectionPicker::Next(const Figure& fig) { return Step(fig, +1); }

SelectionStep SelectionPicker::Confirm(const Figure& fig) {
  SelectionStep result;
  result.previous = Current();
  result.current = result.previous;
  if (cursor_ != 0 && CanChoose(fig, cursor_)) result.action = SelectionAction::kConfirm;
  return result;
}

SelectionStep SelectionPicker::Cancel() {
  SelectionStep result;
  result.action = SelectionAction::kCancel;
  result.previous = Current();
  cursor_ = 0;
  return result;
}

SelectionStep SelectionPicker::ExcludeCurrentAndAdvance(const Figure& fig) {
  const ObjRef chosen = Current();
  if (chosen.index != 0) {
    rules_.excluded.push_back(chosen);
    if (static_cast<size_t>(chosen.index) < excludedMark_.size()) excludedMark_[chosen.index] = 1;
  }
  SelectionStep result = Step(fig, +1);
  result.previous = {};  // the chosen point keeps its selected look
  if (result.action == SelectionAction::kNone) {
    cursor_ = 0;
    result.current = {};
  }
  return result;
}

}  // namespace kv
