// The web viewer's side of the core: a figure read from the page, recomputed and painted on an
// HTML canvas through the Canvas port that kvview_canvas.js implements. Each figure of a page
// has its own Viewer; the page script holds it by its address.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "draw/draw_settings.h"
#include "draw/renderer.h"
#include "draw/view.h"
#include "geometry/recompute.h"
#include "io/coordinate_dump.h"
#include "io/kv4_file.h"
#include "kvview_drag.h"
#include "lang/translate.h"

namespace {

// --- The Canvas port: each call goes to the page's canvas layer (kvview_canvas.js). ---

uint32_t Packed(kv::Rgb c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

// clang-format off
EM_JS(void, kvjs_clear, (uint32_t rgb), { Module.kvPort.clear(rgb); });
EM_JS(void, kvjs_line, (double ax, double ay, double bx, double by, uint32_t rgb, int width,
                        int dotted), { Module.kvPort.line(ax, ay, bx, by, rgb, width, dotted); });
EM_JS(void, kvjs_polyline, (const double* xy, int count, uint32_t rgb, int width, int dotted), {
  Module.kvPort.polyline(HEAPF64.subarray(xy >> 3, (xy >> 3) + 2 * count), rgb, width, dotted);
});
EM_JS(void, kvjs_circle, (double x, double y, double r, uint32_t rgb, int width, int dotted),
      { Module.kvPort.circle(x, y, r, rgb, width, dotted); });
EM_JS(void, kvjs_dot, (double x, double y, uint32_t rgb, int width),
      { Module.kvPort.dot(x, y, rgb, width); });
EM_JS(void, kvjs_fill, (double ax, double ay, double bx, double by, uint32_t rgb),
      { Module.kvPort.fillRect(ax, ay, bx, by, rgb); });
EM_JS(void, kvjs_text, (double x, double y, const char* text, int length, uint32_t rgb,
                        double size, const char* font, int fontLength), {
  Module.kvPort.text(x, y, UTF8ToString(text, length), rgb, size,
                     UTF8ToString(font, fontLength));
});
EM_JS(double, kvjs_text_width, (const char* text, int length, double size, const char* font,
                                int fontLength), {
  return Module.kvPort.textWidth(UTF8ToString(text, length), size,
                                 UTF8ToString(font, fontLength));
});
// clang-format on

class PageCanvas final : public kv::Canvas {
 public:
  void Clear(kv::Rgb background) override { kvjs_clear(Packed(background)); }
  void Line(kv::DevicePoint a, kv::DevicePoint b, const kv::Pen& pen) override {
    kvjs_line(a.x, a.y, b.x, b.y, Packed(pen.colour), pen.width, Dotted(pen));
  }
  void Polyline(std::span<const kv::DevicePoint> points, const kv::Pen& pen) override {
    static_assert(sizeof(kv::DevicePoint) == 2 * sizeof(double));
    kvjs_polyline(reinterpret_cast<const double*>(points.data()), int(points.size()),
                  Packed(pen.colour), pen.width, Dotted(pen));
  }
  void Circle(kv::DevicePoint centre, double radius, const kv::Pen& pen) override {
    kvjs_circle(centre.x, centre.y, radius, Packed(pen.colour), pen.width, Dotted(pen));
  }
  void Dot(kv::DevicePoint p, kv::Rgb colour, int width) override {
    kvjs_dot(p.x, p.y, Packed(colour), width);
  }
  void FillRect(kv::DevicePoint a, kv::DevicePoint b, kv::Rgb colour) override {
    kvjs_fill(a.x, a.y, b.x, b.y, Packed(colour));
  }
  void Text(kv::DevicePoint topLeft, std::string_view utf8, const kv::TextStyle& style) override {
    kvjs_text(topLeft.x, topLeft.y, utf8.data(), int(utf8.size()), Packed(style.colour),
              style.fontSize, style.fontName.data(), int(style.fontName.size()));
  }
  double TextWidth(std::string_view utf8, const kv::TextStyle& style) override {
    return kvjs_text_width(utf8.data(), int(utf8.size()), style.fontSize, style.fontName.data(),
                           int(style.fontName.size()));
  }

 private:
  static int Dotted(const kv::Pen& pen) { return pen.style == kv::LineStyle::kDotted ? 1 : 0; }
};

struct Viewer {
  kv::Figure figure;
  kv::View view;
  kv::DrawSettings settings;
  kv::Renderer renderer;
  PageCanvas canvas;
  kvview::PageDrag drag;
  kv::ObjectMark dragMark;  // the ring on the point being dragged
  bool complex = false;
  std::string text;  // the last text handed to the page
};

// Pointer positions come as canvas pixels from the page, or as world coordinates from tests
// that replay a desktop drag.
void ToWorld(const Viewer& v, int pixels, double& x, double& y) {
  if (!pixels) return;
  x = v.view.WorldX(x);
  y = v.view.WorldY(y);
}

const kv::Translator& English() {
  static const kv::Translator tr{kv::Language::kEnglish, {}};
  return tr;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Viewer* kv_create() {
  Viewer* v = new Viewer;
  v->view.SetScreen(640, 480);
  return v;
}

EMSCRIPTEN_KEEPALIVE void kv_destroy(Viewer* v) { delete v; }

// Reads a figure file's bytes (as stored, Shift_JIS) and recomputes it. 0 on success; else the
// reason is left for kv_text.
EMSCRIPTEN_KEEPALIVE int kv_load(Viewer* v, const char* bytes, int length) {
  if (length < 0 || size_t(length) > kv::kMaxFigureFileBytes) {
    v->complex = false;
    v->text = "The figure is too large.";
    return 1;
  }
  // Read, then recompute once, as the desktop program and kvtool open a figure.
  kv::FigureFileIO io;
  const kv::FileResult result = io.ReadBytes(v->figure, std::string_view(bytes, size_t(length)));
  if (result.ok()) kv::RecomputeAll(v->figure);
  v->complex = result.ok() && io.hasComplexSteps;
  v->text = result.ok() ? std::string() : kv::FileResultMessage(result, English());
  return result.ok() ? 0 : 1;
}

EMSCRIPTEN_KEEPALIVE int kv_has_complex(Viewer* v) { return v->complex ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE void kv_set_view(Viewer* v, int width, int height, double scaleUnit, int axes,
                                      int axisKind, uint32_t axisColor) {
  v->view.ScaleUnit = scaleUnit > 0 ? scaleUnit : kv::kDefaultScaleUnit;
  v->view.axissw = axes != 0;
  v->view.AxisKind = axisKind == kv::kAxisPolar ? kv::kAxisPolar : kv::kAxisOrthogonal;
  v->view.AxisColor = kv::FromColorRef(axisColor);
  v->view.SetScreen(width > 0 ? width : 1, height > 0 ? height : 1);
}

EMSCRIPTEN_KEEPALIVE void kv_set_drawing(Viewer* v, uint32_t background, int strength, int penWidth,
                                         double fontSize, int labelsHidden, int decimals) {
  kv::DrawSettings& s = v->settings;
  s.background = kv::FromColorRef(background);
  s.ColorStrength = strength >= 1 && strength <= 255 ? strength : 255;
  s.drawWidth = penWidth < 1 ? 1 : penWidth > 10 ? 10 : penWidth;
  s.fontSize = fontSize < 6 ? 6 : fontSize > 100 ? 100 : fontSize;
  s.NotChrDisp = labelsHidden != 0;
  s.KetaDecimal = decimals < 0                     ? 0
                  : decimals > kv::kMaxKetaDecimal ? kv::kMaxKetaDecimal
                                                   : decimals;
}

EMSCRIPTEN_KEEPALIVE void kv_recompute(Viewer* v) { kv::RecomputeAll(v->figure); }

// Paints the picture; the page has pointed Module.kvPort at the target canvas. Layer 0 is the
// whole picture; during a drag, 1 is what stays put (painted once into an image the page
// keeps) and 2 what moves, painted over that image on each move.
EMSCRIPTEN_KEEPALIVE int kv_paint(Viewer* v, int layer) {
  kv::Scene scene;
  scene.figure = &v->figure;
  scene.view = &v->view;
  scene.settings = &v->settings;
  if (v->drag.Active() && (layer == 1 || layer == 2)) {
    scene.drag = &v->drag.Plan();
    scene.layer = layer == 1 ? kv::PaintLayer::kFixed : kv::PaintLayer::kMoving;
    if (layer == 2 && v->drag.DragPoint() != 0) {
      v->dragMark = {{kv::kClassPoint, v->drag.DragPoint()}, kv::kStyleOwn, 20, 0};
      scene.marks = {&v->dragMark, 1};
    }
  }
  return v->renderer.Paint(scene, v->canvas).badColourIndex;
}

// 1 when a press at (x, y) would drag a point, 2 a line, 0 nothing.
EMSCRIPTEN_KEEPALIVE int kv_hover(Viewer* v, double x, double y, int pixels) {
  ToWorld(*v, pixels, x, y);
  return int(kvview::PageDrag::Draggable(v->figure, v->view, x, y));
}

// Starts a drag at (x, y); what is dragged, as kv_hover says.
EMSCRIPTEN_KEEPALIVE int kv_press(Viewer* v, double x, double y, int pixels) {
  ToWorld(*v, pixels, x, y);
  return int(v->drag.Press(v->figure, v->view, x, y));
}

// One step of the drag; 0 when nothing is dragged.
EMSCRIPTEN_KEEPALIVE int kv_move(Viewer* v, double x, double y, int pixels) {
  ToWorld(*v, pixels, x, y);
  return v->drag.Move(v->figure, v->view, x, y) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kv_release(Viewer* v) { v->drag.Release(v->figure); }

EMSCRIPTEN_KEEPALIVE int kv_dragging(Viewer* v) { return v->drag.Active() ? 1 : 0; }

// Point `index` for tests and scripts that drive the page: its position in world units and in
// canvas pixels, and the class of what it is bound to; 0 when there is no such point.
EMSCRIPTEN_KEEPALIVE int kv_point(Viewer* v, int index, double* out) {
  if (!v->figure.InTable({kv::kClassPoint, index})) return 0;
  const kv::PointRec& p = v->figure.points[index];
  out[0] = p.x;
  out[1] = p.y;
  out[2] = v->view.DeviceX(p.x);
  out[3] = v->view.DeviceY(p.y);
  out[4] = p.boundClass;
  return 1;
}

EMSCRIPTEN_KEEPALIVE int kv_object_count(Viewer* v) {
  int n = 0;
  for (int k = kv::kClassNumber; k <= kv::kClassCircle; ++k) n += v->figure.classCount[k];
  return n;
}

// Texts for the page and the tests: valid until the next call that returns text.
EMSCRIPTEN_KEEPALIVE const char* kv_text(Viewer* v) { return v->text.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* kv_coordinates(Viewer* v) {
  v->text = kv::CoordinateDump(v->figure);
  return v->text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* kv_file_text(Viewer* v) {
  v->text = kv::FigureFileText(v->figure);
  return v->text.c_str();
}

}  // extern "C"
