// The recompute of a drag: when the drag (or a change of a variable) starts, one forward sweep
// from the moving objects collects the steps downstream of them; each drag step then recomputes
// only those, in construction order, with the same results as a full pass over the figure.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "geometry/recompute.h"
#include "model/figure.h"

namespace kv {

struct DragPlan {
  std::vector<int32_t> steps;        // dependent steps, in construction order
  std::vector<PassOp> ops;           // those the passes do not skip, as the passes read them
  std::vector<int32_t> boundPoints;  // dependent free points with a binding, in index order
  // Everything a drag step may change, class by class in index order: the moving objects, the
  // outputs of the dependent steps and the dependent bound points. The snapshot copies these,
  // the renderer redraws them.
  std::vector<int32_t> indices[4];
  // Per class, 1 for the objects in `objects` (indexed like the tables).
  std::vector<uint8_t> moving[4];
  int32_t fixedAngleMarks = 0;  // marks of the steps that do not move, kept at the front
  int32_t passCount = 0;

  // Calls f(ref) for each of those objects, numbers, points, lines and circles in turn.
  template <typename F>
  void ForEachObject(F&& f) const {
    for (int32_t cls = kClassNumber; cls <= kClassCircle; ++cls)
      for (const int32_t i : indices[cls]) f(ObjRef{cls, i});
  }
  size_t ObjectCount() const {
    return indices[0].size() + indices[1].size() + indices[2].size() + indices[3].size();
  }

  bool Moves(ObjRef ref) const {
    return ref.cls >= kClassNumber && ref.cls <= kClassCircle && ref.index >= 0 &&
           static_cast<size_t>(ref.index) < moving[ref.cls].size() && moving[ref.cls][ref.index];
  }
};

// Analyses the figure when its steps changed and collects what depends on `moving` (points
// dragged, numbers changed). The angle marks of the steps that do not move are recorded once
// here. Call after a full recompute, before the first movement.
DragPlan StartDrag(Figure& fig, std::span<const ObjRef> moving);

// Copies the objects of the plan into the previous-pass tables: call before each movement (the
// other objects' previous records are already equal to their current ones).
void SnapshotDragged(Figure& fig, const DragPlan& plan);

// One drag step: the passes over the dependent steps and bound points only. The angle marks of
// the moving steps are appended after the fixed ones. Allocates nothing.
void DragRecompute(Figure& fig, const DragPlan& plan);

}  // namespace kv
