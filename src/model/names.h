// Names and descriptions of the figure's objects and steps: the labels derived from the
// parents' names (AB, ∠ABC, d(A, 円O)), the description text of every kind code, the display
// form of an expression and the one-line text of a construction step.
#pragma once

#include <string>
#include <string_view>

#include "lang/translate.h"
#include "model/figure.h"

namespace kv {

// Recomputes the derived label of every step in construction order and stores it as the
// name of the step's output 1. Steps of kinds without a label rule keep their names.
void RelabelAll(Figure& fig, const Translator& tr);

// The description of a kind in the translator's language; empty for a kind without one.
std::string_view KindDescription(Kind kind, const Translator& tr);
std::string_view KindDescription(std::string_view code, const Translator& tr);

// A stored expression as the user sees it: every operand replaced by its number's name, or
// by its value (with a leading space when not negative) when the name is empty.
std::string ExpressionDisplay(const Figure& fig, std::string_view expression);

// The one-line text of step s: its description, then its parents and outputs with their
// class words, names and indices.
std::string StepDescription(const Figure& fig, int32_t s, const Translator& tr);

}  // namespace kv
