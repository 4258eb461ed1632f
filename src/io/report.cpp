// The construction data viewer's report text.
#include "io/report.h"

#include <algorithm>

#include "model/names.h"
#include "model/number_format.h"

namespace kv {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// A number as the report shows it: a leading blank when it is not negative.
std::string Str(double value) { return BasicStr(value); }
std::string Str(int32_t value) { return BasicStrInt(value); }

std::string RightTrimmed(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

// The kind code in its five-character field.
std::string KindField(std::string_view code) {
  std::string field(code);
  if (field.size() < 5) field.append(5 - field.size(), ' ');
  return field;
}

class ReportWriter {
 public:
  ReportWriter(const Figure& fig, const Translator& tr) : fig_(fig), tr_(tr) {}

  std::string Build(std::string_view fileName) {
    Line(std::string("FileName : ") + std::string(fileName));
    Line(T("作図手続き数") + " : " + Str(fig_.StepCount()));
    Dash();
    Line(T("■作図手続き(概略)■"));
    const int32_t steps = std::min(fig_.StepCount(), fig_.UpperBound(-1));
    StepLines(steps, false);
    Dash();
    Line(T("■作図手続き(入出力の詳細)■"));
    StepLines(steps, true);
    Dash();
    Line(T("幾何的対象の数"));
    Line(T("数") + "   : " + Str(fig_.classCount[kClassNumber]));
    Line(T("点") + "   : " + Str(fig_.classCount[kClassPoint]));
    Line(T("直線") + " : " + Str(fig_.classCount[kClassLine]));
    Line(T("円") + "   : " + Str(fig_.classCount[kClassCircle]));
    Dash();
    Line(T("■幾何的対象(数,点,線,円)の詳細データ■"));
    Numbers();
    Points();
    Lines();
    Circles();
    Line(T("以上"));
    return std::move(out_);
  }

 private:
  std::string T(std::string_view japanese) const { return std::string(tr_(japanese)); }
  void Line(const std::string& text) {
    out_ += text;
    out_ += kCrLf;
  }
  void Dash() { Line(std::string(30, '-')); }
  int32_t Count(int cls) const { return std::clamp(fig_.classCount[cls], 0, fig_.UpperBound(cls)); }

  void StepLines(int32_t steps, bool details) {
    bool macroOpen = false;  // macro markers alternate between the start and the end of a group
    for (int32_t s = 1; s <= steps; ++s) {
      const Kind kind = fig_.KindOf(s);
      const std::string code = KindField(fig_.KindCode(s));
      std::string line = Str(s) + ":" + code + "(";
      if (InfoOf(kind).macro && kind != Kind::kLPGPending) {
        line +=
            T("■") + std::string(KindDescription(kind, tr_)) + " " + T(macroOpen ? "終了" : "開始");
        macroOpen = !macroOpen;
      } else {
        line += std::string(KindDescription(kind, tr_));
      }
      Line(line + ")");
      if (!details) continue;
      std::string inputs = "  " + T("入力") + " : ";
      std::string outputs = "  " + T("出力") + " : ";
      for (int k = 1; k <= 5; ++k) {
        inputs += Item(fig_.Parent(s, k), false) + " , ";
        outputs += Item(fig_.Output(s, k), true) + " , ";
      }
      Line(inputs);
      Line(outputs);
    }
  }

  std::string Item(ObjRef ref, bool output) const {
    if (ref.cls == kClassNumber && ref.index == 0) return Str(0);
    if (output && ref.index == 0) return T("0 (■■)");
    std::string word;
    switch (ref.cls) {
      case kClassNumber:
        word = "変数";
        break;
      case kClassPoint:
        word = T("点");
        break;
      case kClassLine:
        word = T("線");
        break;
      case kClassCircle:
        word = T("円");
        break;
      default:
        return Str(ref.index);
    }
    return word + RightTrimmed(fig_.GetName(ref)) + "(" + Str(ref.index) + ")";
  }

  void Numbers() {
    for (int32_t i = 1; i <= Count(kClassNumber); ++i) {
      const NumberRec& r = fig_.numbers[i];
      Line(T("名前") + "     : " + RightTrimmed(r.name));
      Line(T("値") + "       : " + Str(r.value));
      Line(T("独立/従属") + ": " + Str(r.independent));
      Line(T("チェック") + " : " + Str(r.valid));
      Line(T("数式表示") + " : " + RightTrimmed(r.expression));
      Dash();
    }
  }

  void Points() {
    for (int32_t i = 1; i <= Count(kClassPoint); ++i) {
      const PointRec& r = fig_.points[i];
      Line(T("名前") + "     : " + RightTrimmed(r.name));
      Line(T("座標") + "     : " + Str(r.x) + "," + Str(r.y));
      Line(T("種類") + "     : " + Str(r.marker));
      Line(T("独立/従属") + ": " + Str(r.free));
      Line(T("束縛状態") + " : " + Str(r.boundClass) + "," + Str(r.boundIndex) + "," +
           Str(r.boundParam));
      Line(T("チェック") + " : " + Str(r.valid));
      Line(T("色") + "       : " + Str(r.colour));
      Line(T("束縛の種類") + ": " + Str(r.boundClass));
      Line(T("束縛番号") + "  : " + Str(r.boundIndex));
      Line(T("パラメータ") + "  : " + Str(r.boundParam));
      Dash();
    }
  }

  void Lines() {
    for (int32_t i = 1; i <= Count(kClassLine); ++i) {
      const LineRec& r = fig_.lines[i];
      Line(T("名前") + "     : " + RightTrimmed(r.name));
      Line("(" + Str(r.x1) + "," + Str(r.y1) + ") -" + "(" + Str(r.x2) + "," + Str(r.y2) + ")");
      Line(T("方向") + "     : " + Str(r.dx) + "," + Str(r.dy));
      Line(T("種類") + "     : " + Str(r.lineType));
      Line(T("チェック") + " : " + Str(r.valid));
      Line(T("色") + "       : " + Str(r.colour));
      Line(T("軌跡の色") + "  : " + Str(r.locusColour));
      Dash();
    }
  }

  void Circles() {
    for (int32_t i = 1; i <= Count(kClassCircle); ++i) {
      const CircleRec& r = fig_.circles[i];
      Line(T("名前") + "     : " + RightTrimmed(r.name));
      Line(T("中心") + " (" + Str(r.cx) + "," + Str(r.cy) + "), " + T("半径") + ": " +
           Str(r.radius));
      Line(T("チェック") + " : " + Str(r.valid));
      Line(T("色") + "       : " + Str(r.colour));
      Line(T("軌跡の色") + "  : " + Str(r.locusColour));
      Dash();
    }
  }

  const Figure& fig_;
  const Translator& tr_;
  std::string out_;
};

}  // namespace

std::string FigureReport(const Figure& fig, std::string_view figureFileName, const Translator& tr) {
  return ReportWriter(fig, tr).Build(figureFileName);
}

std::string MatrixBlock(std::string_view title, int rows, int cols, const double* entries) {
  std::string block(title);
  block += kCrLf;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) block += Str(entries[i * cols + j]) + " , ";
    block += kCrLf;
  }
  return block;
}

std::string ViewerTextWithBlock(std::string_view oldText, std::string_view block,
                                ViewerWriteMode mode) {
  const std::string separator = std::string(20, '-') + std::string(kCrLf);
  std::string text;
  switch (mode) {
    case ViewerWriteMode::kOverwrite:
      text.append(block).append(kCrLf);
      break;
    case ViewerWriteMode::kAppend:
      text.append(oldText).append(kCrLf).append(separator).append(block).append(kCrLf);
      break;
    case ViewerWriteMode::kInsertFront:
      text.append(block).append(kCrLf).append(separator).append(oldText).append(kCrLf);
      break;
  }
  return text;
}

}  // namespace kv
