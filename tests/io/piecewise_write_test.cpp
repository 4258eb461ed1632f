// A large figure is written piece by piece: the file holds exactly the bytes of the whole
// text converted at once, multi-byte names included, and every piece ends at a line end.
#include <gtest/gtest.h>

#include <string>

#include "../../bench/figure_generator.h"
#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "io/text_encoding.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;

TEST(PiecewiseWrite, LargeFigureFileEqualsTheWholeTextConvertedAtOnce) {
  Figure fig = bench::GenerateFigure(3000);
  // Japanese names, so that pieces cut anywhere but at line ends would split characters.
  for (int32_t p = 1; p <= fig.classCount[kClassPoint]; ++p)
    fig.SetObjectName(ObjRef{kClassPoint, p}, p % 3 == 0 ? "点Ｐ" : "交点");
  RecomputeAll(fig);

  size_t pieces = 0, total = 0;
  ForEachFigureTextPiece(fig, [&](std::string_view piece) {
    ++pieces;
    total += piece.size();
    ASSERT_GE(piece.size(), 2u);
    EXPECT_EQ(piece.substr(piece.size() - 2), "\r\n");
  });
  const std::string whole = FigureFileText(fig);
  EXPECT_GT(pieces, 5u);  // the figure's text is several pieces long
  EXPECT_EQ(total, whole.size());

  ScratchFolder dir;
  FigureFileIO io;
  ASSERT_TRUE(io.Write(fig, dir.File("big.kv4"), false).ok());
  EXPECT_EQ(ReadBytes(dir.File("big.kv4")), Utf8ToShiftJis(whole));
}

}  // namespace
}  // namespace kv
