// Paints the whole visible state — grid, loci, the figure's points, lines and circles, point
// labels, angle marks, the number list, highlight marks and scribble strokes — onto a Canvas.
// The picture is a function of the Scene alone, so every repaint is complete and clean.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "draw/canvas.h"
#include "draw/draw_settings.h"
#include "draw/locus_store.h"
#include "draw/view.h"
#include "geometry/drag_recompute.h"
#include "model/figure.h"

namespace kv {

// Style codes of a drawing call: which colour an object is drawn in.
constexpr int kStyleOwn = 0;         // 0..7: own colour, or the style's when the own is 0
constexpr int kStyleLocus = 10;      // 10..19: the locus colour
constexpr int kStyleForced = 20;     // 20..29: colour (style - 20)
constexpr int kStyleHighlight = 21;  // forced red

// An object drawn again over the figure: the current pick candidate, the draggable points,
// the object being dragged, the step shown in a replay.
struct ObjectMark {
  ObjRef ref;
  int style = kStyleHighlight;
  int marker = -1;     // point marker instead of the record's; -1 keeps it
  int extraWidth = 0;  // pixels added to the draw width
};

struct WorldPoint {
  double x = 0, y = 0;
};

// A freehand stroke of the scribble mode, in world coordinates.
struct Stroke {
  Rgb colour;
  int width = 1;
  std::vector<WorldPoint> points;
};

// During a drag the picture is painted in two layers: the objects that do not move, once when
// the drag starts (into an image the window keeps), and on top of that image, on each drag
// step, the moving objects with the loci, angle marks, number list, marks and strokes.
enum class PaintLayer { kAll, kFixed, kMoving };

struct Scene {
  const Figure* figure = nullptr;
  const View* view = nullptr;
  const DrawSettings* settings = nullptr;
  const LocusStore* loci = nullptr;   // may be null
  const LocusStore* trail = nullptr;  // the dots moving trace-marker points left; may be null
  std::span<const ObjectMark> marks;
  std::span<const Stroke> strokes;
  int inputMode = 2;           // labels follow NotChrDisp only in modes 2, 6 and 16
  bool statusBarShown = true;  // hidden in the thumbnail view: smaller offsets and marks
  int thumbnailState = 0;      // 2 or more: smaller point markers
  int32_t replayStep = -1;     // >= 0: only the outputs of steps 1..replayStep are shown
  PaintLayer layer = PaintLayer::kAll;
  const DragPlan* drag = nullptr;  // what moves; the two layers need it
};

enum class Source { kCurrent, kPrevious };

// What a paint met that the user should hear about (the caller decides how and when).
struct PaintReport {
  int badColourIndex = -1;  // a colour index outside the palette, drawn in black; -1 none
};

// Sizes in pixels that depend on the window state.
struct DrawMetrics {
  double markerHalf;   // half-size of point markers
  double labelOffset;  // label offset from its point
  double markRadius;   // radius of angle marks
  double listBottom;   // margin below the number list
};
DrawMetrics MetricsOf(const Scene& scene);

class Renderer {
 public:
  PaintReport Paint(const Scene& scene, Canvas& canvas);
  // One point, line or circle with a style code, from the current or previous-pass tables,
  // without its label.
  void DrawObject(const Scene& scene, Canvas& canvas, ObjRef ref, int style,
                  Source source = Source::kCurrent, int extraWidth = 0, int marker = -1);
  const PaintReport& report() const { return report_; }

 private:
  void BuildReplayMask(const Figure& fig, int32_t lastStep);
  bool Shown(int cls, int32_t index) const;
  // In the layer being painted (and shown by a replay).
  bool InLayer(int cls, int32_t index) const;
  void DrawNumberList(const Scene& scene, Canvas& canvas);

  PaintReport report_;
  bool replay_ = false;
  PaintLayer layer_ = PaintLayer::kAll;
  const DragPlan* drag_ = nullptr;
  std::vector<uint8_t> shown_[4];          // per class, during a replay
  std::string row_;                        // reused text of number list rows
  std::vector<DevicePoint> strokeBuffer_;  // reused device points of a stroke
  // The number list's value column as the fixed layer of the drag `columnPlan_` measured it.
  const DragPlan* columnPlan_ = nullptr;
  double dragColumn_ = 0;
};

// Colour index a style code gives for an object with the given colours.
int ColourIndexFor(int style, int colour, int locusColour);

}  // namespace kv
