// Every input kept under fuzz/regressions/<target>/ (reproducers of faults found by fuzzing)
// and every seed under fuzz/seeds/<target>/ runs through its fuzz target body, so that a fixed
// fault stays fixed without a fuzzing build.
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz_targets.h"
#include "io_test_util.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

int RunFolder(const fs::path& folder, const fuzz::NamedTarget& target) {
  int count = 0;
  if (!fs::is_directory(folder)) return 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    ++count;
    const std::string bytes = testing::ReadBytes(entry.path().string());
    try {
      target.run(bytes);
    } catch (const fuzz::FuzzFailure& failure) {
      ADD_FAILURE() << target.name << ": " << entry.path().filename().string() << ": "
                    << failure.what();
    }
  }
  return count;
}

TEST(FuzzRegressions, EveryReproducerAndSeedPassesItsTarget) {
  const fs::path root = fs::path(KV_SOURCE_DIR) / "fuzz";
  int regressions = 0, seeds = 0;
  for (const fuzz::NamedTarget& target : fuzz::kTargets) {
    SCOPED_TRACE(target.name);
    regressions += RunFolder(root / "regressions" / target.name, target);
    seeds += RunFolder(root / "seeds" / target.name, target);
  }
  EXPECT_GT(regressions, 0);
  EXPECT_GT(seeds, 0);
}

}  // namespace
}  // namespace kv
