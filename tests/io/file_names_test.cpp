#include "io/file_names.h"

#include <gtest/gtest.h>

#include "io_test_util.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

TEST(FileNames, PathParts) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* stem;
  } cases[] = {
      {"C:\\data\\tri.kv4", "C:\\data\\", "tri.kv4", "tri"},
      {"/data/t/a.b.kv4", "/data/t/", "a.b.kv4", "a.b"},
      {"C:tri.kv4", "C:", "tri.kv4", "tri"},
      {"plain", "", "plain", "plain"},
      {"dir/", "dir/", "", ""},
      {"mixed\\x/y.kv4", "mixed\\x/", "y.kv4", "y"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(StripExtension(FileNamePart(c.path)), c.stem) << c.path;
  }
}

TEST(FileNames, FieldOfSplitsAtTheEarliestDelimiter) {
  const struct {
    std::string text;
    const char* delimiters;
    int n;
    std::string field;
  } cases[] = {
      {"a,b,c", ",", 1, "a"},
      {"a,b,c", ",", 2, "b"},
      {"a,b,c", ",", 3, "c"},
      {"a,b,c", ",", 4, ""},
      {"abc", ",", 1, "abc"},
      {"abc", ",", 2, ""},
      {"k=v;w", ";=", 2, "v"},
      {"x_y@z", "@", 1, "x_y"},
      {"name@expr@more", "@", 2, "expr"},
      {"=value", "=", 1, ""},
      {"∠ABC,d", ",", 2, "d"},
      // A delimiter at character position 100 or later does not count.
      {std::string(98, 'a') + "=b", "=", 2, "b"},
      {std::string(99, 'a') + "=b", "=", 1, std::string(99, 'a') + "=b"},
      {std::string(99, 'a') + "=b", "=", 2, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FieldOf(c.text, c.delimiters, c.n), c.field) << c.text << " " << c.n;
}

TEST(FileNames, ExistenceChecks) {
  ScratchFolder dir;
  WriteBytes(dir.File("a.kv4"), "x");
  EXPECT_TRUE(FileExists(dir.File("a.kv4")));
  EXPECT_FALSE(FileExists(dir.File("b.kv4")));
  EXPECT_FALSE(FileExists(dir.path().string()));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FolderExists(dir.path().string()));
  EXPECT_FALSE(FolderExists(dir.File("a.kv4")));
}

TEST(FileNames, ReplaceInFileRewritesEveryOccurrence) {
  ScratchFolder dir;
  const std::string path = dir.File("t.htm");
  WriteBytes(path, "<p>%KVFILE%</p>\nsrc=%KVFILE%\r\nend");
  ASSERT_TRUE(ReplaceInFile(path, "%KVFILE%", "図.kv4"));
  EXPECT_EQ(ReadBytes(path),
            "<p>\x90}.kv4</p>\r\nsrc=\x90}.kv4\r\nend\r\n\r\n");  // 図 in Shift_JIS
  WriteBytes(path, "");
  EXPECT_FALSE(ReplaceInFile(path, "a", "b"));
  EXPECT_FALSE(ReplaceInFile(dir.File("missing.htm"), "a", "b"));
}

}  // namespace
}  // namespace kv
