#include "io/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    bool windowsOnly;  // ":" and "\\" separate folders only on Windows
  } cases[] = {
      {"C:\\data\\tri.kv4", "C:\\data\\", "tri.kv4", "tri", true},
      {"/data/t/a.b.kv4", "/data/t/", "a.b.kv4", "a.b", false},
      {"C:tri.kv4", "C:", "tri.kv4", "tri", true},
      {"plain", "", "plain", "plain", false},
      {"dir/", "dir/", "", "", false},
      {"mixed\\x/y.kv4", "mixed\\x/", "y.kv4", "y", false},
  };
#ifdef _WIN32
  constexpr bool kWindows = true;
#else
  constexpr bool kWindows = false;
#endif
  for (const auto& c : cases) {
    if (c.windowsOnly && !kWindows) {
      // Elsewhere the whole text is the name of a file in the current folder.
      EXPECT_EQ(FolderPart(c.path), "") << c.path;
      EXPECT_EQ(FileNamePart(c.path), c.path) << c.path;
      continue;
    }
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(StripExtension(FileNamePart(c.path)), c.stem) << c.path;
  }
}

#ifndef _WIN32
// Any name that can be read can be saved, also with characters that separate folders on
// Windows.
TEST(FileNames, ColonsAndBackslashesAreOrdinaryCharactersOfANameHere) {
  ScratchFolder dir;
  for (const char* name : {"a:b.kv4", "x\\y.kv4", "C:\\data\\tri.kv4"}) {
    const std::string path = dir.File(name);
    EXPECT_EQ(FileNamePart(path), name);
    EXPECT_EQ(WriteFileAtomically(path, "saved"), "") << name;
    EXPECT_TRUE(FileExists(path)) << name;
    EXPECT_EQ(ReadBytes(path), "saved") << name;
    EXPECT_EQ(WriteFileAtomically(path, "again"), "") << name;
    EXPECT_EQ(ReadBytes(path), "again") << name;
  }
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries, (void)entry;
  EXPECT_EQ(entries, 3);
}
#endif

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
