// Number display text and the input-box rules of the colour and size commands.
#include "draw/number_text.h"

#include <gtest/gtest.h>

#include "draw/draw_settings.h"

namespace kv {
namespace {

TEST(NumberText, AlignsOnThePointWithFixedDecimals) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {3.5, 2, "   3.50"},     // two blanks, blank sign, 3.50
      {-12.25, 2, " -12.25"},  // one blank, "-", 12.25
      {0, 2, "   0.00"},
      {0.25, 3, "   0.250"},  // a leading "0" before the point
      {0.001, 2, "   0.00"},
      {123.456, 3, " 123.456"},
      {1234.5, 1, " 1234.5"},  // no alignment blanks from 1000 on
      {-98765.4321, 2, "-98765.43"},
      {9.999, 2, "  10.00"},  // the carry adds a digit
      {999.996, 2, " 1000.00"},
      {0.125, 2, "   0.13"},  // halves round away from zero
      {2.675, 2, "   2.68"},  // as the decimal form reads, not the binary value
      {1.005, 2, "   1.01"},
      {-0.5, 0, "  -1."},  // no decimals keeps the point
      {7, 0, "   7."},
      {-0.001, 2, "  -0.00"},  // the sign follows the value before rounding
      {1e20, 2, " 100000000000000000000.00"},
      {3.25, 25, "   3.25000000000000000000"},  // at most 20 decimals
      {3.25, -4, "   3."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NumberText(c.value, c.decimals), c.text) << c.value << " / " << c.decimals;
}

TEST(NumberText, TinyHugeAndNonFiniteValuesStayBounded) {
  EXPECT_EQ(NumberText(1e-300, 3), "   0.000");
  EXPECT_EQ(NumberText(-5e-324, 2), "  -0.00");
  std::string huge = NumberText(1.7e308, 20);
  EXPECT_EQ(huge.size(), 1u + 309 + 1 + 20);
  EXPECT_EQ(huge.substr(0, 4), " 170");
  EXPECT_EQ(NumberText(1.0 / 0.0, 2), "    Inf");
  EXPECT_EQ(NumberText(-1.0 / 0.0, 2), "   -Inf");
}

TEST(DrawSettings, InputBoxEntries) {
  struct Case {
    const char* entry;
    int strength, width, font, keta;
  } cases[] = {
      {"abc", 255, 1, 6, 0},  // not a number reads as 0
      {"", 255, 1, 6, 0},          {"0", 255, 1, 6, 0},
      {"128.9", 128, 10, 100, 20}, {" 7", 7, 7, 7, 7},
      {"3.9", 3, 3, 6, 3},         {"12.7x", 12, 10, 12, 12},
      {"-3", 255, 1, 6, 0},        {"300", 255, 10, 100, 20},
      {"1e2", 100, 10, 100, 20},   {"99999999999999999999", 255, 10, 100, 20},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColorStrengthFromEntry(c.entry), c.strength) << c.entry;
    EXPECT_EQ(DrawWidthFromEntry(c.entry), c.width) << c.entry;
    EXPECT_EQ(FontSizeFromEntry(c.entry), c.font) << c.entry;
    EXPECT_EQ(KetaDecimalFromEntry(c.entry), c.keta) << c.entry;
  }
}

TEST(DrawSettings, PaletteFollowsColourStrength) {
  DrawSettings s;
  s.ColorStrength = 200;
  s.background = {1, 2, 3};
  const Rgb expected[8] = {{1, 2, 3},   {200, 0, 0},   {0, 200, 0},   {200, 200, 0},
                           {0, 0, 200}, {200, 0, 200}, {0, 200, 200}, {0, 0, 0}};
  for (int i = 0; i < 8; ++i) {
    Rgb c;
    EXPECT_TRUE(PaletteColour(s, i, c));
    EXPECT_EQ(c, expected[i]) << i;
  }
  Rgb c;
  EXPECT_TRUE(PaletteColour(s, 12, c));
  EXPECT_EQ(c, (Rgb{255, 0, 0}));
  EXPECT_FALSE(PaletteColour(s, 16, c));
  EXPECT_EQ(c, kBlack);
  EXPECT_FALSE(PaletteColour(s, -1, c));
  s.ColorStrength = 0;  // an old settings file: full strength
  PaletteColour(s, 1, c);
  EXPECT_EQ(c, (Rgb{255, 0, 0}));
}

}  // namespace
}  // namespace kv
