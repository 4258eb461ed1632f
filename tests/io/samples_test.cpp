// The sample figures in samples/: each loads, recomputes with every object defined, and
// survives a write and read byte for byte, also through `kvtool recompute`.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "geometry/recompute.h"
#include "io/kv4_file.h"
#include "io/text_encoding.h"
#include "io_test_util.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;

std::vector<std::filesystem::path> SampleFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(KV_SOURCE_DIR "/samples"))
    if (entry.path().extension() == ".kv4") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Samples, ThereAreAtLeastTenIncludingTheStartFigure) {
  const auto files = SampleFiles();
  EXPECT_GE(files.size(), 10u);
  EXPECT_TRUE(std::filesystem::exists(KV_SOURCE_DIR "/samples/euler_line.kv4"));
}

TEST(Samples, EachLoadsAndSurvivesAWriteAndReadByteForByte) {
  ScratchFolder dir;
  for (const auto& path : SampleFiles()) {
    SCOPED_TRACE(path.filename().string());
    Figure fig;
    FigureFileIO io;
    ASSERT_TRUE(io.Read(fig, path.string()).ok());
    RecomputeAll(fig);
    EXPECT_GT(fig.StepCount(), 0);
    for (int cls = kClassNumber; cls <= kClassCircle; ++cls)
      for (int32_t i = 1; i <= fig.classCount[cls]; ++i)
        EXPECT_NE(fig.GetValid({cls, i}), 0) << "class " << cls << " index " << i;
    const std::string original = ReadBytes(path.string());
    ASSERT_TRUE(io.Write(fig, dir.File("copy.kv4")).ok());
    EXPECT_TRUE(ReadBytes(dir.File("copy.kv4")) == original) << "the copy differs";
    EXPECT_EQ(io.hasComplexSteps, path.filename() == "complex_numbers.kv4");
  }
}

TEST(Samples, KvtoolRecomputeGivesTheSameTables) {
  const std::string kvtool = KV_BINARY_DIR "/kvtool";
  if (!std::filesystem::exists(kvtool)) GTEST_SKIP() << "kvtool is not built";
  ScratchFolder dir;
  for (const auto& path : SampleFiles()) {
    SCOPED_TRACE(path.filename().string());
    const std::string out = dir.File("out.kv4");
    const std::string command =
        "\"" + kvtool + "\" recompute \"" + path.string() + "\" \"" + out + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    Figure in, back;
    FigureFileIO io;
    ASSERT_TRUE(io.Read(in, path.string()).ok());
    ASSERT_TRUE(io.Read(back, out).ok());
    EXPECT_TRUE(FigureFileText(back) == FigureFileText(in)) << "the tables differ";
  }
  // Failures give status 1.
  const std::string missing = "\"" + kvtool + "\" recompute \"" + dir.File("none.kv4") + "\" \"" +
                              dir.File("o.kv4") + "\" 2>/dev/null";
  EXPECT_NE(std::system(missing.c_str()), 0);
}

}  // namespace
}  // namespace kv
