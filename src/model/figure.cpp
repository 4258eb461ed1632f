// Creation, growth and bookkeeping of the figure tables.
#include "model/figure.h"

#include <algorithm>
#include <type_traits>

#include "model/expression_text.h"

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

// Grows a table's capacity by a quarter when it is full instead of doubling it, so that a large
// figure holds at most a quarter more records than it uses; the copies stay amortised.
template <typename T>
void ReserveForOneMore(std::vector<T>& table, size_t size) {
  if (size <= table.capacity()) return;
  table.reserve(std::max(size, table.capacity() + table.capacity() / 4 + 16));
}

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

}  // namespace

const StepRec Figure::kEmptyStep{};

void Figure::NewFigure(int capacity) {
  figureCapacity = capacity;
  freshBound_ = capacity;
  objectBound_.fill(capacity);
  stepBound_ = 2 * capacity;
  kindBound_ = 2 * capacity;
  steps_.assign(1, StepRec{});
  steps_.shrink_to_fit();
  unknownCodes_.clear();
  // A large capacity (a file being read) only sets the documented bounds; records are made
  // as the objects arrive, so memory follows what the figure holds.
  const size_t objects = static_cast<size_t>(std::min(capacity, kInitialCapacity)) + 1;
  for (int cls = kClassNumber; cls <= kClassCircle; ++cls)
    WithTables(*this, cls, [&](auto& table, auto& previous) {
      table.assign(objects, {});
      table.shrink_to_fit();
      previous.assign(objects, {});
      previous.shrink_to_fit();
    });
  classCount.fill(0);
  angleMarks.assign(1, {});
  angleMarks.shrink_to_fit();
  angleMarksOn = true;
  const int64_t analyses = pass.analysisCount;
  RecomputeHooks* hooks = pass.hooks;
  pass = PassScratch{};
  pass.analysisCount = analyses;
  pass.hooks = hooks;
  ResetAllRecords();
}

void Figure::ResetAllRecords() {
  stepCount_ = 0;
  steps_.resize(1);
  unknownCodes_.clear();
  for (int cls = kClassNumber; cls <= kClassCircle; ++cls)
    freshBound_ = std::max(freshBound_, UpperBound(cls));
  ResetTable(numbers, kClassNumber);
  ResetTable(prevNumbers, kClassNumber);
  ResetTable(points, kClassPoint);
  ResetTable(prevPoints, kClassPoint);
  ResetTable(lines, kClassLine);
  ResetTable(prevLines, kClassLine);
  ResetTable(circles, kClassCircle);
  ResetTable(prevCircles, kClassCircle);
  angleMarkCount = 0;
  DropAnalysisFrom(0);
}

int32_t Figure::UpperBound(int cls) const {
  if (cls < kClassNumber || cls > kClassCircle) return stepBound_;
  const int32_t held = WithTables(*this, cls, [](const auto& table, const auto&) {
    return static_cast<int32_t>(table.size()) - 1;
  });
  return std::max(objectBound_[cls], held);
}

void Figure::EnsureRecords(int cls, int32_t upTo) {
  WithTables(*this, cls, [&](auto& table, auto& previous) {
    const size_t from = table.size();
    if (static_cast<size_t>(upTo) < from) return;
    ReserveForOneMore(table, static_cast<size_t>(upTo) + 1);
    ReserveForOneMore(previous, static_cast<size_t>(upTo) + 1);
    table.resize(static_cast<size_t>(upTo) + 1);
    previous.resize(static_cast<size_t>(upTo) + 1);
    for (size_t i = from; i < table.size() && i <= static_cast<size_t>(freshBound_); ++i) {
      table[i].name = DefaultTableName(cls, static_cast<int32_t>(i));
      previous[i].name = table[i].name;
    }
  });
}

int32_t Figure::AllocObject(int cls) {
  if (UpperBound(cls) == classCount[cls]) {
    // A full table grows by 10; the new records get empty names.
    constexpr int32_t kGrowth = 10;
    objectBound_[cls] = classCount[cls] + kGrowth;
    EnsureRecords(cls, objectBound_[cls]);
  } else {
    EnsureRecords(cls, classCount[cls] + 1);
  }
  return ++classCount[cls];
}

int32_t Figure::AppendStep() {
  if (kindBound_ == stepCount_) ++kindBound_;
  if (stepBound_ == stepCount_) stepBound_ += 10;
  ReserveForOneMore(steps_, steps_.size() + 1);
  steps_.emplace_back();
  ++stepCount_;
  DropAnalysisFrom(stepCount_);
  return stepCount_;
}

int32_t Figure::AppendStep(std::string_view kindCode, std::initializer_list<ObjRef> parents,
                           std::initializer_list<ObjRef> outputs) {
  const int32_t s = AppendStep();
  SetStepKind(s, kindCode);
  int k = 1;
  for (const ObjRef& p : parents)
    if (k <= 5) steps_[s].parents[k++] = p;
  k = 1;
  for (const ObjRef& o : outputs)
    if (k <= 5) steps_[s].outputs[k++] = o;
  return s;
}

void Figure::RemoveLastStep() {
  if (stepCount_ <= 0) return;
  const int32_t s = stepCount_;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = steps_[s].outputs[k];
    if (out.index != 0 && out.cls >= kClassNumber && out.cls <= kLastObjectClass) {
      if (InTable(out)) ResetObject(out);
      if (classCount[out.cls] > 0) --classCount[out.cls];
    }
  }
  SetStepKind(s, "");
  steps_.pop_back();
  --stepCount_;
  DropAnalysisFrom(s);
}

bool Figure::Materialise(ObjRef ref) {
  if (ref.cls < kClassNumber || ref.cls > kClassCircle || ref.index < 1) return false;
  if (ref.index > UpperBound(ref.cls)) return false;
  EnsureRecords(ref.cls, ref.index);
  return true;
}

void Figure::ResetObject(ObjRef ref) {
  if (!Materialise(ref)) return;
  WithTables(*this, ref.cls, [&](auto& table, auto&) {
    auto& rec = table[ref.index];
    rec = std::remove_reference_t<decltype(rec)>{};
    rec.name = DefaultResetName(ref.cls, ref.index);
  });
}

void Figure::SetObjectName(ObjRef ref, std::string_view text) {
  if (!Materialise(ref)) return;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const int width = ref.cls == kClassNumber ? kNumberNameWidth : kNameWidth;
  std::string name = CutToWidth(text, width);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  WithTables(*this, ref.cls, [&](auto& table, auto&) { table[ref.index].name = std::move(name); });
}

void Figure::SetOutputsValid(int32_t step, int32_t v) {
  if (!HasStep(step)) return;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = steps_[step].outputs[k];
    if (out.IsEmpty()) return;
    SetValid(out, v);
  }
}

void Figure::SnapshotPrevious() {
  // Geometry and attributes only: the previous-pass tables are read for positions (erasing,
  // loci, the keep-order rule), never for names, and copying texts would cost more than all
  // the rest.
  for (int cls = kClassNumber; cls <= kClassCircle; ++cls)
    WithTables(*this, cls, [&](const auto& table, auto& previous) {
      if (previous.size() < table.size()) previous.resize(table.size());
      for (int32_t i = 1; i <= classCount[cls]; ++i) CopyWithoutTexts(table[i], previous[i]);
    });
}

void Figure::SnapshotPrevious(ObjRef ref) {
  if (!InTable(ref)) return;
  WithTables(*this, ref.cls, [&](const auto& table, auto& previous) {
    if (previous.size() < table.size()) previous.resize(table.size());
    CopyWithoutTexts(table[ref.index], previous[ref.index]);
  });
}

void Figure::RefreshLineEnds() {
  for (int32_t i = 1; i <= classCount[kClassLine]; ++i) lines[i].byTwoPoints = kFalse;
  for (int32_t s = 1; s <= stepCount_; ++s) {
    if (steps_[s].kind != Kind::kL1) continue;
    const ObjRef out = steps_[s].outputs[1];
    if (out.cls != kClassLine || !InTable(out)) continue;
    LineRec& line = lines[out.index];
    line.byTwoPoints = kTrue;
    line.endA = steps_[s].parents[1].index;
    line.endB = steps_[s].parents[2].index;
  }
}

void Figure::DropAnalysisFrom(int32_t step) {
  if (step < 0) step = 0;
  if (pass.stepRunnable.size() > static_cast<size_t>(step)) pass.stepRunnable.resize(step);
  if (pass.expressionAt.size() > static_cast<size_t>(step)) {
    pass.expressionCode.resize(static_cast<size_t>(pass.expressionAt[step]));
    pass.expressionAt.resize(step);
  }
  pass.kept = false;
}

void Figure::SetStepKind(int32_t step, std::string_view code) {
  if (!HasStep(step)) return;
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  const Kind kind = ParseKind(code);
  steps_[step].kind = kind;
  if (kind == Kind::kUnknown)
    unknownCodes_[step] = std::string(code);
  else if (!unknownCodes_.empty())
    unknownCodes_.erase(step);
  DropAnalysisFrom(step);
}

void Figure::SetStepParent(int32_t step, int k, ObjRef ref) {
  if (!HasStep(step) || k < 1 || k > 5) return;
  steps_[step].parents[k] = ref;
  DropAnalysisFrom(step);
}

void Figure::SetStepOutput(int32_t step, int k, ObjRef ref) {
  if (!HasStep(step) || k < 1 || k > 5) return;
  steps_[step].outputs[k] = ref;
  DropAnalysisFrom(step);
}

std::string_view Figure::KindCode(int32_t step) const {
  const Kind kind = KindOf(step);
  if (kind != Kind::kUnknown) return CodeOf(kind);
  const auto found = unknownCodes_.find(step);
  return found == unknownCodes_.end() ? std::string_view() : std::string_view(found->second);
}

bool Figure::InTable(ObjRef ref) const {
  if (ref.cls < kClassNumber || ref.cls > kClassCircle || ref.index < 1) return false;
  return WithTables(*this, ref.cls, [&](const auto& table, const auto&) {
    return static_cast<size_t>(ref.index) < table.size();
  });
}

int32_t Figure::GetValid(ObjRef ref) const {
  if (!InTable(ref)) return 0;
  return WithTables(*this, ref.cls,
                    [&](const auto& table, const auto&) { return table[ref.index].valid; });
}

void Figure::SetValid(ObjRef ref, int32_t v) {
  if (!Materialise(ref)) return;
  WithTables(*this, ref.cls, [&](auto& table, auto&) { table[ref.index].valid = v; });
}

std::string_view Figure::GetName(ObjRef ref) const {
  if (!InTable(ref)) return {};
  return WithTables(*this, ref.cls, [&](const auto& table, const auto&) {
    return TrimSpaces(table[ref.index].name);
  });
}

bool StepReadsOwnOutput(const Figure& fig, int32_t s) {
  const StepRec& step = fig.Step(s);
  for (int k = 1; k <= 5; ++k) {
    const ObjRef out = step.outputs[k];
    if (out.IsEmpty()) break;
    for (int j = 1; j <= 5; ++j)
      if (step.parents[j] == out && out.index != 0) return true;
  }
  if (step.kind != Kind::kCALC) return false;
  const ObjRef out = step.outputs[1];
  if (out.cls != kClassNumber || !fig.InTable(out)) return false;
  bool reads = false;
  ForEachOperand(fig.numbers[out.index].expression,
                 [&](int32_t index) { reads = reads || index == out.index; });
  return reads;
}

}  // namespace kv
