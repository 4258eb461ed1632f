#include "construct/move_undo.h"

namespace kv {
namespace {

// Everything a deformation can change, laid out flat in a fixed order so that two captures
// of the same construction compare slot by slot.
void Capture(const Figure& fig, std::vector<double>& out) {
  out.clear();
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
    const PointRec& p = fig.points[i];
    out.insert(out.end(), {p.x, p.y, p.boundParam, double(p.valid)});
  }
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) {
    const LineRec& g = fig.lines[i];
    out.insert(out.end(), {g.x1, g.y1, g.x2, g.y2, g.dx, g.dy, double(g.valid)});
  }
  for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) {
    const CircleRec& c = fig.circles[i];
    out.insert(out.end(), {c.cx, c.cy, c.radius, double(c.valid)});
  }
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) {
    const NumberRec& n = fig.numbers[i];
    out.insert(out.end(), {n.value, double(n.valid)});
  }
  for (int32_t s = 1; s <= fig.StepCount(); ++s) out.push_back(double(fig.StepSwap(s)));
}

// Writes a capture of the same construction back.
void Restore(Figure& fig, const std::vector<double>& in) {
  size_t k = 0;
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
    PointRec& p = fig.points[i];
    p.x = in[k++];
    p.y = in[k++];
    p.boundParam = in[k++];
    p.valid = int32_t(in[k++]);
  }
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) {
    LineRec& g = fig.lines[i];
    g.x1 = in[k++];
    g.y1 = in[k++];
    g.x2 = in[k++];
    g.y2 = in[k++];
    g.dx = in[k++];
    g.dy = in[k++];
    g.valid = int32_t(in[k++]);
  }
  for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) {
    CircleRec& c = fig.circles[i];
    c.cx = in[k++];
    c.cy = in[k++];
    c.radius = in[k++];
    c.valid = int32_t(in[k++]);
  }
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i) {
    NumberRec& n = fig.numbers[i];
    n.value = in[k++];
    n.valid = int32_t(in[k++]);
  }
  for (int32_t s = 1; s <= fig.StepCount(); ++s) fig.SetStepSwap(s, int32_t(in[k++]));
}

}  // namespace

MoveHistory::Shape MoveHistory::ShapeOf(const Figure& fig) {
  Shape shape;
  shape.steps = fig.StepCount();
  for (int cls = 0; cls < 4; ++cls) shape.counts[cls] = fig.classCount[cls];
  return shape;
}

void MoveHistory::Begin(const Figure& fig) {
  beginShape_ = ShapeOf(fig);
  Capture(fig, before_);
  open_ = true;
}

void MoveHistory::End(const Figure& fig) {
  if (!open_) return;
  open_ = false;
  // A deformation never changes the construction; if it did, the capture means nothing.
  if (!(ShapeOf(fig) == beginShape_)) return;
  Capture(fig, after_);
  Move move;
  move.shape = beginShape_;
  for (size_t k = 0; k < before_.size(); ++k)
    if (after_[k] != before_[k]) move.changes.push_back({uint32_t(k), before_[k]});
  if (move.changes.empty()) return;
  moves_.push_back(std::move(move));
  if (moves_.size() > kMaxMoves) moves_.pop_front();
}

bool MoveHistory::UndoLast(Figure& fig) {
  if (moves_.empty()) return false;
  const Shape now = ShapeOf(fig);
  if (!(moves_.back().shape == now)) {
    // Steps made after the move are undone first; the move applies again once they are gone.
    // A figure with fewer steps than the move saw is another figure: its moves are dropped.
    if (now.steps < moves_.back().shape.steps) moves_.clear();
    return false;
  }
  Capture(fig, after_);
  for (const Change& c : moves_.back().changes) after_[c.slot] = c.before;
  Restore(fig, after_);
  moves_.pop_back();
  return true;
}

void MoveHistory::Clear() {
  moves_.clear();
  open_ = false;
}

}  // namespace kv
