// The attribute dialogs of points, lines, circles and numbers, and the small dialog that asks
// what a point is to be bound to. Each is filled from the object's record when it opens and
// writes back only when "設定" is clicked; the session opens them from the Edit menu and the
// object menu, and `kvtool play` drives them by control name like any other dialog.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lang/translate.h"
#include "model/figure.h"
#include "session/dialog_model.h"

namespace kv {

enum class AttributeOutcome { kOpen, kApplied, kCancelled };

// The list texts of the dialogs, in list order; the list index is the stored value.
const std::vector<std::string_view>& PointColourTexts();
const std::vector<std::string_view>& LineColourTexts();  // lines and circles
const std::vector<std::string_view>& MarkerTexts();
const std::vector<std::string_view>& LineTypeTexts();
const std::vector<std::string_view>& DragPermissionTexts();
const std::vector<std::string_view>& BindingTexts();

// The dialogs of points ("PtAttribute"), lines ("LineAttribute") and circles
// ("CircleAttribute"). Controls: TextName, ComboClr, ComboLocus, ComboKind (points and lines),
// ComboIndependent (free points only), CommandOK, CommandCancel. Combo lines are 1-based: line
// k is stored value k - 1; SelectedLine is 0 when the stored value has no line, and such a
// value is kept on confirming.
class ShapeAttributeDialog : public DialogModel {
 public:
  ShapeAttributeDialog(Figure& fig, ObjRef target, const Translator& tr);

  std::string_view FormName() const override;
  bool Click(std::string_view control) override;
  bool Type(std::string_view control, std::string_view text) override;
  bool SelectLine(std::string_view control, int line) override;
  // Enter confirms, Esc cancels.
  bool Key(int code, int shift) override;
  // Text boxes, and captions: "Caption" (the title), "LabelName", "LabelClr", "LabelLocus",
  // "LabelKind", "LabelIndependent", CommandOK, CommandCancel.
  std::string Text(std::string_view control) const override;
  std::vector<std::string> Lines(std::string_view control) const override;
  int SelectedLine(std::string_view control) const override;
  bool Closed() const override { return outcome_ != AttributeOutcome::kOpen; }

  bool Visible(std::string_view control) const;
  AttributeOutcome Outcome() const { return outcome_; }
  ObjRef Target() const { return target_; }

 private:
  void Apply();
  int* ComboValue(std::string_view control);
  const int* ComboValue(std::string_view control) const;
  const std::vector<std::string_view>* ComboTexts(std::string_view control) const;

  Figure& fig_;
  const Translator& tr_;
  ObjRef target_;
  std::string name_;
  int colour_ = 0, locusColour_ = 0, kind_ = 0;
  int independent_ = 0;  // 0 "可能", 1 "不可能"; used only for a free point
  bool showIndependent_ = false;
  AttributeOutcome outcome_ = AttributeOutcome::kOpen;
};

// The number dialog "NumAttribute". Controls: TextName, TextVal (the value, editable only for
// an independent variable), TextAttr (read only: how the number is made), OptionVisible,
// OptionNotVisible (SelectedLine of an option is 1 when it is set), CommandOK, CommandCancel.
class NumberAttributeDialog : public DialogModel {
 public:
  NumberAttributeDialog(Figure& fig, int32_t number, const Translator& tr);

  std::string_view FormName() const override { return "NumAttribute"; }
  bool Click(std::string_view control) override;
  bool Type(std::string_view control, std::string_view text) override;
  bool SelectLine(std::string_view control, int line) override;
  bool Key(int code, int shift) override;
  std::string Text(std::string_view control) const override;
  int SelectedLine(std::string_view control) const override;
  bool Closed() const override { return outcome_ != AttributeOutcome::kOpen; }

  bool Visible(std::string_view control) const;
  // Only an independent variable takes a new value; other numbers show theirs read-only.
  bool ValueEditable() const { return independent_; }
  AttributeOutcome Outcome() const { return outcome_; }
  int32_t Number() const { return number_; }

 private:
  void Apply();

  Figure& fig_;
  const Translator& tr_;
  int32_t number_;
  bool independent_;
  std::string name_, value_, attr_;
  bool visible_ = true;
  AttributeOutcome outcome_ = AttributeOutcome::kOpen;
};

// What the binding dialog asks for once it has closed.
enum class BindingChoice {
  kOpen,
  kCancelled,
  kFreed,       // "フリーにする": the binding was cleared
  kNoTarget,    // the chosen class has no object that may be chosen; nothing changed
  kPickTarget,  // pick an object of TargetClass() next
};

// The binding dialog "SelGeoKindBounded" for one point. Controls: ListKind, cmdOK, CmdCancel.
class BindingDialog : public DialogModel {
 public:
  BindingDialog(Figure& fig, int32_t point, const Translator& tr);

  std::string_view FormName() const override { return "SelGeoKindBounded"; }
  bool Click(std::string_view control) override;
  bool Type(std::string_view, std::string_view) override { return false; }
  bool SelectLine(std::string_view control, int line) override;
  bool Key(int code, int shift) override;
  std::string Text(std::string_view control) const override;
  std::vector<std::string> Lines(std::string_view control) const override;
  int SelectedLine(std::string_view control) const override;
  bool Closed() const override { return choice_ != BindingChoice::kOpen; }

  BindingChoice Choice() const { return choice_; }
  int TargetClass() const { return selected_ - 1; }
  int32_t Point() const { return point_; }

 private:
  Figure& fig_;
  const Translator& tr_;
  int32_t point_;
  int selected_ = 1;  // 1-based line of ListKind
  BindingChoice choice_ = BindingChoice::kOpen;
};

// The message shown when the chosen class has nothing to bind to.
inline constexpr std::string_view kNoBindingTargetMessage =
    "元にする対象がありません。キャンセルします。";

// The objects of class `cls` that point `point` may not be bound to: the point itself, every
// object built (directly or through other steps) from the point, and points whose own binding
// leads back to it. Binding to any of them would make the point follow itself.
std::vector<ObjRef> BindingExclusions(const Figure& fig, int32_t point, int cls);

// Binds `point` to `target` (class 1 to 3) starting at parameter 0; an empty target clears the
// binding.
void BindPoint(Figure& fig, int32_t point, ObjRef target);

// "すべて表示" (hidden = false) and "すべて非表示" (hidden = true) for every number.
void SetAllNumbersHidden(Figure& fig, bool hidden);

}  // namespace kv
