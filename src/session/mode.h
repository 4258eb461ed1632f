// Input modes as objects. Each entry of the mode stack owns one Mode: the window's events
// (press, move, release, double click, key, timer tick) go to the mode on top, which keeps the
// state of its task (a drag, a replay, a pending construction) and adds its marks to the
// picture. A mode acts on the world through ModeHost, which the Session implements; the mode
// code stays the key for the status text, the menu enabling and the call history.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "draw/renderer.h"
#include "geometry/deform.h"
#include "model/figure.h"

namespace kv {

class DialogModel;
class Mode;
class Translator;
class UiPort;
class View;

// A mouse event in world coordinates with the session's button and shift bit sets.
struct PointerEvent {
  int button = 0;
  int shift = 0;
  double x = 0, y = 0;
};

// What a mode may ask of the session around it. Status and repaint requests are collected
// and carried out once when the event ends.
class ModeHost {
 public:
  virtual ~ModeHost() = default;

  virtual Figure& Fig() = 0;
  virtual const View& CurrentView() const = 0;
  virtual const Translator& Texts() const = 0;
  virtual UiPort& Ui() = 0;

  // The mode stack. Push refuses (and beeps) when the stack is full; Pop beeps on the base.
  virtual void PushMode(std::unique_ptr<Mode> mode) = 0;
  virtual void PopMode() = 0;
  virtual int16_t CurrentCode() const = 0;
  virtual Mode* TopMode() = 0;

  // Full recompute, then the picture follows; Recompute alone leaves the marks as they are.
  virtual void RedrawAll() = 0;
  virtual void StatusChanged() = 0;
  virtual void RepaintNeeded() = 0;
  // A message box with OK, the text translated first.
  virtual void ShowMessage(std::string_view japanese) = 0;
  virtual bool ShiftHeld(int shift) const = 0;
  virtual bool EasyMenu() const = 0;
  // Decimals of the numbers shown in lists and dialogs.
  virtual int Decimals() const = 0;
  // The keyboard step of the arrow keys in world units.
  virtual double KeyStep() const = 0;
  // A status panel's text (panel 3 during a replay, panel 11 while picking).
  virtual void SetPanelText(int panel, std::string text) = 0;
  // Opens a dialog; the session hands every action to it and calls `Mode::DialogClosed` on
  // the mode that opened it once the dialog has ended.
  virtual void OpenDialog(std::unique_ptr<DialogModel> dialog) = 0;
  // Starts moving `point` with the mouse in mode 30 (a new point on a line or circle).
  virtual void StartPlacing(int32_t point) = 0;
  // The object menu of a right press on `target`.
  virtual void OpenObjectMenu(ObjRef target) = 0;
  // Around every deformation step (a mouse or key step of a point, a line or several points,
  // a number step): before the moved objects get their new place, and after the dependent
  // steps were recomputed (`dragged` is the point that moves, 0 for a number). The loci and
  // the measurement record follow the deformation here.
  virtual void BeforeDeformStep(int32_t dragged) = 0;
  virtual void AfterDeformStep(int32_t dragged, const DragPlan& plan) = 0;
  // The step sizes and the snapping rule of the deformation modes.
  virtual DeformSettings DeformSetup() const = 0;
  // The deformation keys that act on the session (step sizes, axes, the timed run, the plane
  // sweep); false when the key is none of them.
  virtual bool DeformationKey(int code, int shift) = 0;
};

class Mode {
 public:
  explicit Mode(int16_t code) : code_(code) {}
  virtual ~Mode() = default;
  Mode(const Mode&) = delete;
  Mode& operator=(const Mode&) = delete;

  int16_t Code() const { return code_; }

  // A left or middle press (a right press outside the standard mode arrives as Esc). A mode
  // without a task of its own recomputes and redraws everything.
  virtual void Press(ModeHost& host, const PointerEvent& e);
  virtual void Move(ModeHost& /*host*/, const PointerEvent& /*e*/) {}
  virtual void Release(ModeHost& /*host*/, const PointerEvent& /*e*/) {}
  // A double click repeats the last press.
  virtual void DoubleClick(ModeHost& host, const PointerEvent& lastPress) {
    Press(host, lastPress);
  }
  // Esc redraws; with Shift (or the shift lock) it also leaves the mode.
  virtual void Key(ModeHost& host, int code, int shift);
  // A tick of the replay timer; a mode that runs no timer stops it.
  virtual void Timer(ModeHost& host);
  // The dialog this mode opened has ended; its result is read from the model.
  virtual void DialogClosed(ModeHost& /*host*/, DialogModel& /*dialog*/) {}
  // Marks drawn over the figure while the mode is on top, and its part of the scene.
  virtual void AddMarks(const Figure& /*fig*/, std::vector<ObjectMark>& /*marks*/) const {}
  virtual int32_t ReplayStep() const { return -1; }
  // Right-click presses in the standard mode open the object menu instead of acting as Esc.
  virtual bool TakesRightPress() const { return false; }

 private:
  int16_t code_;
};

}  // namespace kv
