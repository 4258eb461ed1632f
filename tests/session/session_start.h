// What every session test does first: a program folder of its own, named after the test so
// that tests never share settings files, and a session started in it on a 401 x 301 canvas.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "session/session.h"

namespace kv::testing {

inline std::filesystem::path FreshTestFolder(std::string_view prefix) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (std::string(prefix) + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline void StartIn(Session& session, const std::filesystem::path& folder) {
  Session::StartupArgs args;
  args.programFolder = folder.string();
  args.canvasWidth = 401;
  args.canvasHeight = 301;
  session.Startup(args);
}

}  // namespace kv::testing
