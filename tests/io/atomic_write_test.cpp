// Saving through a temporary file: nothing is left behind, links stay links, long names save,
// and a save killed at any moment leaves either the old or the new file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "io/file_names.h"
#include "io_test_util.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// Every entry of a folder except the given names.
std::vector<std::string> OtherEntries(const fs::path& folder,
                                      std::initializer_list<std::string_view> known) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (std::find(known.begin(), known.end(), name) == known.end()) names.push_back(name);
  }
  return names;
}

TEST(AtomicWrite, StaleTemporariesOfTheTargetGoAtTheNextSaveAndNothingElse) {
  ScratchFolder dir;
  // What killed saves of f.kv4 leave, beside files that only look alike.
  for (const char* name : {".f.kv4~a1B2c3", ".f.kv4~zzzzzz"}) WriteBytes(dir.File(name), "x");
  for (const char* name : {".g.kv4~a1B2c3", ".f.kv4~short", "f.kv4~a1B2c3", ".f.kv4.bak"})
    WriteBytes(dir.File(name), "keep");
  // A save of the same file under way in another program holds its temporary locked.
  const int live = open(dir.File(".f.kv4~LiVe00").c_str(), O_CREAT | O_RDWR, 0600);
  ASSERT_GE(live, 0);
  ASSERT_EQ(flock(live, LOCK_EX), 0);

  EXPECT_EQ(WriteFileAtomically(dir.File("f.kv4"), "new"), "");
  EXPECT_EQ(ReadBytes(dir.File("f.kv4")), "new");
  std::vector<std::string> left = OtherEntries(dir.path(), {"f.kv4"});
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".f.kv4.bak", ".f.kv4~LiVe00", ".f.kv4~short",
                                            ".g.kv4~a1B2c3", "f.kv4~a1B2c3"}));
  close(live);
}

TEST(AtomicWrite, LinksAreWrittenThroughAndLoopsRefused) {
  ScratchFolder dir;
  fs::create_directory(dir.path() / "sub");
  // A relative link to a file that does not exist yet: the file is made, the link stays.
  fs::create_symlink("sub/target.kv4", dir.File("dangling.kv4"));
  EXPECT_EQ(WriteFileAtomically(dir.File("dangling.kv4"), "one"), "");
  EXPECT_TRUE(fs::is_symlink(dir.File("dangling.kv4")));
  EXPECT_EQ(ReadBytes(dir.File("sub/target.kv4")), "one");
  // A chain of links, the last one relative to its own folder.
  fs::create_symlink("target.kv4", dir.File("sub/inner.kv4"));
  fs::create_symlink("sub/inner.kv4", dir.File("outer.kv4"));
  EXPECT_EQ(WriteFileAtomically(dir.File("outer.kv4"), "two"), "");
  EXPECT_TRUE(fs::is_symlink(dir.File("outer.kv4")));
  EXPECT_TRUE(fs::is_symlink(dir.File("sub/inner.kv4")));
  EXPECT_EQ(ReadBytes(dir.File("sub/target.kv4")), "two");
  // Links that loop are refused and stay as they are.
  fs::create_symlink("loop_b.kv4", dir.File("loop_a.kv4"));
  fs::create_symlink("loop_a.kv4", dir.File("loop_b.kv4"));
  EXPECT_EQ(WriteFileAtomically(dir.File("loop_a.kv4"), "three"), "the symbolic link loops");
  EXPECT_TRUE(fs::is_symlink(dir.File("loop_a.kv4")));
  EXPECT_EQ(fs::read_symlink(dir.File("loop_a.kv4")), "loop_b.kv4");
  EXPECT_TRUE(
      OtherEntries(dir.path(), {"sub", "dangling.kv4", "outer.kv4", "loop_a.kv4", "loop_b.kv4"})
          .empty());
}

TEST(AtomicWrite, TheLongestNameTheFolderTakesCanBeSaved) {
  ScratchFolder dir;
  const long max = pathconf(dir.path().c_str(), _PC_NAME_MAX);
  ASSERT_GT(max, 20);
  // Two names of the longest length that differ only at the end must not share temporaries.
  const std::string a = std::string(static_cast<size_t>(max) - 4, 'n') + ".kv4";
  std::string b = a;
  b[b.size() - 5] = 'm';
  EXPECT_EQ(WriteFileAtomically(dir.File(a), "a"), "");
  EXPECT_EQ(WriteFileAtomically(dir.File(b), "b"), "");
  EXPECT_EQ(ReadBytes(dir.File(a)), "a");
  EXPECT_EQ(ReadBytes(dir.File(b)), "b");
  EXPECT_TRUE(OtherEntries(dir.path(), {a, b}).empty());
  // A name that is too long for the folder fails with a reason instead of crashing.
  EXPECT_NE(WriteFileAtomically(dir.File(a + "x"), "c"), "");
}

// A save killed at random moments, a hundred times over: the target is always the old or the
// new text in full, at most the one temporary of the save just killed is left, and the next
// save that finishes leaves none.
TEST(AtomicWrite, KilledSavesLeaveTheOldOrNewFileAndNoTemporaryAfterTheNextSave) {
  ScratchFolder dir;
  const std::string path = dir.File("killed.kv4");
  // Large enough that the write takes a few milliseconds, so that kills land inside it.
  const std::string oldText(4 << 20, 'o'), newText(5 << 20, 'n');
  WriteBytes(path, oldText);
  std::mt19937 random(7);
  int leftBehind = 0;
  const auto start = std::chrono::steady_clock::now();
  int kills = 0;
  for (; kills < 120; ++kills) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      WriteFileAtomically(path, (kills % 2 ? newText : oldText));
      _exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 12000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::vector<std::string> temps = OtherEntries(dir.path(), {"killed.kv4"});
    ASSERT_LE(temps.size(), 1u) << "temporaries pile up";
    leftBehind += static_cast<int>(temps.size());
    const std::string now = ReadBytes(path);
    ASSERT_TRUE(now == oldText || now == newText) << "a torn file of " << now.size() << " bytes";
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(60)) break;
  }
  EXPECT_GE(kills, 100);
  RecordProperty("kills", kills);
  RecordProperty("killsThatLeftATemporary", leftBehind);
  // The loop is only a test of recovery when some kills hit a save in the middle.
  EXPECT_GT(leftBehind, 0);
  EXPECT_EQ(WriteFileAtomically(path, "final"), "");
  EXPECT_EQ(ReadBytes(path), "final");
  EXPECT_TRUE(OtherEntries(dir.path(), {"killed.kv4"}).empty());
}

}  // namespace
}  // namespace kv
