// Input modes of the main window: the mode codes, the mode stack that owns the mode objects,
// and one table row per code with its status text, the top-level menus it leaves enabled and
// whether it is a selection mode. Also the mouse button, shift and key codes the window passes
// to the session.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "session/mode.h"

namespace kv {

// Mode codes. Codes without a name here are shown in the status bar only.
enum InputMode : int16_t {
  kNoMode = 0,  // what CurrentInputMode gives for an empty stack; no mode has this code
  kModeStart = 1,
  kModeStandard = 2,
  kModeDeform = 6,
  kModeLoading = 8,
  kModeSaving = 9,
  kModeSelect = 13,
  kModeMultiSelect = 14,
  kModeConstructSelect = 15,
  kModeCalculating = 16,
  kModeConstruct = 17,
  kModeExpression = 21,
  kModeNumberChange = 22,
  kModeNewPoint = 28,
  kModeNewPointOnObject = 29,
  kModePlacePoint = 30,
  kModeEditSelect = 40,
  kModeNumberEdit = 41,
  kModePointEdit = 42,
  kModeLineEdit = 43,
  kModeCircleEdit = 44,
  kModeBind = 51,
  kModeBindPickPoint = 52,
  kModeBindPickTarget = 53,
  kModeMultiDeform = 61,
  kModeMultiDeformSelect = 62,
  kModeNumberSelect = 63,
  kModeScribble = 70,
  kModeLocusByNumber = 71,
  kModeDrag = 72,
  kModeReplay = 73,
};

// Mouse buttons as a bit set; kReplayPress asks for a repetition of the last press.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kReplayPress = 100;
// Shift state as a bit set.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
// Virtual key codes.
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

// The input-mode stack: slots 0..100, slot 1 holds the base entry (standard) after start-up.
// Every entry owns its mode object; the codes are kept beside them for the status, the call
// history and the menu enabling.
class ModeStack {
 public:
  static constexpr int kLastSlot = 100;

  // Slot 0 and the base entry both hold the standard mode; the top index is 1. The base entry
  // gets `base` (a plain mode of code 2 when null).
  void Reset(std::unique_ptr<Mode> base = nullptr);
  // False (and nothing stored) when the stack is full.
  bool Push(std::unique_ptr<Mode> mode);
  // A mode with no task of its own.
  bool Push(int16_t code) { return Push(std::make_unique<Mode>(code)); }
  // False (and nothing changed) for the base entry, which is never popped. Popped modes stay
  // alive until ReleasePopped, so that a mode may pop itself (and the one below) and return.
  bool Pop();
  void ReleasePopped() { popped_.clear(); }
  int16_t Current() const { return top_ > 0 ? codes_[top_] : int16_t{kNoMode}; }
  int Top() const { return top_; }
  Mode* TopMode() const { return top_ > 0 ? modes_[top_].get() : nullptr; }
  Mode* ModeAt(int slot) const { return slot >= 1 && slot <= top_ ? modes_[slot].get() : nullptr; }
  // Slots 1..top, bottom first.
  std::span<const int16_t> Entries() const {
    return {codes_.data() + 1, static_cast<size_t>(top_ > 0 ? top_ : 0)};
  }

 private:
  std::array<int16_t, kLastSlot + 1> codes_{};
  std::array<std::unique_ptr<Mode>, kLastSlot + 1> modes_{};
  std::vector<std::unique_ptr<Mode>> popped_;
  int top_ = 0;
};

// The Japanese status text of a mode (to be translated, except "Marker"), or nothing for a code
// that has none.
std::optional<std::string_view> StatusTextOf(int16_t mode);
// Status panel 1 shows this for a code without a status text.
inline constexpr std::string_view kUnknownModeText = "________";

// Which of the top-level menus a mode leaves enabled.
struct TopMenuEnabling {
  bool file = false, deform = false, construction = false, measure = false, option = false,
       edit = false, help = false, zoom = false, locus = false;
  friend bool operator==(const TopMenuEnabling&, const TopMenuEnabling&) = default;
};
TopMenuEnabling MenuEnablingFor(int16_t mode);

// Modes that pass clicks and keys to the selection picker.
bool IsSelectionMode(int16_t mode);

}  // namespace kv
