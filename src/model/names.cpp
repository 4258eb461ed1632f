// Derived labels, kind descriptions and step texts.
#include "model/names.h"

#include "model/expression_text.h"
#include "model/number_format.h"

namespace kv {

namespace {

std::string Concat(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

// The label rule of one step, or false when its kind has none.
bool StepLabel(const Figure& fig, int32_t s, const Translator& tr, std::string& label) {
  auto n = [&](int k) { return fig.GetName(fig.Parent(s, k)); };
  // Words that read differently in English; the rest of each label is notation.
  const std::string_view circle = tr("円");
  switch (fig.KindOf(s)) {
    case Kind::kL1:
    case Kind::kND2P:
      label = Concat({n(1), n(2)});
      break;
    case Kind::kND2L:
    case Kind::kNDPL:
    case Kind::kNPL2:
      label = Concat({"d(", n(1), ", ", n(2), ")"});
      break;
    case Kind::kND2C:
      label = Concat({"d(", circle, n(1), ", ", circle, n(2), ")"});
      break;
    case Kind::kNDLC:
    case Kind::kNDPC:
      label = Concat({"d(", n(1), ", ", circle, n(2), ")"});
      break;
    case Kind::kNA3P:
    case Kind::kNA3Plus:
    case Kind::kNA3M:
    case Kind::kNA3Star:
      label = Concat({"∠", n(1), n(2), n(3)});
      break;
    case Kind::kNAR3:
    case Kind::kNARPlus:
      label = Concat({tr("Δ"), n(1), n(2), n(3)});
      break;
    case Kind::kNAR4:
      label = Concat({tr("□"), n(1), n(2), n(3), n(4)});
      break;
    // The angle between two lines reads ∠(g, h), with both parentheses.
    case Kind::kNA2L:
      label = Concat({"∠(", n(1), ", ", n(2), ")"});
      break;
    case Kind::kNPX:
      label = Concat({n(1), "(x)"});
      break;
    case Kind::kNPX2:
      label = std::string(n(1));
      break;
    case Kind::kNPY:
      label = Concat({n(1), "(y)"});
      break;
    case Kind::kNLC:
      label = Concat({circle, n(1), tr("の円周")});
      break;
    case Kind::kNRC:
      label = Concat({circle, n(1), tr("の半径")});
      break;
    case Kind::kNSIN:
      label = Concat({"SIN(", n(1), ")"});
      break;
    case Kind::kNCOS:
      label = Concat({"COS(", n(1), ")"});
      break;
    case Kind::kNTAN:
      label = Concat({"TAN(", n(1), ")"});
      break;
    case Kind::kCALC: {
      const ObjRef out = fig.Output(s, 1);
      if (out.cls != kClassNumber || !fig.InTable(out)) return false;
      label = ExpressionDisplay(fig, fig.numbers[out.index].expression);
      break;
    }
    case Kind::kNone:
    case Kind::kUnknown:
    case Kind::kP1:
    case Kind::kP2:
    case Kind::kP3:
    case Kind::kP4:
    case Kind::kP5:
    case Kind::kP6:
    case Kind::kPC1:
    case Kind::kPC2:
    case Kind::kPC3:
    case Kind::kPN:
    case Kind::kPEXT:
    case Kind::kPXY:
    case Kind::kPNEW:
    case Kind::kPBND:
    case Kind::kPT1:
    case Kind::kPT2:
    case Kind::kPT3:
    case Kind::kPT4:
    case Kind::kPT5:
    case Kind::kPT6:
    case Kind::kPT7:
    case Kind::kPT62:
    case Kind::kPT8:
    case Kind::kPT9:
    case Kind::kPOAdd:
    case Kind::kPOSub:
    case Kind::kPOMul:
    case Kind::kPODiv:
    case Kind::kPOPow:
    case Kind::kPOInv:
    case Kind::kPNEQ:
    case Kind::kL2:
    case Kind::kL3:
    case Kind::kL4:
    case Kind::kL5:
    case Kind::kL6:
    case Kind::kL7:
    case Kind::kL8:
    case Kind::kLH1:
    case Kind::kLH2:
    case Kind::kLRO:
    case Kind::kLHRO:
    case Kind::kLT1:
    case Kind::kLT2:
    case Kind::kLT3:
    case Kind::kL3Macro:
    case Kind::kLH2Macro:
    case Kind::kLPGN:
    case Kind::kLRGN:
    case Kind::kLPGPending:
    case Kind::kC1:
    case Kind::kC2:
    case Kind::kC3:
    case Kind::kC4:
    case Kind::kC5:
    case Kind::kC6:
    case Kind::kC7:
    case Kind::kCRO:
    case Kind::kCT1:
    case Kind::kCT2:
    case Kind::kCT3:
    case Kind::kCount:
      return false;
  }
  return true;
}

std::string_view ClassWord(const ObjRef& ref) {
  switch (ref.cls) {
    case kClassNumber:
      return "変数";
    case kClassPoint:
      return "点";
    case kClassLine:
      return "線";
    case kClassCircle:
      return "円";
    default:
      return {};
  }
}

// "点A( 1) , 線AB( 3) , " for the filled slots of one slot list. The replay line has always
// translated only the class words of the outputs; the parents keep the Japanese words.
std::string SlotList(const Figure& fig, const std::array<ObjRef, 6>& slots, const Translator& tr,
                     bool translateWords) {
  std::string list;
  for (int k = 1; k <= 5; ++k) {
    const ObjRef ref = slots[k];
    if (ref.index == 0) continue;  // an empty slot shows nothing
    list += translateWords ? tr(ClassWord(ref)) : ClassWord(ref);
    if (ref.cls >= kClassNumber && ref.cls <= kClassCircle)
      list += Concat({fig.GetName(ref), "(", BasicStrInt(ref.index), ")"});
    else
      list += BasicStrInt(ref.index);
    list += " , ";
  }
  return list;
}

}  // namespace

void RelabelAll(Figure& fig, const Translator& tr) {
  std::string label;
  for (int32_t s = 1; s <= fig.StepCount(); ++s)
    if (!StepReadsOwnOutput(fig, s) && StepLabel(fig, s, tr, label))
      fig.SetObjectName(fig.Output(s, 1), label);
}

std::string_view KindDescription(Kind kind, const Translator& tr) {
  const KindInfo& info = InfoOf(kind);
  if (info.descriptionJa.empty()) return {};
  switch (tr.language) {
    case Language::kJapanese:
      return info.descriptionJa;
    case Language::kEnglish:
      return info.descriptionEn.empty() ? info.descriptionJa : info.descriptionEn;
    case Language::kManual:
      return tr(info.descriptionJa);
  }
  return info.descriptionJa;
}

std::string_view KindDescription(std::string_view code, const Translator& tr) {
  return KindDescription(ParseKind(code), tr);
}

std::string ExpressionDisplay(const Figure& fig, std::string_view expression) {
  while (!expression.empty() && expression.back() == ' ') expression.remove_suffix(1);
  std::string text;
  auto appendOperand = [&](std::string_view operand) {
    const int32_t index = ParseOperandIndex(operand);
    if (index < 1 || index > fig.classCount[kClassNumber] || index > fig.UpperBound(kClassNumber)) {
      text += operand;  // names no number: shown as stored
      return;
    }
    const std::string_view name = fig.GetName(ObjRef{kClassNumber, index});
    text += name.empty() ? BasicStr(fig.numbers[index].value) : std::string(name);
  };
  size_t start = 0;
  for (size_t i = 0; i < expression.size(); ++i) {
    if (!IsOperatorChar(expression[i])) continue;
    appendOperand(expression.substr(start, i - start));
    text += expression[i];
    start = i + 1;
  }
  if (start < expression.size()) appendOperand(expression.substr(start));
  return text;
}

std::string StepDescription(const Figure& fig, int32_t s, const Translator& tr) {
  if (s < 1 || s > fig.StepCount()) return {};
  const std::string_view description = KindDescription(fig.KindOf(s), tr);
  const std::string parents = SlotList(fig, fig.Parents(s), tr, false);
  const std::string outputs = SlotList(fig, fig.Outputs(s), tr, true);
  if (parents.empty() && outputs.empty()) return std::string(description);
  return Concat({description, ":(", parents, ")", "→(", outputs, ")"});
}

}  // namespace kv
