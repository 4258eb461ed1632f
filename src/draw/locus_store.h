// The locus store: copies of the images objects left while the figure was deformed with the
// locus switch on, kept so that the traces survive every full repaint.
#pragma once

#include <cstdint>
#include <vector>

#include "model/figure.h"

namespace kv {

constexpr int32_t kLocusInitialRoom = 200;
constexpr int32_t kLocusGrowth = 50;

struct LocusStore {
  // 1-based like the object tables; element 0 unused. Sizes are room + 1.
  std::vector<PointRec> points;
  std::vector<LineRec> lines;
  std::vector<CircleRec> circles;
  int32_t pointCount = 0, lineCount = 0, circleCount = 0;
  // Counts as they were when new entries were last drawn.
  int32_t drawnPoints = 0, drawnLines = 0, drawnCircles = 0;

  LocusStore() { Reset(); }
  // A new empty store with room for 200 entries per class.
  void Reset();
  // Copies of a record whose colour is replaced by its locus colour. The names are not kept:
  // a trace is only a picture, and copying names would allocate on every drag step.
  void Append(const PointRec& p);
  void Append(const LineRec& g);
  void Append(const CircleRec& c);
  // A point image with its own marker and colour (both colours), as the number locus paints.
  void Append(const PointRec& p, int32_t marker, int32_t colour);
};

}  // namespace kv
