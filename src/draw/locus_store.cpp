#include "draw/locus_store.h"

namespace kv {

namespace {

// The next free slot, growing the list by 50 when it is full.
template <class Rec>
Rec& NextSlot(std::vector<Rec>& list, int32_t& count) {
  if (int32_t(list.size()) - 1 <= count) list.resize(list.size() + kLocusGrowth);
  return list[++count];
}

}  // namespace

void LocusStore::Reset() {
  points.assign(kLocusInitialRoom + 1, PointRec{});
  lines.assign(kLocusInitialRoom + 1, LineRec{});
  circles.assign(kLocusInitialRoom + 1, CircleRec{});
  pointCount = lineCount = circleCount = 0;
  drawnPoints = drawnLines = drawnCircles = 0;
}

void LocusStore::Append(const PointRec& p) { Append(p, p.marker, p.locusColour); }

void LocusStore::Append(const PointRec& p, int32_t marker, int32_t colour) {
  PointRec& r = NextSlot(points, pointCount);
  r.x = p.x;
  r.y = p.y;
  r.colour = colour;
  r.locusColour = colour;
  r.valid = p.valid;
  r.marker = marker;
  r.free = p.free;
  r.boundClass = p.boundClass;
  r.boundIndex = p.boundIndex;
  r.boundParam = p.boundParam;
}

void LocusStore::Append(const LineRec& g) {
  LineRec& r = NextSlot(lines, lineCount);
  r.x1 = g.x1;
  r.y1 = g.y1;
  r.x2 = g.x2;
  r.y2 = g.y2;
  r.valid = g.valid;
  r.lineType = g.lineType;
  r.dx = g.dx;
  r.dy = g.dy;
  r.colour = g.locusColour;
  r.locusColour = g.locusColour;
  r.byTwoPoints = g.byTwoPoints;
  r.endA = g.endA;
  r.endB = g.endB;
}

void LocusStore::Append(const CircleRec& c) {
  CircleRec& r = NextSlot(circles, circleCount);
  r.cx = c.cx;
  r.cy = c.cy;
  r.radius = c.radius;
  r.valid = c.valid;
  r.colour = c.locusColour;
  r.locusColour = c.locusColour;
}

}  // namespace kv
