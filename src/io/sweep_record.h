// The plane sweep of a dragged point: the point visits every position of a 10-pixel grid over
// the visible canvas, the figure is recomputed at each, and the value of one number there is
// written into a table (the "_3D.csv" record, for surface plots in a spreadsheet).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/deform.h"
#include "model/figure.h"

namespace kv {

struct SweepGrid {
  double spacing = 0;  // world units between grid positions
  int nx = 0, ny = 0;  // columns -nx..nx, rows -ny..ny
};

// The grid of 10 pixels over a canvas of the given half extents.
SweepGrid SweepGridFor(double scaleUnit, double halfWidth, double halfHeight);

// Moves `point` over the grid (bound points along their target), recomputing what depends on
// it at each position and telling `observer` as a drag step would. Returns the record text
// naming `number` (empty when number is 0); the point is put back where it was afterwards.
// `figureFileName` and `folderText` go into the second line.
std::string RunPlaneSweep(Figure& fig, int32_t point, int32_t number, const SweepGrid& grid,
                          DeformObserver* observer, std::string_view figureFileName,
                          std::string_view folderText = {});

}  // namespace kv
