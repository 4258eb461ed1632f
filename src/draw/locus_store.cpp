#include "draw/locus_store.h"

namespace kv {

namespace {

template <class Rec>
void AppendTo(std::vector<Rec>& list, int32_t& count, const Rec& rec) {
  if (int32_t(list.size()) - 1 <= count) list.resize(list.size() + kLocusGrowth);
  ++count;
  list[count] = rec;
  list[count].colour = rec.locusColour;
}

}  // namespace

void LocusStore::Reset() {
  points.assign(kLocusInitialRoom + 1, PointRec{});
  lines.assign(kLocusInitialRoom + 1, LineRec{});
  circles.assign(kLocusInitialRoom + 1, CircleRec{});
  pointCount = lineCount = circleCount = 0;
  drawnPoints = drawnLines = drawnCircles = 0;
}

void LocusStore::Append(const PointRec& p) { AppendTo(points, pointCount, p); }
void LocusStore::Append(const LineRec& g) { AppendTo(lines, lineCount, g); }
void LocusStore::Append(const CircleRec& c) { AppendTo(circles, circleCount, c); }

}  // namespace kv
