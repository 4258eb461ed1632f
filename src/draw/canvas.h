// The drawing surface the renderer paints on: a few primitives in device pixels (pixel centres
// at integer coordinates, y down). The window and image export implement it with QPainter;
// tests record the calls.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kv {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour as the settings file stores it: red + 256 * green + 65536 * blue.
constexpr uint32_t ToColorRef(Rgb c) {
  return uint32_t(c.r) | (uint32_t(c.g) << 8) | (uint32_t(c.b) << 16);
}

// A stored value with the top bit set does not hold red, green and blue but names a system
// colour by its number in the low byte: a background set to the button-face colour (15) can
// be stored that way, -2147483633 in the file. Read bytewise it would give an almost black
// canvas, so it reads as the usual value of that system colour instead: the window colour (5)
// white, the window and button text colours (8, 18) black, any other the button face.
constexpr Rgb FromColorRef(uint32_t v) {
  if (v & 0x80000000u) {
    switch (v & 0xFF) {
      case 5:
        return Rgb{255, 255, 255};
      case 8:
      case 18:
        return Rgb{0, 0, 0};
      default:
        return Rgb{240, 240, 240};
    }
  }
  return Rgb{uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF), uint8_t((v >> 16) & 0xFF)};
}

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

enum class LineStyle : uint8_t { kSolid, kDotted };

struct Pen {
  Rgb colour;
  int width = 1;  // pixels
  LineStyle style = LineStyle::kSolid;
};

struct DevicePoint {
  double x = 0, y = 0;
};

struct TextStyle {
  Rgb colour;
  std::string_view fontName;  // as the settings name it; the canvas maps it to an installed font
  double fontSize = 9;        // points
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void Clear(Rgb background) = 0;
  virtual void Line(DevicePoint a, DevicePoint b, const Pen& pen) = 0;
  virtual void Polyline(std::span<const DevicePoint> points, const Pen& pen) = 0;
  virtual void Circle(DevicePoint centre, double radius, const Pen& pen) = 0;
  // A point whose size follows the pen width.
  virtual void Dot(DevicePoint p, Rgb colour, int width) = 0;
  virtual void FillRect(DevicePoint corner1, DevicePoint corner2, Rgb colour) = 0;
  // `topLeft` is the top-left corner of the text; the background stays as it is.
  virtual void Text(DevicePoint topLeft, std::string_view utf8, const TextStyle& style) = 0;
  // Width in pixels of a text. The default counts every character as half of a 96-dpi em
  // (2/3 pixel per point), which is exact for half-width characters of a fixed-pitch font.
  virtual double TextWidth(std::string_view utf8, const TextStyle& style) {
    double chars = 0;
    for (unsigned char ch : utf8) chars += (ch & 0xC0) != 0x80;
    return chars * style.fontSize * 2 / 3;
  }
};

}  // namespace kv
