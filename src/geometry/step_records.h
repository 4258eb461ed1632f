// The records behind a step's parent and output slots, for the kind routines. The dependency
// analysis has already checked that every slot a kind's template names holds an object of the
// right class inside its table, so these index directly.
#pragma once

#include "model/figure.h"

namespace kv {

inline PointRec& ParentPoint(Figure& fig, int32_t s, int k) {
  return fig.points[fig.StepData()[s].parents[k].index];
}
inline LineRec& ParentLine(Figure& fig, int32_t s, int k) {
  return fig.lines[fig.StepData()[s].parents[k].index];
}
inline CircleRec& ParentCircle(Figure& fig, int32_t s, int k) {
  return fig.circles[fig.StepData()[s].parents[k].index];
}
inline NumberRec& ParentNumber(Figure& fig, int32_t s, int k) {
  return fig.numbers[fig.StepData()[s].parents[k].index];
}

inline PointRec& OutputPoint(Figure& fig, int32_t s, int k) {
  return fig.points[fig.StepData()[s].outputs[k].index];
}
inline LineRec& OutputLine(Figure& fig, int32_t s, int k) {
  return fig.lines[fig.StepData()[s].outputs[k].index];
}
inline CircleRec& OutputCircle(Figure& fig, int32_t s, int k) {
  return fig.circles[fig.StepData()[s].outputs[k].index];
}
inline NumberRec& OutputNumber(Figure& fig, int32_t s, int k) {
  return fig.numbers[fig.StepData()[s].outputs[k].index];
}

}  // namespace kv
