// Mode stack, status texts and menu enabling by mode.
#include "session/input_modes.h"

namespace kv {

void ModeStack::Reset() {
  slots_.fill(0);
  top_ = 0;
  slots_[0] = kModeStandard;
  Push(kModeStandard);
}

bool ModeStack::Push(int16_t code) {
  if (top_ >= kLastSlot) return false;
  slots_[++top_] = code;
  return true;
}

bool ModeStack::Pop() {
  if (top_ < 2) return false;
  slots_[top_--] = 0;
  return true;
}

std::optional<std::string_view> StatusTextOf(int16_t mode) {
  switch (mode) {
    case 1:
      return "スタート";
    case 2:
      return "標準";
    case 3:
      return "ｵﾌﾟｼｮﾝ";
    case 4:
      return "補助";
    case 5:
      return "ヘルプ";
    case 6:
      return "変形";
    case 7:
      return "ズーム";
    case 8:
      return "例__読込";
    case 9:
      return "保存中";
    case 10:
      return "編集";
    case 11:
      return "軌跡";
    case 12:
      return "関数選択";
    case 13:
      return "選択";
    case 14:
      return "複数選択";
    case 15:
      return "選択(作図中)";
    case 16:
      return "計算中";
    case 17:
      return "作図構成";
    case 18:
      return "作図開始";
    case 19:
      return "測定";
    case 20:
      return "ﾌｧｲﾙ消去";
    case 21:
      return "数式入力";
    case 22:
      return "数値変化";
    case 23:
      return "ｻﾌﾞﾒﾆｭｰ";
    case 24:
      return "マクロ";
    case 25:
      return "図形追加";
    case 26:
      return "回転";
    case 27:
      return "ﾌｧｲﾙ改名";
    case 28:
      return "点の追加";
    case 29:
      return "点の追加";
    case 30:
      return "点の位置設定";
    case 40:
      return "選択(編集)";
    case 42:
    case 43:
    case 44:
      return "編集";
    case 51:
      return "点の動きの束縛";
    case 52:
      return "選択(束縛する点)";
    case 53:
      return "選択(どこに束縛)";
    case 60:
      return "数値選択";
    case 61:
      return "複数点変形";
    case 62:
      return "複数選択";
    case 63:
      return "数値選択";
    case 70:
      return "Marker";
    case 71:
      return "軌跡(変数)の選択";
    case 72:
      return "ドラッグ";
    case 73:
      return "作図再生";
    default:
      return std::nullopt;
  }
}

TopMenuEnabling MenuEnablingFor(int16_t mode) {
  TopMenuEnabling m;
  switch (mode) {
    case kModeStandard:
      m = {true, true, true, true, true, true, true, true, true};
      break;
    case kModeDeform:
    case kModeCalculating:
    case kModeNumberChange:
    case kModeMultiDeform:
      m.option = m.help = m.zoom = m.locus = true;
      break;
    case kModeScribble:
      break;
    default:
      m.help = m.zoom = true;
      break;
  }
  return m;
}

bool IsSelectionMode(int16_t mode) {
  switch (mode) {
    case kModeSelect:
    case kModeMultiSelect:
    case kModeConstructSelect:
    case kModeEditSelect:
    case kModeBindPickPoint:
    case kModeBindPickTarget:
    case kModeMultiDeformSelect:
      return true;
    default:
      return false;
  }
}

}  // namespace kv
