// Mode 28, the new free point command: a pending point (drawn as "○") waits for its place; a
// click or Enter places it and the next one waits at once, the arrow keys move it by the
// keyboard step, and Esc ends the command, removing only the point still waiting.
#pragma once

#include "session/mode.h"

namespace kv {

class NewPointMode : public Mode {
 public:
  NewPointMode();

  // Appends the PNEW step of the next pending point.
  void StartPoint(ModeHost& host);

  void Press(ModeHost& host, const PointerEvent& e) override;
  void Key(ModeHost& host, int code, int shift) override;
  void AddMarks(const Figure& fig, std::vector<ObjectMark>& marks) const override;

  int32_t PendingPoint() const { return point_; }

 private:
  void Place(ModeHost& host);

  int32_t point_ = 0;
};

}  // namespace kv
