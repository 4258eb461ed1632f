// Circle kinds: circles from a centre and a radius or a point, the circles of a triangle
// (circumscribed, inscribed, escribed, nine-point) and the images of circles under the point
// maps. Every routine writes only the centre, radius and validity of its output.
#include "geometry/kinds.h"
#include "geometry/point_transforms.h"
#include "geometry/primitives.h"
#include "geometry/step_records.h"

namespace kv {

namespace {

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
    case Kind::kNone:
    case Kind::kUnknown:
    case Kind::kP1:
    case Kind::kP2:
    case Kind::kP3:
    case Kind::kP4:
    case Kind::kP5:
    case Kind::kP6:
    case Kind::kPC1:
    case Kind::kPC2:
    case Kind::kPC3:
    case Kind::kPN:
    case Kind::kPEXT:
    case Kind::kPXY:
    case Kind::kPNEW:
    case Kind::kPBND:
    case Kind::kPT1:
    case Kind::kPT2:
    case Kind::kPT3:
    case Kind::kPT4:
    case Kind::kPT5:
    case Kind::kPT6:
    case Kind::kPT7:
    case Kind::kPT62:
    case Kind::kPT8:
    case Kind::kPT9:
    case Kind::kPOAdd:
    case Kind::kPOSub:
    case Kind::kPOMul:
    case Kind::kPODiv:
    case Kind::kPOPow:
    case Kind::kPOInv:
    case Kind::kPNEQ:
    case Kind::kL1:
    case Kind::kL2:
    case Kind::kL3:
    case Kind::kL4:
    case Kind::kL5:
    case Kind::kL6:
    case Kind::kL7:
    case Kind::kL8:
    case Kind::kLH1:
    case Kind::kLH2:
    case Kind::kLRO:
    case Kind::kLHRO:
    case Kind::kLT1:
    case Kind::kLT2:
    case Kind::kLT3:
    case Kind::kL3Macro:
    case Kind::kLH2Macro:
    case Kind::kLPGN:
    case Kind::kLRGN:
    case Kind::kLPGPending:
    case Kind::kND2P:
    case Kind::kNDPL:
    case Kind::kNPL2:
    case Kind::kNDPC:
    case Kind::kND2L:
    case Kind::kNDLC:
    case Kind::kND2C:
    case Kind::kNA3P:
    case Kind::kNA3Star:
    case Kind::kNA3M:
    case Kind::kNA3Plus:
    case Kind::kNA2L:
    case Kind::kNAR3:
    case Kind::kNARPlus:
    case Kind::kNAR4:
    case Kind::kNLC:
    case Kind::kNRC:
    case Kind::kNPX:
    case Kind::kNPX2:
    case Kind::kNPY:
    case Kind::kNSIN:
    case Kind::kNCOS:
    case Kind::kNTAN:
    case Kind::kCALC:
    case Kind::kCount:
      break;  // an expression number or an unknown code computes nothing here
  }
}

}  // namespace kv
