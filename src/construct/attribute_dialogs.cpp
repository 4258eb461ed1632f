#include "construct/attribute_dialogs.h"

#include <array>
#include <utility>

#include "expr/number_dialog.h"
#include "model/names.h"
#include "session/input_modes.h"

namespace kv {

const std::vector<std::string_view>& PointColourTexts() {
  static const std::vector<std::string_view> texts{"書かない", "赤", "緑",   "黄",
                                                   "青",       "紫", "水色", "黒"};
  return texts;
}

const std::vector<std::string_view>& LineColourTexts() {
  static const std::vector<std::string_view> texts{"書かない", "赤", "緑",   "点線(太線→黄)",
                                                   "青",       "紫", "水色", "黒"};
  return texts;
}

const std::vector<std::string_view>& MarkerTexts() {
  static const std::vector<std::string_view> texts{"・", "×", "○", "□", "■", "Δ"};
  return texts;
}

const std::vector<std::string_view>& LineTypeTexts() {
  static const std::vector<std::string_view> texts{"直線",  "線分",  "半直線", "半直線(逆)",
                                                   "線分←", "線分→", "線分←→", "半直線←"};
  return texts;
}

const std::vector<std::string_view>& DragPermissionTexts() {
  static const std::vector<std::string_view> texts{"可能", "不可能"};
  return texts;
}

const std::vector<std::string_view>& BindingTexts() {
  static const std::vector<std::string_view> texts{"フリーにする", "他の点と一致させる",
                                                   "直線上に取る", "円上に取る"};
  return texts;
}

namespace {

// A stored list value as a 1-based combo line; 0 when the list has no line for it.
int LineOf(int value, size_t count) {
  return value >= 0 && value < static_cast<int>(count) ? value + 1 : 0;
}

std::vector<std::string> Translated(const std::vector<std::string_view>& texts,
                                    const Translator& tr) {
  std::vector<std::string> out;
  out.reserve(texts.size());
  for (std::string_view t : texts) out.emplace_back(tr(t));
  return out;
}

// The step that makes `ref`, or 0 for an object no step makes (a variable).
int32_t MakingStep(const Figure& fig, ObjRef ref) {
  for (int32_t s = 1; s <= fig.StepCount(); ++s)
    for (int k = 1; k <= 5; ++k)
      if (fig.Output(s, k) == ref) return s;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Points, lines, circles

ShapeAttributeDialog::ShapeAttributeDialog(Figure& fig, ObjRef target, const Translator& tr)
    : fig_(fig), tr_(tr), target_(target) {
  if (!fig_.InTable(target_) || target_.cls == kClassNumber) {
    outcome_ = AttributeOutcome::kCancelled;
    return;
  }
  name_ = fig_.GetName(target_);
  switch (target_.cls) {
    case kClassPoint: {
      const PointRec& p = fig_.points[target_.index];
      colour_ = p.colour;
      locusColour_ = p.locusColour;
      kind_ = p.marker;
      showIndependent_ = p.free != 0;
      independent_ = p.free == kTrue ? 0 : 1;
      break;
    }
    case kClassLine: {
      const LineRec& g = fig_.lines[target_.index];
      colour_ = g.colour;
      locusColour_ = g.locusColour;
      kind_ = g.lineType;
      break;
    }
    default: {
      const CircleRec& c = fig_.circles[target_.index];
      colour_ = c.colour;
      locusColour_ = c.locusColour;
      break;
    }
  }
}

std::string_view ShapeAttributeDialog::FormName() const {
  switch (target_.cls) {
    case kClassPoint:
      return "PtAttribute";
    case kClassLine:
      return "LineAttribute";
    default:
      return "CircleAttribute";
  }
}

const std::vector<std::string_view>* ShapeAttributeDialog::ComboTexts(std::string_view c) const {
  const bool point = target_.cls == kClassPoint;
  if (c == "ComboClr" || c == "ComboLocus") return point ? &PointColourTexts() : &LineColourTexts();
  if (c == "ComboKind" && target_.cls != kClassCircle)
    return point ? &MarkerTexts() : &LineTypeTexts();
  if (c == "ComboIndependent" && showIndependent_) return &DragPermissionTexts();
  return nullptr;
}

const int* ShapeAttributeDialog::ComboValue(std::string_view c) const {
  if (ComboTexts(c) == nullptr) return nullptr;
  if (c == "ComboClr") return &colour_;
  if (c == "ComboLocus") return &locusColour_;
  if (c == "ComboKind") return &kind_;
  return &independent_;
}

int* ShapeAttributeDialog::ComboValue(std::string_view c) {
  return const_cast<int*>(std::as_const(*this).ComboValue(c));
}

bool ShapeAttributeDialog::Visible(std::string_view c) const {
  return c == "TextName" || c == "CommandOK" || c == "CommandCancel" || ComboTexts(c) != nullptr;
}

namespace {

// The two buttons every attribute dialog ends with: "設定" writes the fields back through
// `apply`, "キャンセル" writes nothing. False for any other control.
template <class ApplyFields>
bool ConfirmOrCancel(std::string_view c, AttributeOutcome& outcome, ApplyFields apply) {
  if (c == "CommandOK") {
    apply();
    outcome = AttributeOutcome::kApplied;
    return true;
  }
  if (c == "CommandCancel") {
    outcome = AttributeOutcome::kCancelled;
    return true;
  }
  return false;
}

}  // namespace

bool ShapeAttributeDialog::Click(std::string_view c) {
  if (Closed()) return false;
  return ConfirmOrCancel(c, outcome_, [this] { Apply(); });
}

bool ShapeAttributeDialog::Type(std::string_view c, std::string_view text) {
  if (Closed() || c != "TextName") return false;
  name_ = text;
  return true;
}

bool ShapeAttributeDialog::SelectLine(std::string_view c, int line) {
  if (Closed()) return false;
  const auto* texts = ComboTexts(c);
  if (texts == nullptr || line < 1 || line > static_cast<int>(texts->size())) return false;
  *ComboValue(c) = line - 1;
  return true;
}

bool ShapeAttributeDialog::Key(int code, int /*shift*/) {
  if (code == kKeyEnter) return Click("CommandOK");
  if (code == kKeyEscape) return Click("CommandCancel");
  return false;
}

std::string ShapeAttributeDialog::Text(std::string_view c) const {
  if (c == "TextName") return name_;
  std::string_view caption;
  if (c == "Caption")
    caption = target_.cls == kClassPoint  ? "点の属性の設定"
              : target_.cls == kClassLine ? "直線の属性の設定"
                                          : "円の属性の設定";
  else if (c == "LabelName")
    caption = "名前";
  else if (c == "LabelClr")
    caption = "色";
  else if (c == "LabelLocus")
    caption = "軌跡の色";
  else if (c == "LabelKind" && target_.cls != kClassCircle)
    caption = "表示形式";
  else if (c == "LabelIndependent" && showIndependent_)
    caption = "変形時の選択";
  else if (c == "CommandOK")
    caption = "設定";
  else if (c == "CommandCancel")
    caption = "キャンセル";
  else
    return {};
  return std::string(tr_(caption));
}

std::vector<std::string> ShapeAttributeDialog::Lines(std::string_view c) const {
  const auto* texts = ComboTexts(c);
  return texts ? Translated(*texts, tr_) : std::vector<std::string>{};
}

int ShapeAttributeDialog::SelectedLine(std::string_view c) const {
  const auto* texts = ComboTexts(c);
  return texts ? LineOf(*ComboValue(c), texts->size()) : 0;
}

void ShapeAttributeDialog::Apply() {
  // A value the lists cannot show (a marker or colour out of range in a file) stays as it was
  // unless the user chose a line.
  const auto pick = [&](std::string_view control, int32_t& field) {
    if (SelectedLine(control) != 0) field = *ComboValue(control);
  };
  switch (target_.cls) {
    case kClassPoint: {
      PointRec& p = fig_.points[target_.index];
      pick("ComboClr", p.colour);
      pick("ComboLocus", p.locusColour);
      pick("ComboKind", p.marker);
      if (showIndependent_) p.free = independent_ == 0 ? kTrue : 1;
      break;
    }
    case kClassLine: {
      LineRec& g = fig_.lines[target_.index];
      pick("ComboClr", g.colour);
      pick("ComboLocus", g.locusColour);
      pick("ComboKind", g.lineType);
      break;
    }
    default: {
      CircleRec& c = fig_.circles[target_.index];
      pick("ComboClr", c.colour);
      pick("ComboLocus", c.locusColour);
      break;
    }
  }
  fig_.SetObjectName(target_, TrimSpaces(name_));
  RelabelAll(fig_, tr_);
}

// ---------------------------------------------------------------------------------------------
// Numbers

NumberAttributeDialog::NumberAttributeDialog(Figure& fig, int32_t number, const Translator& tr)
    : fig_(fig), tr_(tr), number_(number), independent_(false) {
  const ObjRef ref{kClassNumber, number};
  if (!fig_.InTable(ref)) {
    outcome_ = AttributeOutcome::kCancelled;
    return;
  }
  const NumberRec& n = fig_.numbers[number];
  independent_ = n.independent != 0;
  name_ = n.name;
  value_ = ValueText(n.value);
  visible_ = n.hidden == 0;
  // How the number is made: a variable, an expression as the user wrote it, or the
  // description of the measurement.
  const int32_t step = MakingStep(fig_, ref);
  if (independent_ || step == 0)
    attr_ = tr_("変数");
  else if (fig_.KindOf(step) == Kind::kCALC)
    attr_ = std::string(tr_("数式")) + ": " + ExpressionDisplay(fig_, n.expression);
  else
    attr_ = KindDescription(fig_.KindOf(step), tr_);
}

bool NumberAttributeDialog::Visible(std::string_view c) const {
  return c == "TextName" || c == "TextVal" || c == "TextAttr" || c == "OptionVisible" ||
         c == "OptionNotVisible" || c == "CommandOK" || c == "CommandCancel";
}

bool NumberAttributeDialog::Click(std::string_view c) {
  if (Closed()) return false;
  if (c == "OptionVisible" || c == "OptionNotVisible") {
    visible_ = c == "OptionVisible";
    return true;
  }
  return ConfirmOrCancel(c, outcome_, [this] { Apply(); });
}

bool NumberAttributeDialog::Type(std::string_view c, std::string_view text) {
  if (Closed()) return false;
  if (c == "TextName") {
    name_ = text;
    return true;
  }
  // Only a variable's value can be set; a measurement's is computed.
  if (c == "TextVal" && independent_) {
    value_ = text;
    return true;
  }
  return false;
}

bool NumberAttributeDialog::SelectLine(std::string_view c, int line) {
  if (line != 1) return false;
  return (c == "OptionVisible" || c == "OptionNotVisible") && Click(c);
}

bool NumberAttributeDialog::Key(int code, int /*shift*/) {
  if (code == kKeyEnter) return Click("CommandOK");
  if (code == kKeyEscape) return Click("CommandCancel");
  return false;
}

std::string NumberAttributeDialog::Text(std::string_view c) const {
  if (c == "TextName") return name_;
  if (c == "TextVal") return value_;
  if (c == "TextAttr") return attr_;
  std::string_view caption;
  if (c == "Caption")
    caption = "変数の属性の設定";
  else if (c == "LabelName")
    caption = "名前";
  else if (c == "LabelVal")
    caption = "値";
  else if (c == "LabelAttr")
    caption = "属性";
  else if (c == "OptionVisible")
    caption = "表示";
  else if (c == "OptionNotVisible")
    caption = "非表示";
  else if (c == "CommandOK")
    caption = "設定";
  else if (c == "CommandCancel")
    caption = "キャンセル";
  else
    return {};
  return std::string(tr_(caption));
}

int NumberAttributeDialog::SelectedLine(std::string_view c) const {
  if (c == "OptionVisible") return visible_ ? 1 : 0;
  if (c == "OptionNotVisible") return visible_ ? 0 : 1;
  return 0;
}

void NumberAttributeDialog::Apply() {
  NumberRec& n = fig_.numbers[number_];
  if (independent_) n.value = LeadingNumber(value_);
  // Variables can be hidden from the list too, not only measurements.
  n.hidden = visible_ ? 0 : 7;
  fig_.SetObjectName({kClassNumber, number_}, TrimSpaces(name_));
  RelabelAll(fig_, tr_);
}

// ---------------------------------------------------------------------------------------------
// Binding

BindingDialog::BindingDialog(Figure& fig, int32_t point, const Translator& tr)
    : fig_(fig), tr_(tr), point_(point) {
  if (!fig_.InTable({kClassPoint, point})) choice_ = BindingChoice::kCancelled;
}

bool BindingDialog::Click(std::string_view c) {
  if (Closed()) return false;
  if (c == "CmdCancel") {
    choice_ = BindingChoice::kCancelled;
    return true;
  }
  if (c != "cmdOK") return false;
  const int cls = TargetClass();
  if (cls == 0) {
    BindPoint(fig_, point_, {});
    choice_ = BindingChoice::kFreed;
    return true;
  }
  // A class whose every object is excluded has nothing to bind to either.
  const auto excluded = BindingExclusions(fig_, point_, cls);
  choice_ = fig_.classCount[cls] > static_cast<int32_t>(excluded.size())
                ? BindingChoice::kPickTarget
                : BindingChoice::kNoTarget;
  return true;
}

bool BindingDialog::SelectLine(std::string_view c, int line) {
  if (Closed() || c != "ListKind" || line < 1 || line > static_cast<int>(BindingTexts().size()))
    return false;
  selected_ = line;
  return true;
}

bool BindingDialog::Key(int code, int /*shift*/) {
  if (code == kKeyEnter) return Click("cmdOK");
  if (code == kKeyEscape) return Click("CmdCancel");
  if (code == kKeyUp) return SelectLine("ListKind", selected_ - 1);
  if (code == kKeyDown) return SelectLine("ListKind", selected_ + 1);
  return false;
}

std::string BindingDialog::Text(std::string_view c) const {
  std::string_view caption;
  if (c == "Caption")
    caption = "種類の選択";
  else if (c == "Label1")
    caption = "どの種類の幾何的対象の上に点を取りますか";
  else if (c == "cmdOK")
    caption = "ＯＫ";
  else if (c == "CmdCancel")
    caption = "キャンセル";
  else
    return {};
  return std::string(tr_(caption));
}

std::vector<std::string> BindingDialog::Lines(std::string_view c) const {
  return c == "ListKind" ? Translated(BindingTexts(), tr_) : std::vector<std::string>{};
}

int BindingDialog::SelectedLine(std::string_view c) const {
  return c == "ListKind" ? selected_ : 0;
}

std::vector<ObjRef> BindingExclusions(const Figure& fig, int32_t point, int cls) {
  // Everything that moves with the point: the outputs of every step with a moving parent, and
  // the points bound to something that moves. Bindings do not follow construction order, so
  // sweep until nothing is added.
  std::array<std::vector<uint8_t>, 4> moves;
  for (int c = 0; c < 4; ++c) moves[c].assign(fig.classCount[c] + 1, 0);
  const auto moving = [&](ObjRef r) {
    return r.cls >= 0 && r.cls <= 3 && r.index >= 1 && r.index <= fig.classCount[r.cls] &&
           moves[r.cls][r.index];
  };
  if (point >= 1 && point <= fig.classCount[kClassPoint]) moves[kClassPoint][point] = 1;
  for (bool added = true; added;) {
    added = false;
    for (int32_t s = 1; s <= fig.StepCount(); ++s) {
      bool fromMoving = false;
      for (int k = 1; k <= 5 && !fromMoving; ++k) fromMoving = moving(fig.Parent(s, k));
      if (!fromMoving) continue;
      for (int k = 1; k <= 5; ++k) {
        const ObjRef out = fig.Output(s, k);
        if (out.cls < 0 || out.cls > 3 || out.index < 1 || out.index > fig.classCount[out.cls] ||
            moving(out))
          continue;
        moves[out.cls][out.index] = 1;
        added = true;
      }
    }
    for (int32_t i = 1; i <= fig.classCount[kClassPoint]; ++i) {
      const PointRec& p = fig.points[i];
      if (moves[kClassPoint][i] || p.boundClass == 0) continue;
      if (moving({p.boundClass, p.boundIndex})) {
        moves[kClassPoint][i] = 1;
        added = true;
      }
    }
  }
  std::vector<ObjRef> out;
  if (cls < 0 || cls > 3) return out;
  for (int32_t i = 1; i <= fig.classCount[cls]; ++i)
    if (moves[cls][i]) out.push_back({cls, i});
  return out;
}

void BindPoint(Figure& fig, int32_t point, ObjRef target) {
  if (!fig.InTable({kClassPoint, point})) return;
  PointRec& p = fig.points[point];
  if (target.IsEmpty() || !fig.InTable(target) || target.cls == kClassNumber) {
    p.boundClass = 0;
    p.boundIndex = 0;
  } else {
    p.boundClass = target.cls;
    p.boundIndex = target.index;
  }
  p.boundParam = 0;
}

void SetAllNumbersHidden(Figure& fig, bool hidden) {
  for (int32_t i = 1; i <= fig.classCount[kClassNumber]; ++i)
    fig.numbers[i].hidden = hidden ? 7 : 0;
}

}  // namespace kv
