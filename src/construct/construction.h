// The construction commands. A menu command that builds an object appends a pending step whose
// parent slots name the classes still wanted (100 a number from the number dialog, 200 the
// marker of a macro), asks for the parents one after the other, then allocates, styles and
// names the outputs and recomputes. What each command builds comes from the kind catalogue
// (kind, parent and output columns, menu commands) and the few rows of construction.cpp that
// the catalogue does not say (macro templates, segment requirements, output styles), so a new
// kind needs a catalogue row and nothing in the session.
//
// The Constructor holds what lives between commands (the styles a repeat reuses, the polygon
// being picked); the modes 17, 15, 28, 29 and 30 of a running command act through it.
#pragma once

#include <array>
#include <cstdint>

#include "construct/macros.h"
#include "model/figure.h"
#include "model/menu_command.h"
#include "session/mode.h"

namespace kv {

class DialogModel;

// The parts of a pending command that are not in the step table.
struct PendingConstruction {
  // Per parent slot 1..5: -1 any line, otherwise the `lineType` the picked line must have.
  std::array<int32_t, 6> requiredLineType{};
  // Per output slot 1..5: -1 keeps the default, otherwise the `marker` of a point output or
  // the `lineType` of a line output.
  std::array<int32_t, 6> outputStyle{};
  bool repeatRequest = false;
  PendingConstruction() { Reset(); }
  void Reset() {
    requiredLineType.fill(-1);
    outputStyle.fill(-1);
  }
};

// The parent classes and output classes a kind's pending step starts with, and the output
// style a command gives its line (segment or half-line), as the construction needs them.
struct StepTemplate {
  std::array<int32_t, 6> parents{};  // slots 1..5; 100 a number, 200 a macro marker
  std::array<int32_t, 6> outputs{};  // slots 1..5; 100 a number
  std::array<int32_t, 6> requiredLineType{-1, -1, -1, -1, -1, -1};
  std::array<int32_t, 6> outputStyle{-1, -1, -1, -1, -1, -1};
};
// False for a kind that no picking command builds.
bool TemplateOf(Kind kind, StepTemplate& out);

// How a menu command starts.
enum class CommandKind {
  kNone,
  kPicking,
  kNewPoint,
  kBoundPoint,
  kExpression,
  kTransformMacro,
  kUndo,
  kRepeat
};
CommandKind ClassifyCommand(MenuCommand cmd);
// Whether the construction layer carries the command out (the window disables the others).
bool IsConstructionCommand(MenuCommand cmd);

// "「" + description + "」の元にするものが足りません。..." in the translator's language.
std::string NotEnoughObjectsMessage(Kind kind, const Translator& tr);

class Constructor {
 public:
  // Carries out a construction command (after the easy menu's forwarding); false when the
  // command is none of the construction layer's.
  bool Command(ModeHost& host, MenuCommand cmd);

  // StartConstruction: appends the pending step of `kind` and asks for its first parent, or
  // shows the not-enough-objects message and leaves the figure as it was. `lineStyle` is the
  // line output style of the command (segment 1, half-line 2), -1 for none.
  void StartConstruction(ModeHost& host, Kind kind, int32_t lineStyle = -1);
  // A parent was confirmed (or a number chosen); `ref.index` 0 cancels the command.
  void AcceptParent(ModeHost& host, ObjRef ref);
  // Asks for the first parent slot still empty, expands a macro whose inputs are complete, or
  // finishes the step.
  void AskNext(ModeHost& host);

  void StartNewPoint(ModeHost& host);
  void StartBoundPoint(ModeHost& host, int cls);
  void RepeatLastCommand(ModeHost& host);
  void UndoLast(ModeHost& host);

  const PendingConstruction& Pending() const { return pending_; }
  PendingConstruction& Pending() { return pending_; }
  const PolygonPicking& Polygon() const { return polygon_; }

  // Mode 15's picking: the number dialog closed, a vertex was picked, Esc was pressed.
  void NumberChosen(ModeHost& host, DialogModel& dialog);
  void Cancel(ModeHost& host);

 private:
  void Finish(ModeHost& host, int32_t step);
  void ApplyOutputStyles(Figure& fig, int32_t step) const;
  void ExpandMacro(ModeHost& host);
  void AddVertex(ModeHost& host, int32_t point);
  void AcceptBoundTarget(ModeHost& host, ObjRef ref);
  void EndCommand(ModeHost& host);

  PendingConstruction pending_;
  PolygonPicking polygon_;
};

}  // namespace kv
