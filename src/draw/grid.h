// The coordinate grid under the figure: dotted lines one world unit apart with solid axes
// (orthogonal), or dotted circles about the origin and rays every 30 degrees (polar).
#pragma once

#include "draw/canvas.h"
#include "draw/view.h"

namespace kv {

// Draws the grid of `view` in its AxisColor, whether or not axissw is on.
void DrawGrid(const View& view, Canvas& canvas);

}  // namespace kv
