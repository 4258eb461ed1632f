// Mode stack, and the one table that gives each mode code its status text, menu enabling and
// selection flag.
#include "session/input_modes.h"

#include <algorithm>
#include <array>

namespace kv {

void ModeStack::Reset(std::unique_ptr<Mode> base) {
  // Reset runs from inside events too (a new figure); the old modes wait like popped ones.
  for (int slot = 1; slot <= top_; ++slot) popped_.push_back(std::move(modes_[slot]));
  for (auto& m : modes_) m.reset();
  codes_.fill(0);
  top_ = 0;
  codes_[0] = kModeStandard;
  Push(base ? std::move(base) : std::make_unique<Mode>(kModeStandard));
}

bool ModeStack::Push(std::unique_ptr<Mode> mode) {
  if (top_ >= kLastSlot || !mode) return false;
  ++top_;
  codes_[top_] = mode->Code();
  modes_[top_] = std::move(mode);
  return true;
}

bool ModeStack::Pop() {
  if (top_ < 2) return false;
  popped_.push_back(std::move(modes_[top_]));
  codes_[top_--] = 0;
  return true;
}

namespace {

// Which top-level menus a row leaves enabled.
enum class Menus : uint8_t { kAll, kDeforming, kNone, kHelpAndZoom };

struct ModeRow {
  int16_t code;
  std::string_view status;  // empty: the code has no status text
  Menus menus;
  bool selection;  // clicks and keys go to the selection picker
};

using enum Menus;

// Codes missing here have no status text and leave Help and Zoom enabled.
constexpr std::array kModeTable = {
    ModeRow{1, "スタート", kHelpAndZoom, false},
    ModeRow{2, "標準", kAll, false},
    ModeRow{3, "ｵﾌﾟｼｮﾝ", kHelpAndZoom, false},
    ModeRow{4, "補助", kHelpAndZoom, false},
    ModeRow{5, "ヘルプ", kHelpAndZoom, false},
    ModeRow{6, "変形", kDeforming, false},
    ModeRow{7, "ズーム", kHelpAndZoom, false},
    ModeRow{8, "例__読込", kHelpAndZoom, false},
    ModeRow{9, "保存中", kHelpAndZoom, false},
    ModeRow{10, "編集", kHelpAndZoom, false},
    ModeRow{11, "軌跡", kHelpAndZoom, false},
    ModeRow{12, "関数選択", kHelpAndZoom, false},
    ModeRow{13, "選択", kHelpAndZoom, true},
    ModeRow{14, "複数選択", kHelpAndZoom, true},
    ModeRow{15, "選択(作図中)", kHelpAndZoom, true},
    ModeRow{16, "計算中", kDeforming, false},
    ModeRow{17, "作図構成", kHelpAndZoom, false},
    ModeRow{18, "作図開始", kHelpAndZoom, false},
    ModeRow{19, "測定", kHelpAndZoom, false},
    ModeRow{20, "ﾌｧｲﾙ消去", kHelpAndZoom, false},
    ModeRow{21, "数式入力", kHelpAndZoom, false},
    ModeRow{22, "数値変化", kDeforming, false},
    ModeRow{23, "ｻﾌﾞﾒﾆｭｰ", kHelpAndZoom, false},
    ModeRow{24, "マクロ", kHelpAndZoom, false},
    ModeRow{25, "図形追加", kHelpAndZoom, false},
    ModeRow{26, "回転", kHelpAndZoom, false},
    ModeRow{27, "ﾌｧｲﾙ改名", kHelpAndZoom, false},
    ModeRow{28, "点の追加", kHelpAndZoom, false},
    ModeRow{29, "点の追加", kHelpAndZoom, false},
    ModeRow{30, "点の位置設定", kHelpAndZoom, false},
    ModeRow{40, "選択(編集)", kHelpAndZoom, true},
    ModeRow{42, "編集", kHelpAndZoom, false},
    ModeRow{43, "編集", kHelpAndZoom, false},
    ModeRow{44, "編集", kHelpAndZoom, false},
    ModeRow{51, "点の動きの束縛", kHelpAndZoom, false},
    ModeRow{52, "選択(束縛する点)", kHelpAndZoom, true},
    ModeRow{53, "選択(どこに束縛)", kHelpAndZoom, true},
    ModeRow{60, "数値選択", kHelpAndZoom, false},
    ModeRow{61, "複数点変形", kDeforming, false},
    ModeRow{62, "複数選択", kHelpAndZoom, true},
    ModeRow{63, "数値選択", kHelpAndZoom, false},
    ModeRow{70, "Marker", kNone, false},
    ModeRow{71, "軌跡(変数)の選択", kHelpAndZoom, false},
    ModeRow{72, "ドラッグ", kHelpAndZoom, false},
    ModeRow{73, "作図再生", kHelpAndZoom, false},
};

const ModeRow* RowOf(int16_t mode) {
  auto it = std::find_if(kModeTable.begin(), kModeTable.end(),
                         [mode](const ModeRow& row) { return row.code == mode; });
  return it == kModeTable.end() ? nullptr : &*it;
}

}  // namespace

std::optional<std::string_view> StatusTextOf(int16_t mode) {
  const ModeRow* row = RowOf(mode);
  if (!row) return std::nullopt;
  return row->status;
}

TopMenuEnabling MenuEnablingFor(int16_t mode) {
  const ModeRow* row = RowOf(mode);
  TopMenuEnabling m;
  switch (row ? row->menus : kHelpAndZoom) {
    case kAll:
      m = {true, true, true, true, true, true, true, true, true};
      break;
    case kDeforming:
      m.option = m.help = m.zoom = m.locus = true;
      break;
    case kNone:
      break;
    case kHelpAndZoom:
      m.help = m.zoom = true;
      break;
  }
  return m;
}

bool IsSelectionMode(int16_t mode) {
  const ModeRow* row = RowOf(mode);
  return row && row->selection;
}

}  // namespace kv
