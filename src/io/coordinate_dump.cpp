#include "io/coordinate_dump.h"

#include <cstdio>
#include <initializer_list>

namespace kv {

std::string CoordinateDump(const Figure& fig) {
  std::string out;
  char buffer[40];
  auto row = [&](char cls, int32_t i, int32_t valid, std::initializer_list<double> values) {
    out += cls;
    out += ' ' + std::to_string(i) + (valid != 0 ? " 1" : " 0");
    for (double v : values) {
      std::snprintf(buffer, sizeof buffer, " %.17g", v);
      out += buffer;
    }
    out += '\n';
  };
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    row('N', i, fig.numbers[i].valid, {fig.numbers[i].value});
  for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
    const PointRec& p = fig.points[i];
    row('P', i, p.valid, {p.x, p.y, p.boundParam});
  }
  for (int32_t i = 1; i <= fig.classCount[kClassLine]; ++i) {
    const LineRec& l = fig.lines[i];
    row('L', i, l.valid, {l.x1, l.y1, l.x2, l.y2, l.dx, l.dy});
  }
  for (int32_t i = 1; i <= fig.classCount[kClassCircle]; ++i) {
    const CircleRec& c = fig.circles[i];
    row('C', i, c.valid, {c.cx, c.cy, c.radius});
  }
  return out;
}

}  // namespace kv
