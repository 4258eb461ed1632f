#include "construct/undo.h"

#include <algorithm>
#include <vector>

#include "construct/macros.h"

namespace kv {
namespace {

// The numbers a macro made for its expanded steps (counts, ratios, angles) are parents, not
// outputs, of those steps; they sit at the end of the number table. Returning them goes
// through a step that owns them, since removing the last step is what gives objects back.
void RemoveTrailingNumbers(Figure& fig, std::vector<int32_t>& made) {
  std::sort(made.begin(), made.end());
  made.erase(std::unique(made.begin(), made.end()), made.end());
  while (!made.empty() && made.back() == fig.classCount[kClassNumber] && made.back() > 0) {
    const int32_t s = fig.AppendStep();
    for (int k = 1; k <= 5; ++k) {
      fig.SetStepParent(s, k, {});
      fig.SetStepOutput(s, k, {});
    }
    int k = 1;
    while (k <= 5 && !made.empty() && made.back() == fig.classCount[kClassNumber] - (k - 1)) {
      fig.SetStepOutput(s, k++, {kClassNumber, made.back()});
      made.pop_back();
    }
    fig.RemoveLastStep();
  }
}

void CollectNumberParents(const Figure& fig, int32_t s, std::vector<int32_t>& made) {
  for (int k = 1; k <= 5; ++k) {
    const ObjRef p = fig.Parent(s, k);
    if (p.cls == kClassNumber && p.index > 0) made.push_back(p.index);
  }
}

}  // namespace

bool UndoLast(Figure& fig) {
  if (fig.StepCount() < 1) return false;
  const Kind last = fig.KindOf(fig.StepCount());
  if (!IsMacroKind(last)) {
    fig.RemoveLastStep();
    return true;
  }
  // The last step closes a group: remove back to the step with the same code that opened it.
  // A group cut short (a damaged file) stops at the first step.
  const std::string code(TrimSpaces(fig.KindCode(fig.StepCount())));
  std::vector<int32_t> made;
  fig.RemoveLastStep();
  while (fig.StepCount() >= 1) {
    if (TrimSpaces(fig.KindCode(fig.StepCount())) == code) {
      fig.RemoveLastStep();
      break;
    }
    if (fig.StepCount() == 1) break;
    CollectNumberParents(fig, fig.StepCount(), made);
    fig.RemoveLastStep();
  }
  RemoveTrailingNumbers(fig, made);
  return true;
}

}  // namespace kv
