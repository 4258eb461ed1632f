// The plane sweep and its record; see sweep_record.h.
#include "io/sweep_record.h"

#include <charconv>
#include <cmath>

#include "geometry/recompute.h"

namespace kv {

namespace {

constexpr double kSweepPixels = 10;

void AppendValue(std::string& out, double v) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, end.ptr);
}

}  // namespace

SweepGrid SweepGridFor(double scaleUnit, double halfWidth, double halfHeight) {
  SweepGrid grid;
  grid.spacing = kSweepPixels * scaleUnit;
  if (!(grid.spacing > 0)) return grid;
  grid.nx = static_cast<int>(std::floor(halfWidth / grid.spacing));
  grid.ny = static_cast<int>(std::floor(halfHeight / grid.spacing));
  return grid;
}

std::string RunPlaneSweep(Figure& fig, int32_t point, int32_t number, const SweepGrid& grid,
                          DeformObserver* observer, std::string_view figureFileName,
                          std::string_view folderText) {
  Deformer deformer;
  if (!deformer.StartPoint(fig, point)) return {};
  const bool record = number >= 1 && fig.InTable({kClassNumber, number});
  std::string text;
  if (record) {
    text += "ﾃﾞｰﾀ形式,1\n";
    text += "KV file : ";
    text += folderText;
    text += figureFileName;
    text += "\n点";
    text += TrimSpaces(fig.points[point].name);
    text += "を平面内を動かしたときの次の変数の変化 : ";
    text += TrimSpaces(fig.numbers[number].name);
    text += "\n";
    for (int i = -grid.nx; i <= grid.nx; ++i) {
      text += ",";
      AppendValue(text, i * grid.spacing);
    }
    text += "\n";
  }
  const PointRec kept = fig.points[point];
  // Rows from the top of the canvas down, as the table reads.
  for (int j = grid.ny; j >= -grid.ny; --j) {
    const double y = j * grid.spacing;
    if (record) AppendValue(text, y);
    for (int i = -grid.nx; i <= grid.nx; ++i) {
      deformer.StepTo(fig, {i * grid.spacing, y}, observer);
      if (!record) continue;
      text += ",";
      AppendValue(text, fig.numbers[number].value);
    }
    if (record) text += "\n";
  }
  PointRec& p = fig.points[point];
  p.x = kept.x, p.y = kept.y, p.valid = kept.valid, p.boundParam = kept.boundParam;
  RecomputeAll(fig);
  return text;
}

}  // namespace kv
