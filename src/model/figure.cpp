// Creation, growth and bookkeeping of the figure tables.
#include "model/figure.h"

#include <algorithm>
#include <type_traits>

namespace kv {

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string CutToWidth(std::string_view text, int width) {
  size_t pos = 0;
  int chars = 0;
  while (pos < text.size() && chars < width) {
    unsigned char lead = static_cast<unsigned char>(text[pos]);
    size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    pos = std::min(text.size(), pos + len);
    ++chars;
  }
  return std::string(text.substr(0, pos));
}

std::string DefaultTableName(int cls, int32_t index) {
  if (cls == kClassNumber) return {};
  if (cls == kClassPoint && index >= 1 && index <= 26) return std::string(1, char(64 + index));
  return std::to_string(index);
}

std::string DefaultResetName(int cls, int32_t index) {
  if (cls == kClassNumber) return {};
  if (cls == kClassPoint && index >= 1 && index <= 52) return std::string(1, char(64 + index));
  return std::to_string(index);
}

namespace {

template <typename Rec>
void ResetTable(std::vector<Rec>& table, int cls) {
  for (size_t i = 0; i < table.size(); ++i) {
    table[i] = Rec{};
    table[i].name = DefaultTableName(cls, static_cast<int32_t>(i));
  }
}

// Calls f with the table of class cls (0 to 3) and its previous-pass twin; every class-wise
// operation goes through here so that the four tables are handled alike.
template <typename Fig, typename F>
decltype(auto) WithTables(Fig& fig, int cls, F&& f) {
  switch (cls) {
    case kClassNumber:
      return f(fig.numbers, fig.prevNumbers);
    case kClassPoint:
      return f(fig.points, fig.prevPoints);
    case kClassLine:
      return f(fig.lines, fig.prevLines);
    default:
      return f(fig.circles, fig.prevCircles);
  }
}

template <typename Rec>
void GrowTable(std::vector<Rec>& table, size_t by) {
  table.resize(table.size() + by);  // new records are default records with empty names
}

}  // namespace

void Figure::NewFigure(int capacity) {
  figureCapacity = capacity;
  const size_t objects = static_cast<size_t>(capacity) + 1;
  const size_t steps = 2 * static_cast<size_t>(capacity) + 1;
  stepKind.assign(steps, std::string());
  stepKindId.assign(steps, Kind::kNone);
  stepParents.assign(steps, {});
  stepOutputs.assign(steps, {});
  stepState.assign(steps, 0);
  curOutputsTable.assign(steps, 0);
  stepSwap.assign(steps, kFalse);
  numbers.assign(objects, {});
  prevNumbers.assign(objects, {});
  points.assign(objects, {});
  prevPoints.assign(objects, {});
  lines.assign(objects, {});
  prevLines.assign(objects, {});
  circles.assign(objects, {});
  prevCircles.assign(objects, {});
  classCount.fill(0);
  angleMarks.assign(objects, {});
  angleMarksOn = true;
  passCount = 0;
  lastPass = false;
  currentKind = Kind::kNone;
  currentStep = 0;
  curOutputs.fill(0);
  stepSlotsOk.clear();
  ResetAllRecords();
}

void Figure::ResetAllRecords() {
  stepCount = 0;
  ResetTable(numbers, kClassNumber);
  ResetTable(prevNumbers, kClassNumber);
  ResetTable(points, kClassPoint);
  ResetTable(prevPoints, kClassPoint);
  ResetTable(lines, kClassLine);
  ResetTable(prevLines, kClassLine);
  ResetTable(circles, kClassCircle);
  ResetTable(prevCircles, kClassCircle);
  angleMarkCount = 0;
}

int32_t Figure::UpperBound(int cls) const {
  if (cls < kClassNumber || cls > kClassCircle) return static_cast<int32_t>(stepParents.size()) - 1;
  return WithTables(*this, cls, [](const auto& table, const auto&) {
    return static_cast<int32_t>(table.size()) - 1;
  });
}

int32_t Figure::AllocObject(int cls) {
  if (UpperBound(cls) == classCount[cls]) {
    WithTables(*this, cls, [](auto& table, auto& previous) {
      constexpr size_t kGrowth = 10;
      GrowTable(table, kGrowth);
      GrowTable(previous, kGrowth);
    });
  }
  return ++classCount[cls];
}

int32_t Figure::AppendStep() {
  if (static_cast<int32_t>(stepKind.size()) - 1 == stepCount) {
    stepKind.emplace_back();
    stepKindId.push_back(Kind::kNone);
  }
  if (static_cast<int32_t>(stepParents.size()) - 1 == stepCount) {
    constexpr size_t kGrowth = 10;
    const size_t size = stepParents.size() + kGrowth;
    stepParents.resize(size);
    stepOutputs.resize(size);
    stepState.resize(size, 0);
    curOutputsTable.resize(size, 0);
    stepSwap.resize(size, kFalse);
  }
  return ++stepCount;
}

int32_t Figure::AppendStep(std::string_view kindCode, std::initializer_list<ObjRef> parents,
                           std::initializer_list<ObjRef> outputs) {
  const int32_t s = AppendStep();
  SetStepKind(s, kindCode);
  stepParents[s] = {};
  stepOutputs[s] = {};
  int k = 1;
  for (const ObjRef& p : parents)
    if (k <= 5) stepParents[s][k++] = p;
  k = 1;
  for (const ObjRef& o : outputs)
    if (k <= 5) stepOutputs[s][k++] = o;
  return s;
}

void Figure::RemoveLastStep() {
  if (stepCount <= 0) return;
  const int32_t s = stepCount;
  for (int k = 1; k <= 5; ++k) stepParents[s][k] = {};
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = stepOutputs[s][k];
    if (out.index != 0 && out.cls >= 0 && out.cls <= 3) {
      if (InTable(out)) ResetObject(out);
      if (classCount[out.cls] > 0) --classCount[out.cls];
    }
    stepOutputs[s][k] = {};
  }
  SetStepKind(s, "");
  --stepCount;
}

void Figure::ResetObject(ObjRef ref) {
  if (!InTable(ref)) return;
  WithTables(*this, ref.cls, [&](auto& table, auto&) {
    auto& rec = table[ref.index];
    rec = std::remove_reference_t<decltype(rec)>{};
    rec.name = DefaultResetName(ref.cls, ref.index);
  });
}

void Figure::SetObjectName(ObjRef ref, std::string_view text) {
  if (!InTable(ref)) return;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const int width = ref.cls == kClassNumber ? kNumberNameWidth : kNameWidth;
  std::string name = CutToWidth(text, width);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  WithTables(*this, ref.cls, [&](auto& table, auto&) { table[ref.index].name = std::move(name); });
}

void Figure::SetOutputsValid(int32_t step, int32_t v) {
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = stepOutputs[step][k];
    if (out.IsEmpty()) return;
    SetValid(out, v);
  }
}

void Figure::SnapshotPrevious() {
  std::copy_n(numbers.begin() + 1, classCount[kClassNumber], prevNumbers.begin() + 1);
  std::copy_n(points.begin() + 1, classCount[kClassPoint], prevPoints.begin() + 1);
  std::copy_n(lines.begin() + 1, classCount[kClassLine], prevLines.begin() + 1);
  std::copy_n(circles.begin() + 1, classCount[kClassCircle], prevCircles.begin() + 1);
}

void Figure::RefreshLineEnds() {
  for (int32_t i = 1; i <= classCount[kClassLine]; ++i) lines[i].byTwoPoints = kFalse;
  for (int32_t s = 1; s <= stepCount; ++s) {
    if (stepKindId[s] != Kind::kL1) continue;
    const ObjRef out = stepOutputs[s][1];
    if (out.cls != kClassLine || !InTable(out)) continue;
    LineRec& line = lines[out.index];
    line.byTwoPoints = kTrue;
    line.endA = stepParents[s][1].index;
    line.endB = stepParents[s][2].index;
  }
}

void Figure::SetStepKind(int32_t step, std::string_view code) {
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  stepKind[step] = std::string(code);
  stepKindId[step] = ParseKind(code);
  if (stepSlotsOk.size() > static_cast<size_t>(step)) stepSlotsOk.resize(step);
}

void Figure::SetStepParent(int32_t step, int k, ObjRef ref) {
  stepParents[step][k] = ref;
  if (stepSlotsOk.size() > static_cast<size_t>(step)) stepSlotsOk.resize(step);
}

void Figure::SetStepOutput(int32_t step, int k, ObjRef ref) {
  stepOutputs[step][k] = ref;
  if (stepSlotsOk.size() > static_cast<size_t>(step)) stepSlotsOk.resize(step);
}

std::string_view Figure::KindCode(int32_t step) const { return stepKind[step]; }

bool Figure::InTable(ObjRef ref) const {
  return ref.cls >= 0 && ref.cls <= 3 && ref.index >= 1 && ref.index <= UpperBound(ref.cls);
}

int32_t Figure::GetValid(ObjRef ref) const {
  if (!InTable(ref)) return 0;
  return WithTables(*this, ref.cls,
                    [&](const auto& table, const auto&) { return table[ref.index].valid; });
}

void Figure::SetValid(ObjRef ref, int32_t v) {
  if (!InTable(ref)) return;
  WithTables(*this, ref.cls, [&](auto& table, auto&) { table[ref.index].valid = v; });
}

std::string_view Figure::GetName(ObjRef ref) const {
  if (!InTable(ref)) return {};
  return WithTables(*this, ref.cls, [&](const auto& table, const auto&) {
    return TrimSpaces(table[ref.index].name);
  });
}

}  // namespace kv
