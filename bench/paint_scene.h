// What the repaint benchmarks draw: a generated figure alone in a scene, recomputed once, and
// the number of objects the timings are divided by.
#pragma once

#include "draw/renderer.h"
#include "geometry/recompute.h"
#include "model/figure.h"

namespace kv::bench {

// The figure without loci, marks or strokes, in the view and drawing settings given.
inline Scene FigureScene(const Figure& fig, const View& view, const DrawSettings& settings) {
  Scene scene;
  scene.figure = &fig;
  scene.view = &view;
  scene.settings = &settings;
  return scene;
}

// Numbers, points, lines and circles together.
inline int ObjectCount(const Figure& fig) {
  return fig.classCount[kClassNumber] + fig.classCount[kClassPoint] + fig.classCount[kClassLine] +
         fig.classCount[kClassCircle];
}

}  // namespace kv::bench
