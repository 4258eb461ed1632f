#include "model/short_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "model/figure.h"

namespace kv {
namespace {

// Texts on both sides of the seven bytes held in place, multi-byte characters included.
const std::vector<std::string> kTexts = {
    "",
    "x",
    "AB",
    "1234567",
    "12345678",
    "∠ABC",
    "∠ABCD",
    "d(A, B)",
    "N1*N2+N3/N4^N5-7",
    std::string(70, 'N'),
    std::string("a\0b", 3),
};

TEST(ShortText, HoldsEveryTextAcrossCopiesMovesAndReassignment) {
  for (const std::string& text : kTexts) {
    ShortText a(text);
    EXPECT_EQ(a.view(), text);
    EXPECT_EQ(a.size(), text.size());
    EXPECT_EQ(a.empty(), text.empty());
    ShortText copy = a;
    EXPECT_EQ(copy, a);
    ShortText moved = std::move(copy);
    EXPECT_EQ(moved.view(), text);
    EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
    for (const std::string& other : kTexts) {
      ShortText b(other);
      b = a;
      EXPECT_EQ(b.view(), text);
      b = other;
      EXPECT_EQ(b.view(), other);
      EXPECT_EQ(b == a, other == text);
    }
  }
}

TEST(ShortText, TakesAPartOfItself) {
  ShortText t("SIN(COS(ABCDEFG))");
  t = t.view().substr(4);
  EXPECT_EQ(t, "COS(ABCDEFG))");
  t = t.view().substr(0, 3);
  EXPECT_EQ(t, "COS");
  t = t.view().substr(1);
  EXPECT_EQ(t, "OS");
  t = t;  // NOLINT(misc-redundant-expression)
  EXPECT_EQ(t, "OS");
  std::ostringstream out;
  out << t;
  EXPECT_EQ(out.str(), "OS");
}

TEST(ShortText, KeepsTheNumberRecordSmall) {
  EXPECT_EQ(sizeof(ShortText), 8u);
  EXPECT_LE(sizeof(NumberRec), 40u);
}

}  // namespace
}  // namespace kv
