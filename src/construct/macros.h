// The macro constructions: n equal parts of a segment, n equal parts of an angle, the foot of a
// perpendicular, the regular polygon and the polygon picked vertex by vertex. A macro step is
// the pending step of its command; once its inputs are given it expands into ordinary steps
// behind it, and a closing step with the macro's own code ends the group so that undo removes
// the group as a whole.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lang/translate.h"
#include "model/figure.h"

namespace kv {

// The largest part count the n-section, angle n-section and regular polygon accept; a larger
// count is taken as this one so that a mistyped value cannot fill the memory.
inline constexpr int32_t kMaxMacroParts = 1000;

// The message shown when a polygon asks for more vertices than the figure has points.
inline constexpr std::string_view kPolygonTooFewVerticesMessage =
    "頂点の数が足りないので,この多角形は作れません。この作業はキャンセルします。";

// The polygon being picked vertex by vertex. polygonVertices[1..polygonVertexNo - 1] are the
// points picked so far (element 0 unused); they are the points the picker must not offer again.
struct PolygonPicking {
  int32_t polygonVertexCount = 0;  // n
  int32_t polygonVertexNo = 0;     // the vertex asked for now, 1-based; 0 when not picking
  std::vector<int32_t> polygonVertices;
  int32_t groupStart = 0;  // the step number of the polygon's macro step
  bool Active() const { return polygonVertexNo > 0; }
  // The points picked so far, in picking order.
  std::vector<int32_t> PickedVertices() const;
};

// What the caller does after an expansion or a vertex.
enum class MacroOutcome {
  kNotAMacro,       // the last step is no macro step with its inputs given; nothing changed
  kDone,            // the group is closed: pop the modes, refresh, RecomputeAll
  kPickVertex,      // a polygon waits for its next vertex (PolygonPicking tells which)
  kTooFewVertices,  // the polygon step was removed: show kPolygonTooFewVerticesMessage, pop
};

// True for the macro kinds that open and close a group (PNEQ, LH2+, L3+, LRGN, LPGN).
bool IsMacroKind(Kind kind);

// Expands the last step, a macro step whose parents before its class-200 marker are all
// given: appends the ordinary steps with their new numbers and outputs (styled: points "×",
// n-section half-lines, perpendicular and polygon sides as segments), then the closing step,
// and relabels the figure. For LPGN it checks the point count and either removes the step
// (kTooFewVertices) or starts the vertex picking (kPickVertex) with an LPG+ step appended.
// The caller recomputes.
MacroOutcome ExpandMacro(Figure& fig, PolygonPicking& polygon, const Translator& tr);

// The point `point` was confirmed as the next polygon vertex. The pending LPG+ step becomes the
// side from the previous vertex (nothing for the first vertex); after the last vertex the
// closing side and the closing step are appended (kDone), otherwise a new LPG+ step waits for
// the next vertex (kPickVertex). The caller recomputes after each call.
MacroOutcome AddPolygonVertex(Figure& fig, PolygonPicking& polygon, int32_t point,
                              const Translator& tr);

// Esc or the right button while polygon vertices are picked: removes every step of the
// polygon's group, its macro step included, so that the figure is as it was before the
// command (a number typed into the number dialog for the vertex count stays, as new variables
// always do). Clears `polygon`. The caller pops the modes and recomputes.
void CancelPolygon(Figure& fig, PolygonPicking& polygon);

}  // namespace kv
