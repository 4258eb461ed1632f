// The recompute pass: dependency analysis, passes over the steps in construction order, and
// the bound points put back on their targets after each pass.
#pragma once

#include <span>

#include "model/figure.h"

namespace kv {

// Caps for a damaged figure whose steps read later steps in long chains: the sweeps of the
// analysis and the passes stop here, and whatever has not settled stays undefined. Figures
// built by the commands need two or three.
constexpr int32_t kMaxAnalysisSweeps = 16;
constexpr int32_t kMaxPasses = 16;

// Full recompute without drawing: analysis, passes, snapshot, line ends.
void RecomputeAll(Figure& fig);
// `moving` lists the objects being dragged (may be empty).
void AnalyseDependencies(Figure& fig, std::span<const ObjRef> moving = {});
int32_t StepStatus(const Figure& fig, int32_t s);
// Runs the analysis first when the steps changed since the last one.
void RunPasses(Figure& fig);
// True while the last analysis still describes the steps.
bool AnalysisCurrent(const Figure& fig);
void RecomputeStep(Figure& fig, int32_t s);
// Computes step s (its record `step`) whose slots the analysis found sound: the passes call
// this for every runnable step they do not skip.
void RunCheckedStep(Figure& fig, int32_t s, const StepRec& step);
// Computes such a step through its family's routine, which every kind has; RunCheckedStep
// takes the common kinds directly and gives the same records.
void RunThroughFamily(Figure& fig, int32_t s);
// A step as a drag reads it on every movement: its kind, whether the analysis found its slots
// sound, and the table indices of parents 1..4 and outputs 1..2 (0 for an empty output), so
// that each step is one small record.
struct PassOp {
  int32_t step = 0;
  Kind kind = Kind::kNone;
  bool runnable = false;  // false: the step only makes its outputs undefined
  int32_t in[4] = {};
  int32_t out[2] = {};
};
PassOp MakePassOp(const Figure& fig, int32_t s);
// Computes the step of `op` as the passes do (RunCheckedStep, or its outputs made undefined).
void RunPassOp(Figure& fig, const PassOp& op);
// The recompute of the automatic deformation run: passes only, nothing drawn.
void RecomputeQuiet(Figure& fig);

// True when the parent and output slots of step s hold objects of the classes the template
// letters name ('N', 'P', 'L', 'C', 'X' = line or circle) and lie inside their tables.
// Output slots from `requiredOutputs` on may be empty; an empty one ends the outputs.
bool StepSlotsValid(const Figure& fig, int32_t s, std::string_view parents,
                    std::string_view outputs, int requiredOutputs = 5);

}  // namespace kv
