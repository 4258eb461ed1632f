// Reasons for disabled menus, by the task of each input mode.
#include "session/disabled_reason.h"

#include "session/input_modes.h"

namespace kv {

std::string_view DisabledReasonOf(int16_t mode) {
  switch (mode) {
    case kModeStandard:
      return {};
    case kModeConstruct:
    case kModeConstructSelect:
    case kModeExpression:
      return "作図中は使えません(Esc で取り消し)";
    case kModeDeform:
    case kModeSelect:
    case kModeMultiDeform:
    case kModeMultiDeformSelect:
    case kModePlacePoint:
      return "変形中は使えません(Esc で終了)";
    case kModeNumberChange:
    case kModeNumberSelect:
      return "数値を変えている間は使えません(Esc で終了)";
    case kModeDrag:
      return "ドラッグ中は使えません";
    case kModeCalculating:
      return "計算中は使えません";
    case kModeLoading:
    case kModeSaving:
      return "ファイルの読み書き中は使えません";
    case kModeNewPoint:
    case kModeNewPointOnObject:
      return "点の追加中は使えません(Esc で終了)";
    case kModeEditSelect:
    case kModeNumberEdit:
    case kModePointEdit:
    case kModeLineEdit:
    case kModeCircleEdit:
    case kModeBind:
    case kModeBindPickPoint:
    case kModeBindPickTarget:
      return "編集中は使えません(Esc で取り消し)";
    case kModeScribble:
      return "落書き中は使えません(Esc で終了)";
    case kModeReplay:
      return "作図再生中は使えません(Esc で終了)";
    default:
      return "いまの作業を終えるか Esc で取り消すと使えます";
  }
}

}  // namespace kv
