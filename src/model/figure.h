// The figure: construction steps and the four object tables (numbers, points, lines, circles)
// with their previous-pass twins. Every record is 1-based; element 0 exists and is never used.
// One Figure object owns all of it; functions take the Figure they work on.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/kind.h"
#include "model/short_text.h"

namespace kv {

// Booleans stored in records and files: true = -1, false = 0; any nonzero value counts as true.
constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;

enum ObjClass : int32_t { kClassNumber = 0, kClassPoint = 1, kClassLine = 2, kClassCircle = 3 };
constexpr int32_t kLastObjectClass = kClassCircle;
// `classCount` has entries 0..10; only the four object classes use theirs.
constexpr int kClassCountEntries = 11;

// Parent classes that mark a pending step still waiting for a number or a macro expansion.
constexpr int32_t kPendingNumberClass = 100;
constexpr int32_t kPendingMacroClass = 200;

// Indices and counts are 32-bit so that figures may grow past 32767 objects.
struct ObjRef {
  int32_t cls = 0;
  int32_t index = 0;
  bool IsEmpty() const { return cls == 0 && index == 0; }
  friend bool operator==(const ObjRef&, const ObjRef&) = default;
};

constexpr int kNameWidth = 10;
constexpr int kNumberNameWidth = 40;
constexpr int kExpressionWidth = 70;
constexpr int kDefaultColour = 7;

// `free` of a point: a free point that may be dragged, a constructed point (the output of a
// computing step), or a free point that may not be dragged.
enum PointFreedom : int32_t { kPointMovable = -1, kPointConstructed = 0, kPointLocked = 1 };

// `lineType`, how a line is shown: the straight line, the segment from the first to the second
// point, the half-line from the first point through the second, the half-line from the second
// point away from the first, and arrowed segments and half-lines.
enum LineType : int32_t {
  kLineStraight = 0,
  kLineSegment = 1,
  kLineHalf = 2,
  kLineHalfReversed = 3,
  kLineSegmentArrowFirst = 4,   // "線分←": the arrowhead at the first point
  kLineSegmentArrowSecond = 5,  // "線分→"
  kLineSegmentArrowBoth = 6,
  kLineHalfArrow = 7,  // a half-line with an arrowhead at its first point
};
constexpr int32_t kLastLineType = kLineHalfArrow;

// `hidden` of a number: shown in the number list on the canvas, or hidden from it.
constexpr int32_t kNumberShown = 0;
constexpr int32_t kNumberHidden = 7;

struct PointRec {
  double x = 0, y = 0;
  int32_t colour = kDefaultColour;
  int32_t locusColour = 0;
  int32_t valid = 0;
  int32_t marker = 0;
  int32_t free = kPointConstructed;  // PointFreedom
  int32_t boundClass = 0;            // 0 none, 1 point, 2 line, 3 circle
  int32_t boundIndex = 0;
  double boundParam = 0;
  ShortText name;
};

struct LineRec {
  double x1 = 0, y1 = 0;
  double x2 = 0, y2 = 0;
  int32_t valid = 0;
  int32_t lineType = kLineStraight;
  double dx = 0, dy = 0;  // unit direction after every successful recompute
  int32_t colour = kDefaultColour;
  int32_t locusColour = 0;
  ShortText name;
  int32_t byTwoPoints = 0;  // derived by RefreshLineEnds
  int32_t endA = 0, endB = 0;
};

struct CircleRec {
  double cx = 0, cy = 0;
  double radius = 0;
  int32_t valid = 0;
  int32_t colour = kDefaultColour;
  int32_t locusColour = 0;
  ShortText name;
};

// Figures can hold very many numbers, so the record is kept small (32 bytes): the integers
// side by side and the two texts in eight bytes each.
struct NumberRec {
  double value = 0;
  int32_t valid = 0;
  // Small flags in 16 bits, as the files have always held them (a file's larger value is
  // saturated on reading).
  int16_t independent = 0;        // -1 independent variable
  int16_t hidden = kNumberShown;  // or kNumberHidden
  ShortText name;
  // CALC numbers only. Set before the step that computes the number is set: the passes read
  // it once when the steps change.
  ShortText expression;
};
static_assert(sizeof(NumberRec) == 32);

// The mark of a measured angle A V B: p1 the vertex V, p2 the point A on the first arm (only
// x, y and valid are set), angle the measured value in degrees, d1 the direction of A seen
// from V and d2 = d1 + the angle, both in radians (not exchanged or reduced).
struct AngleMarkRec {
  PointRec p1, p2;
  NumberRec angle;
  double d1 = 0, d2 = 0;
};

// Callbacks the geometry needs from its surroundings. All have silent defaults, so a
// figure computes without any of them (tests, kvtool).
class RecomputeHooks {
 public:
  virtual ~RecomputeHooks() = default;
  // A bound point was clamped to the end of its segment or half-line.
  virtual void Beep() {}
  // A message box with an OK button ("Error in Angle").
  virtual void Message(std::string_view /*text*/) {}
  // Whether the matrix maps should show their matrices (a display preference of the window).
  virtual bool ShowsMatrices() const { return false; }
  // A matrix map shows its matrix (rows x cols, row order) once per recompute, when asked to.
  virtual void InspectMatrix(Kind /*kind*/, int /*step*/, int /*rows*/, int /*cols*/,
                             const double* /*entries*/) {}
};

constexpr int kInitialCapacity = 50;

// What the dependency analysis says of a step (`stepState`). Any other value is the marker of
// the oldest step the step waits for, a negated step number.
enum StepState : int32_t {
  kStepNoParents = -1,  // computed on every pass
  kStepUndefined = 0,   // a parent is undefined: the outputs are too
  kStepSkipped = 2,     // every parent carries this marker: the passes leave the step alone
};

// The scratch of the recompute pass: what the dependency analysis decided and what the
// dispatcher tells the kind routines about the step being computed. Not part of the document:
// nothing here is saved, and every field can be rebuilt from the steps and records.
struct PassScratch {
  int32_t passCount = 0;
  bool lastPass = false;
  Kind currentKind = Kind::kNone;  // set only during the last pass
  int32_t currentStep = 0;
  std::array<int32_t, 6> curOutputs{};
  std::vector<int32_t> stepState;
  // Per step, set by the analysis: 1 when the slots name objects of the right classes inside
  // their tables and the step does not read its own output. Any other step only has its
  // outputs made undefined. A change of a step drops the entries from that step on.
  std::vector<uint8_t> stepRunnable;
  // The analysis is kept while the steps, the bindings and the validity it started from stay
  // as they were: then it is replayed (its markers put back) instead of run again.
  bool kept = false;
  // The validity of every object at the analysis' start and end, numbers, points, lines and
  // circles in turn. Numbers and points start reset, 0 or -1, so their start takes a byte
  // (1 stands for any other value, which no reset record has); lines and circles take four.
  std::vector<int8_t> startFlags;
  std::vector<int32_t> startValid, endValid;
  std::vector<int32_t> bindings;     // free, boundClass, boundIndex of every point
  std::vector<int32_t> boundPoints;  // free points bound to a point, line or circle
  // The programs of the expression steps (CompileExpression), made with the slot checks:
  // step s's program starts at expressionCode[expressionAt[s]].
  std::vector<int32_t> expressionCode;
  std::vector<int32_t> expressionAt;
  int64_t analysisCount = 0;  // how many analyses ran (a test hook)
  // What the pass reports to (beeps, messages, matrices); not owned, may be null. It belongs
  // to the figure's surroundings, so a new figure or a loaded file keeps it.
  RecomputeHooks* hooks = nullptr;
};

// One construction step: its parsed kind, the swap flag of the two-solution intersections, and
// parent and output slots 1..5 (slot 0 exists and is never used).
struct StepRec {
  Kind kind = Kind::kNone;
  int32_t swap = kFalse;
  std::array<ObjRef, 6> parents{};
  std::array<ObjRef, 6> outputs{};
};

class Figure {
 public:
  explicit Figure(int capacity = kInitialCapacity) { NewFigure(capacity); }

  // Object tables. Records are materialised as objects are allocated, so the vectors hold what
  // the figure holds plus a little headroom; UpperBound() gives the documented bound.
  // prevNumbers stays empty: nothing reads the previous values of numbers.
  std::vector<NumberRec> numbers, prevNumbers;
  std::vector<PointRec> points, prevPoints;
  std::vector<LineRec> lines, prevLines;
  std::vector<CircleRec> circles, prevCircles;
  std::array<int32_t, kClassCountEntries> classCount{};

  // Angle marks appended by the angle measurements during a full recompute.
  std::vector<AngleMarkRec> angleMarks;  // 1-based
  int32_t angleMarkCount = 0;
  bool angleMarksOn = true;

  PassScratch pass;

  int32_t figureCapacity = kInitialCapacity;

  // --- Creation and growth ---
  void NewFigure(int capacity = kInitialCapacity);
  void ResetAllRecords();
  // Makes room for one more object of class c and returns its index.
  int32_t AllocObject(int cls);
  // Makes room for one more step and returns its number; the caller fills it through the
  // step setters.
  int32_t AppendStep();
  // Appends a step with its kind code, parents and outputs already known.
  int32_t AppendStep(std::string_view kindCode, std::initializer_list<ObjRef> parents,
                     std::initializer_list<ObjRef> outputs);
  // Makes room for `count` more steps at once (a file being read or merged), so that the step
  // table is allocated once at its size instead of growing a quarter at a time.
  void ReserveSteps(int32_t count);
  void RemoveLastStep();
  void ResetObject(ObjRef ref);
  void SetObjectName(ObjRef ref, std::string_view text);
  void SetOutputsValid(int32_t step, int32_t v);
  void SnapshotPrevious();
  void SnapshotPrevious(ObjRef ref);  // one object (the dragged ones and their dependents)
  void RefreshLineEnds();

  // --- Steps: read through accessors, changed only through the setters, which drop the
  // analysis from the changed step on. Steps outside 1..StepCount() read as empty. ---
  int32_t StepCount() const { return stepCount_; }
  // Sets a step's kind code text and its parsed kind together.
  void SetStepKind(int32_t step, std::string_view code);
  // Sets parent or output slot k (1..5) of a step.
  void SetStepParent(int32_t step, int k, ObjRef ref);
  void SetStepOutput(int32_t step, int k, ObjRef ref);
  // The swap flag of a two-solution intersection (not part of the structure).
  void SetStepSwap(int32_t step, int32_t swap) {
    if (HasStep(step)) steps_[step].swap = swap;
  }
  Kind KindOf(int32_t step) const { return HasStep(step) ? steps_[step].kind : Kind::kNone; }
  // The trimmed kind code of a step, as files and reports see it.
  std::string_view KindCode(int32_t step) const;
  ObjRef Parent(int32_t step, int k) const {
    return HasStep(step) ? steps_[step].parents[k] : ObjRef{};
  }
  ObjRef Output(int32_t step, int k) const {
    return HasStep(step) ? steps_[step].outputs[k] : ObjRef{};
  }
  const std::array<ObjRef, 6>& Parents(int32_t step) const { return Step(step).parents; }
  const std::array<ObjRef, 6>& Outputs(int32_t step) const { return Step(step).outputs; }
  int32_t StepSwap(int32_t step) const { return HasStep(step) ? steps_[step].swap : kFalse; }
  const StepRec& Step(int32_t step) const { return HasStep(step) ? steps_[step] : kEmptyStep; }
  // Steps 0..StepCount() without a range check, for the passes, which visit only those.
  const StepRec* StepData() const { return steps_.data(); }
  // Bound of the kind-code table, which grows one step at a time (UpperBound(-1) is the bound
  // of the slot tables, which grow ten at a time).
  int32_t StepKindBound() const { return kindBound_; }

  // --- Accessors by ObjRef ---
  // Upper bound of the table of class c (0..3), or of the step tables (c = -1).
  int32_t UpperBound(int cls) const;
  bool InTable(ObjRef ref) const;      // a record of class 0..3 that the tables hold
  int32_t GetValid(ObjRef ref) const;  // 0 for references outside the tables
  void SetValid(ObjRef ref, int32_t v);
  std::string_view GetName(ObjRef ref) const;

  void Beep() {
    if (pass.hooks) pass.hooks->Beep();
  }

 private:
  static const StepRec kEmptyStep;
  bool HasStep(int32_t step) const { return step >= 1 && step <= stepCount_; }
  void DropAnalysisFrom(int32_t step);
  // Materialises records of class cls up to index `upTo` (names by the fresh-table rule inside
  // the documented bound, empty beyond it).
  void EnsureRecords(int cls, int32_t upTo);
  // Makes the record of ref exist when it lies inside its table's documented bound.
  bool Materialise(ObjRef ref);

  std::vector<StepRec> steps_;  // 0..stepCount_
  // Codes of steps whose kind is not in the catalogue, kept as read so that files keep them.
  std::unordered_map<int32_t, std::string> unknownCodes_;
  int32_t stepCount_ = 0;
  int32_t stepBound_ = 0;                 // documented bound of the slot tables
  int32_t kindBound_ = 0;                 // documented bound of the kind-code table
  std::array<int32_t, 4> objectBound_{};  // documented bound of each object table
  int32_t freshBound_ = 0;                // records up to here carry the names of a fresh table
};

// True when step s reads one of its own outputs: a parent slot that is also an output slot,
// or an expression that names its own number. Such a step can never settle (each recompute
// would feed it its last result), so it stays undefined and keeps its name.
bool StepReadsOwnOutput(const Figure& fig, int32_t s);

// Copies a record's geometry and attributes, leaving its texts (name, expression).
inline void CopyWithoutTexts(const PointRec& from, PointRec& to) {
  to.x = from.x, to.y = from.y;
  to.colour = from.colour, to.locusColour = from.locusColour, to.valid = from.valid;
  to.marker = from.marker, to.free = from.free;
  to.boundClass = from.boundClass, to.boundIndex = from.boundIndex;
  to.boundParam = from.boundParam;
}

inline void CopyWithoutTexts(const LineRec& from, LineRec& to) {
  to.x1 = from.x1, to.y1 = from.y1, to.x2 = from.x2, to.y2 = from.y2;
  to.valid = from.valid, to.lineType = from.lineType;
  to.dx = from.dx, to.dy = from.dy;
  to.colour = from.colour, to.locusColour = from.locusColour;
  to.byTwoPoints = from.byTwoPoints, to.endA = from.endA, to.endB = from.endB;
}

inline void CopyWithoutTexts(const CircleRec& from, CircleRec& to) {
  to.cx = from.cx, to.cy = from.cy, to.radius = from.radius, to.valid = from.valid;
  to.colour = from.colour, to.locusColour = from.locusColour;
}

inline void CopyWithoutTexts(const NumberRec& from, NumberRec& to) {
  to.value = from.value, to.valid = from.valid;
  to.independent = from.independent, to.hidden = from.hidden;
}

// Default name of a point slot when a fresh table is set up (A..Z, then digits).
std::string DefaultTableName(int cls, int32_t index);
// Default name of a slot cleared by ResetObject (points 1..52 by character code).
std::string DefaultResetName(int cls, int32_t index);
// Trims spaces on both sides.
std::string_view TrimSpaces(std::string_view text);
// Cuts a UTF-8 text to at most `width` characters.
std::string CutToWidth(std::string_view text, int width);

}  // namespace kv
