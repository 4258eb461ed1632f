// Circle kinds: circles from a centre and a radius or a point, the circles of a triangle
// (circumscribed, inscribed, escribed, nine-point) and the images of circles under the point
// maps. Every routine writes only the centre, radius and validity of its output.
#include "geometry/kinds.h"
#include "geometry/point_transforms.h"
#include "geometry/primitives.h"
#include "geometry/step_records.h"

namespace kv {

namespace {

// Centre and radius of a defined circle; an undefined centre or radius leaves the circle's
// position as it was and marks it undefined.
void SetCircle(CircleRec& out, const PointRec& centre, double radius, bool radiusOk) {
  if (centre.valid == 0 || !radiusOk) {
    out.valid = kFalse;
    return;
  }
  out.cx = centre.x;
  out.cy = centre.y;
  out.radius = radius;
  out.valid = kTrue;
}

// Circle about `centre` through `p`.
void CircleThrough(CircleRec& out, const PointRec& centre, const PointRec& p) {
  double radius = 0;
  const bool ok = PointDistance(centre, p, radius);
  SetCircle(out, centre, radius, ok);
}

// Circle about `centre` touching the line through a and b.
void CircleTouching(CircleRec& out, const PointRec& centre, const PointRec& a, const PointRec& b) {
  LineRec side, perpendicular;
  LineThroughPoints(a, b, side);
  PerpendicularThrough(side, centre, perpendicular);
  PointRec foot;
  IntersectLines(side, perpendicular, foot);
  CircleThrough(out, centre, foot);
}

// Parent 1 moved by the step's map: its centre mapped, its radius kept.
void MapCircle(Figure& fig, int32_t s, PointMap map) {
  const CircleRec& c = ParentCircle(fig, s, 1);
  PointRec centre, image;
  CircleCentrePoint(c, centre);
  MapPoint(fig, s, map, centre, image);
  SetCircle(OutputCircle(fig, s, 1), image, c.radius, c.valid != 0);
}

}  // namespace

void RecomputeCircle(Figure& fig, int32_t s) {
  switch (fig.KindOf(s)) {
    case Kind::kC1: {
      // A radius of 0 is a circle too (a dot); a negative one is not.
      const NumberRec& r = ParentNumber(fig, s, 2);
      SetCircle(OutputCircle(fig, s, 1), ParentPoint(fig, s, 1), r.value,
                r.valid != 0 && r.value >= 0);
      break;
    }
    case Kind::kC2:
      CircleThrough(OutputCircle(fig, s, 1), ParentPoint(fig, s, 1), ParentPoint(fig, s, 2));
      break;
    case Kind::kC3: {
      const PointRec& a = ParentPoint(fig, s, 1);
      PointRec centre;
      Circumcentre(a, ParentPoint(fig, s, 2), ParentPoint(fig, s, 3), centre);
      CircleThrough(OutputCircle(fig, s, 1), centre, a);
      break;
    }
    case Kind::kC4: {
      PointRec p1, p2, middle;
      LineEndPoints(ParentLine(fig, s, 1), p1, p2);
      DivisionPoint(p1, p2, 1, 1, middle);
      CircleThrough(OutputCircle(fig, s, 1), middle, p1);
      break;
    }
    case Kind::kC5: {
      const PointRec& a = ParentPoint(fig, s, 1);
      const PointRec& b = ParentPoint(fig, s, 2);
      PointRec centre;
      Incentre(a, b, ParentPoint(fig, s, 3), centre);
      CircleTouching(OutputCircle(fig, s, 1), centre, a, b);
      break;
    }
    case Kind::kC6: {
      // The escribed circle opposite A touches the side BC itself.
      const PointRec& b = ParentPoint(fig, s, 2);
      const PointRec& c = ParentPoint(fig, s, 3);
      PointRec centre;
      Excentre(ParentPoint(fig, s, 1), b, c, centre);
      CircleTouching(OutputCircle(fig, s, 1), centre, b, c);
      break;
    }
    case Kind::kC7: {
      const PointRec& a = ParentPoint(fig, s, 1);
      const PointRec& b = ParentPoint(fig, s, 2);
      PointRec centre, middle;
      NinePointCentre(a, b, ParentPoint(fig, s, 3), centre);
      DivisionPoint(a, b, 1, 1, middle);
      CircleThrough(OutputCircle(fig, s, 1), centre, middle);
      break;
    }
    case Kind::kCRO:
      MapCircle(fig, s, PointMap::kRotate);
      break;
    case Kind::kCT1:
      MapCircle(fig, s, PointMap::kReflectInLine);
      break;
    case Kind::kCT2:
      MapCircle(fig, s, PointMap::kReflectInPoint);
      break;
    case Kind::kCT3:
      MapCircle(fig, s, PointMap::kTranslate);
      break;
    default:
      break;  // an expression number or an unknown code computes nothing here
  }
}

}  // namespace kv
