// The expression numbers (CALC): a flat sequence of operands N<index> and the operators
// + - * / ^, evaluated by repeated rewriting of a working form x1+x2*x3.
#pragma once

#include <string>

#include "model/figure.h"

namespace kv {

constexpr int kOperandTableSize = 51;  // entries 0..50

// Evaluates the expression of output 1 of CALC step s into that number.
void EvaluateCalcStep(Figure& fig, int32_t s);

}  // namespace kv
