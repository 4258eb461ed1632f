// The ready-made demonstrations of plane maps fixed by points and their images: a linear map
// (two points and their images), an affine map (three) and a projective map (four). Each adds
// its free points, the segments that show the defining vectors, the image point φ(P) and the
// numbers of the map's matrix, then hides the dependent numbers so that the matrix does not
// crowd the number list.
#pragma once

#include "model/figure.h"

namespace kv {

enum class TransformMacro { kLinear, kAffine, kProjective };

// Appends the demonstration's objects and steps behind the present figure (indices continue
// from the present counts; names are not made unique) and then hides every dependent number
// as HideDependentNumbers does. The caller runs RecomputeAll and redraws.
void BuildTransformMacro(Figure& fig, TransformMacro which);

// "すべて非表示": every number that is not an independent variable is hidden from the number
// list; independent variables keep their visibility. The caller recomputes and redraws.
void HideDependentNumbers(Figure& fig);

}  // namespace kv
