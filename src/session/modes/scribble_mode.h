// The scribble mode (70): freehand strokes over the figure with the scribble colour. The
// strokes are no part of the figure: they live in this mode and vanish with it or with the
// next full redraw. Every menu is disabled while it runs; Esc or the right button leaves it.
#pragma once

#include <span>
#include <vector>

#include "draw/renderer.h"
#include "session/mode.h"

namespace kv {

class ScribbleMode : public Mode {
 public:
  // `colour` and `width` are read at every press, so a colour chosen or a size preset set
  // while the mode runs applies to the next stroke.
  ScribbleMode(const Rgb& colour, const int& width);

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Move(ModeHost& host, const PointerEvent& e) override;
  void Release(ModeHost& host, const PointerEvent& e) override;
  void Key(ModeHost& host, int code, int shift) override;

  std::span<const Stroke> Strokes() const { return strokes_; }
  // A full redraw wipes the strokes out.
  void ClearStrokes() {
    strokes_.clear();
    down_ = false;
  }
  bool Down() const { return down_; }

 private:
  const Rgb& colour_;
  const int& width_;
  std::vector<Stroke> strokes_;
  bool down_ = false;  // between a press and its release
};

}  // namespace kv
