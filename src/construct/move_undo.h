// What undo gives back after the user moved something: the positions of the points, the
// directions of the lines, the circles, the values of the numbers and the choices of the
// two-solution intersections as they were before a drag, a keyboard deformation or a number
// change. The step table records no moves, so without this an undo after a drag would take
// off a construction step the user made long before.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "model/figure.h"

namespace kv {

class MoveHistory {
 public:
  // Older moves beyond this many are forgotten.
  static constexpr size_t kMaxMoves = 64;

  // Before a deformation starts.
  void Begin(const Figure& fig);
  // After it ended: kept when anything changed since Begin.
  void End(const Figure& fig);
  // Puts back what the latest move changed, when the figure has the construction the move was
  // made on; while steps made after it remain, those are the caller's to undo first. True when
  // a move was undone (the caller recomputes and redraws).
  bool UndoLast(Figure& fig);
  // A figure loaded, merged or started afresh: no move applies to it.
  void Clear();
  bool Empty() const { return moves_.empty(); }
  bool Open() const { return open_; }

 private:
  // The construction a move was made on: moves apply only while these are unchanged.
  struct Shape {
    int32_t steps = 0;
    std::array<int32_t, 4> counts{};
    bool operator==(const Shape&) const = default;
  };
  struct Change {
    uint32_t slot = 0;
    double before = 0;
  };
  struct Move {
    Shape shape;
    std::vector<Change> changes;
  };
  static Shape ShapeOf(const Figure& fig);

  std::deque<Move> moves_;
  Shape beginShape_;
  std::vector<double> before_, after_;
  bool open_ = false;
};

}  // namespace kv
