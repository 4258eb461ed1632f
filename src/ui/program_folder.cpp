// Program folder and shipped-file resolution.
#include "ui/program_folder.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace kv {

namespace fs = std::filesystem;

namespace {

// Files a user may change that start from the shipped copy.
constexpr const char* kSeededFiles[] = {"config_kvwin.txt", "dic_kv4.txt", "kv_html_org.htm"};
// Files that belong to the program: a newer shipped copy (after an upgrade) replaces them.
constexpr const char* kRefreshedFiles[] = {"kvview.js"};

fs::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? fs::path(value) : fs::path();
}

}  // namespace

bool FolderWritable(const fs::path& folder) {
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return false;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path probe = folder / (".kvwin_probe_" + std::to_string(stamp));
  {
    std::ofstream out(probe, std::ios::binary);
    if (!out) return false;
  }
  fs::remove(probe, ec);
  return true;
}

bool HoldsShippedFiles(const fs::path& folder) {
  std::error_code ec;
  return fs::is_regular_file(folder / "document" / "help.htm", ec) ||
         fs::is_directory(folder / "samples", ec);
}

fs::path FindShippedFolder(const fs::path& executableFolder) {
  if (HoldsShippedFiles(executableFolder)) return executableFolder;
  const fs::path installed = executableFolder.parent_path() / "share" / kInstallDataName;
  if (HoldsShippedFiles(installed)) return installed.lexically_normal();
  return executableFolder;
}

fs::path UserDataFolder() {
#ifdef _WIN32
  fs::path base = FromEnvironment("APPDATA");
#else
  fs::path base = FromEnvironment("XDG_DATA_HOME");
  if (base.empty()) {
    const fs::path home = FromEnvironment("HOME");
    if (!home.empty()) base = home / ".local" / "share";
  }
#endif
  return base.empty() ? base : base / kInstallDataName;
}

std::string ResolveProgramFolder(const std::string& executableFolder) {
  const fs::path exe(executableFolder);
  // An installed program never writes beside itself, even for an administrator who could.
  if (HoldsShippedFiles(exe) && FolderWritable(exe)) return executableFolder;
  const fs::path folder = UserDataFolder();
  if (folder.empty()) return executableFolder;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) return executableFolder;
  const fs::path shipped = FindShippedFolder(exe);
  for (const char* name : kSeededFiles) {
    const fs::path from = shipped / name;
    if (fs::is_regular_file(from, ec) && !fs::exists(folder / name, ec))
      fs::copy_file(from, folder / name, ec);
  }
  for (const char* name : kRefreshedFiles) {
    const fs::path from = shipped / name;
    if (fs::is_regular_file(from, ec))
      fs::copy_file(from, folder / name, fs::copy_options::update_existing, ec);
  }
  return folder.string();
}

}  // namespace kv
