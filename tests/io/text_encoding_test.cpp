// Telling a figure file written by hand in UTF-8 from the usual Shift_JIS one.
#include "io/text_encoding.h"

#include <gtest/gtest.h>

#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(TextEncoding, UnmistakableUtf8IsRecognisedAndShiftJisNeverIs) {
  const struct {
    std::string bytes;
    bool utf8;
  } cases[] = {
      {"plain ASCII, 1,2\r\n\"A\"", false},
      {"\"\xE2\x88\xA0"
       "ABC\"",
       true},                                        // "∠ABC" in UTF-8
      {"\"\xE7\x82\xB9P\",\"\xE9\x95\xB7\"", true},  // kanji in UTF-8
      {"\"\xE3\x81\x82\xE3\x81\x84\"", true},        // two kana: also valid Shift_JIS bytes
      {"\"\x81\xDA"
       "ABC\"",
       false},  // "∠ABC" in Shift_JIS
      {"\"\x93\x5F"
       "P\"",
       false},                          // a kanji whose second byte is "_"
      {"\"\x82\xA0\x82\xA2\"", false},  // two kana in Shift_JIS
      {"\"\xC3\xBD\"", false},      // two half-width katakana, or one accented letter: ambiguous
      {"\"\xED\xA0\x80\"", false},  // a UTF-16 surrogate is not UTF-8
      {"\"\xC0\xAF\"", false},      // nor is an overlong form
      {"\"\xE2\x88\"", false},      // nor a cut sequence
      {"\"\xC3\xA9\x81\"", false},  // a stray continuation byte
      {"\"\xC3\xA9\",\"\x81\x40\"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksLikeUtf8(c.bytes), c.utf8) << c.bytes;
}

TEST(TextEncoding, HandWrittenUtf8FigureReadsAsUtf8AndSavesAsShiftJis) {
  ScratchFolder dir;
  // One number named "∠ABC" (a measurement's usual name) and a point named "点".
  const std::string utf8 = testing::CrLfLines({"1",
                                               "\"PNEW\"",
                                               "0,0",
                                               "0,0",
                                               "0,0",
                                               "0,0",
                                               "0,0",
                                               "1,1",
                                               "0,0",
                                               "0,0",
                                               "0,0",
                                               "0,0",
                                               "1",
                                               "1",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               "0",
                                               "45,-1,\"\xE2\x88\xA0"
                                               "ABC@\"",
                                               "0",
                                               "2,3",
                                               "7",
                                               "0",
                                               "-1",
                                               "2",
                                               "-1",
                                               "0,0",
                                               "0",
                                               "\"\xE7\x82\xB9\""});
  WriteBytes(dir.File("hand.kv4"), utf8);
  FigureFileIO io;
  Figure fig;
  ASSERT_TRUE(io.Read(fig, dir.File("hand.kv4")).ok());
  EXPECT_TRUE(io.readAsUtf8);
  EXPECT_EQ(fig.numbers[1].name, "∠ABC");
  EXPECT_EQ(fig.points[1].name, "点");

  ASSERT_TRUE(io.Write(fig, dir.File("saved.kv4")).ok());
  const std::string saved = ReadBytes(dir.File("saved.kv4"));
  EXPECT_NE(saved.find("\"\x81\xDA"
                       "ABC@\""),
            std::string::npos);  // Shift_JIS on disk
  EXPECT_NE(saved.find("\"\x93\x5F\""), std::string::npos);
  Figure back;
  ASSERT_TRUE(io.Read(back, dir.File("saved.kv4")).ok());
  EXPECT_FALSE(io.readAsUtf8);
  EXPECT_EQ(back.numbers[1].name, "∠ABC");
  EXPECT_EQ(back.points[1].name, "点");

  // A merge says the same of the file it adds.
  ASSERT_TRUE(io.Merge(back, dir.File("hand.kv4")).ok());
  EXPECT_TRUE(io.readAsUtf8);
  EXPECT_EQ(back.points[2].name, "点");
}

}  // namespace
}  // namespace kv
