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
  CopyWithoutTexts(p, r);
  r.colour = r.locusColour = colour;
  r.marker = marker;
}

// A stored copy is drawn in its locus colour; the names are never drawn, so never copied.
void LocusStore::Append(const LineRec& g) {
  LineRec& r = NextSlot(lines, lineCount);
  CopyWithoutTexts(g, r);
  r.colour = g.locusColour;
}

void LocusStore::Append(const CircleRec& c) {
  CircleRec& r = NextSlot(circles, circleCount);
  CopyWithoutTexts(c, r);
  r.colour = c.locusColour;
}

}  // namespace kv
