#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "io/kv4_file.h"
#include "io/text_encoding.h"

namespace kv {
namespace {

// Reading numbers takes a shortcut for the short decimals the file writes; it must give the
// very double the C library's correctly rounded conversion gives.
TEST(FileNumber, ReadsEveryWrittenNumberToTheSameDoubleAsStrtod) {
  const char* const fixed[] = {"0",
                               "-0",
                               "2",
                               "-3.5",
                               ".5",
                               "0.05",
                               "1E-05",
                               "-1.5E+15",
                               "0.1",
                               "0.3",
                               "123456789012345",
                               "1234567890123456",
                               "9007199254740993",
                               "1E+22",
                               "1E+23",
                               "1E-22",
                               "1E-23",
                               "4.9E-324",
                               "1.7976931348623157E+308",
                               "000012.5000",
                               "0.000000000000000000000001",
                               "3.14159265358979"};
  auto check = [](const std::string& text) {
    const std::optional<double> v = ParseFileNumber(text);
    ASSERT_TRUE(v.has_value()) << text;
    const double expected = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(std::memcmp(&*v, &expected, sizeof expected), 0) << text;
  };
  for (const char* text : fixed) check(text);

  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> scale(-30, 30);
  for (int i = 0; i < 20000; ++i) {
    const double value = mantissa(rng) * std::pow(10.0, scale(rng));
    check(FileNumber(value));
    char text[40];
    std::snprintf(text, sizeof text, "%.*f", i % 17, value);
    check(text);
  }
}

TEST(FileNumber, ShiftJisTextReadsTheSameWhateverItsMixOfAscii) {
  // Trail bytes in the ASCII range (0x5C, 0x40, 0x7E) must stay with their lead bytes.
  const std::string utf8 = "\"表\",A\\ソ\"能\"ｱ,x~\r\n点";
  const std::string sjis = Utf8ToShiftJis(utf8);
  ASSERT_NE(sjis.find('\x5C'), std::string::npos);
  EXPECT_EQ(ShiftJisToUtf8(sjis), utf8);
  EXPECT_EQ(ShiftJisToUtf8("plain,1.5\r\n"), "plain,1.5\r\n");
  // A lead byte without its trail byte is not text.
  EXPECT_FALSE(ShiftJisToUtf8(sjis.substr(0, 2)).has_value());
}

}  // namespace
}  // namespace kv
