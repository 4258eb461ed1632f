// The canvas settings the picture depends on (colours, pen width, font, label and number
// display) with the palette of colour indices, and the rules that turn the user's entries in
// the colour and size input boxes into settings.
#pragma once

#include <string>
#include <string_view>

#include "draw/canvas.h"

namespace kv {

constexpr int kMaxKetaDecimal = 20;

struct DrawSettings {
  Rgb background = kWhite;
  int ColorStrength = 255;  // 1..255, intensity of the six chromatic colours
  int drawWidth = 1;        // pixels, 1..10
  double fontSize = 9;      // points; labels and the number list
  std::string fontName = "FixedSys";
  bool NotChrDisp = false;  // point labels hidden in the standard, drag and busy modes
  int KetaDecimal = 2;      // decimals of displayed numbers
};

// The colour of palette index `index` (0 = background, 1..7 the figure colours, 8..15 the
// classic 16-colour console entries). Returns false for any other index, with black in `out`.
bool PaletteColour(const DrawSettings& settings, int index, Rgb& out);

// The user's entry in an input box as a number: leading blanks skipped, then the longest
// prefix that reads as a decimal number; 0 when there is none ("abc", "").
double EntryValue(std::string_view entry);

// The settings the input boxes give for an entry.
int ColorStrengthFromEntry(std::string_view entry);  // 1..255, anything else 255
int DrawWidthFromEntry(std::string_view entry);      // clamped to 1..10
int FontSizeFromEntry(std::string_view entry);       // clamped to 6..100
int KetaDecimalFromEntry(std::string_view entry);    // clamped to 0..20

}  // namespace kv
