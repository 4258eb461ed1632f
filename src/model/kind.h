// Kind codes and the kind catalogue. The code text is what files and reports see; it is parsed
// once (on append and on load) into a Kind, and everything about a kind is read from the one
// catalogue table in kind_catalogue.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/menu_command.h"

namespace kv {

enum class Kind : uint8_t {
  kNone,     // empty slot
  kUnknown,  // a code that is not in the catalogue: computes nothing
  // Points
  kP1,
  kP2,
  kP3,
  kP4,
  kP5,
  kP6,
  kPC1,
  kPC2,
  kPC3,
  kPN,
  kPEXT,
  kPXY,
  kPNEW,
  kPBND,
  kPT1,
  kPT2,
  kPT3,
  kPT4,
  kPT5,
  kPT6,
  kPT7,
  kPT62,
  kPT8,
  kPT9,
  kPOAdd,
  kPOSub,
  kPOMul,
  kPODiv,
  kPOPow,
  kPOInv,
  kPNEQ,
  // Lines
  kL1,
  kL2,
  kL3,
  kL4,
  kL5,
  kL6,
  kL7,
  kL8,
  kLH1,
  kLH2,
  kLRO,
  kLHRO,
  kLT1,
  kLT2,
  kLT3,
  kL3Macro,
  kLH2Macro,
  kLPGN,
  kLRGN,
  kLPGPending,
  // Circles
  kC1,
  kC2,
  kC3,
  kC4,
  kC5,
  kC6,
  kC7,
  kCRO,
  kCT1,
  kCT2,
  kCT3,
  // Numbers
  kND2P,
  kNDPL,
  kNPL2,
  kNDPC,
  kND2L,
  kNDLC,
  kND2C,
  kNA3P,
  kNA3Star,
  kNA3M,
  kNA3Plus,
  kNA2L,
  kNAR3,
  kNARPlus,
  kNAR4,
  kNLC,
  kNRC,
  kNPX,
  kNPX2,
  kNPY,
  kNSIN,
  kNCOS,
  kNTAN,
  kCALC,
  kCount
};

// Which routine recomputes a step: by the first letter of its code ("CALC" is an expression).
enum class KindFamily : uint8_t { kNone, kPoint, kLine, kCircle, kNumber, kExpression };

struct KindInfo {
  Kind kind;
  std::string_view code;
  KindFamily family;
  // Class letters of the parents and outputs in slot order: 'N' number, 'P' point, 'L' line,
  // 'C' circle, 'X' line or circle, '*' a variable list (macros). Informational; the kind
  // routines read their slots directly.
  std::string_view parents;
  std::string_view outputs;
  std::string_view descriptionJa;  // empty when the kind has no description
  std::string_view descriptionEn;  // English text of the description; empty = shown in Japanese
  // The menu commands that construct the kind (kNone in unused places).
  std::array<MenuCommand, 3> menuCommands;
  bool macro;  // expanded by the construction command; a marker step
};

// The whole catalogue, in the order of the description table (first match wins).
std::span<const KindInfo> KindCatalogue();
// Info for a kind (kNone and kUnknown give an entry with empty texts).
const KindInfo& InfoOf(Kind kind);
// Parses a code; trailing spaces are ignored. Unknown codes give Kind::kUnknown,
// an empty text gives Kind::kNone.
Kind ParseKind(std::string_view code);
inline std::string_view CodeOf(Kind kind) { return InfoOf(kind).code; }
// The kind a menu command constructs; Kind::kNone for a command that constructs none.
Kind KindOfCommand(MenuCommand cmd);
// How many leading output slots a step of this kind must fill; the slots after them in the
// output template are optional (a perpendicular made by the foot macro has no foot point).
int RequiredOutputs(Kind kind);

}  // namespace kv
