// Every coordinate and value of a figure as text that gives each double back exactly, so that
// two builds of the core (the desktop one and the web viewer) can be compared to the last bit.
#pragma once

#include <string>

#include "model/figure.h"

namespace kv {

// One line per object: class letter (N, P, L, C), index, 1 or 0 for defined, then the values
// with 17 significant digits (number: value; point: x, y, boundParam; line: x1, y1, x2, y2,
// dx, dy; circle: cx, cy, radius). Lines end with "\n".
std::string CoordinateDump(const Figure& fig);

}  // namespace kv
