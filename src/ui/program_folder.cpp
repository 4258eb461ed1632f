// Program folder resolution.
#include "ui/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kv {

namespace fs = std::filesystem;

std::string ResolveProgramFolder(const std::string& executableFolder) {
  if (!executableFolder.empty() && access(executableFolder.c_str(), W_OK) == 0)
    return executableFolder;
  fs::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".local" / "share";
  } else {
    return executableFolder;
  }
  fs::path folder = base / "korvane";
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return executableFolder;
  // Seed the per-user copy with the read-only data shipped beside the program.
  for (const char* name : {"config_kvwin.txt", "dic_kv4.txt", "kv_html_org.htm"}) {
    fs::path from = fs::path(executableFolder) / name;
    if (fs::exists(from, ec) && !fs::exists(folder / name, ec))
      fs::copy_file(from, folder / name, ec);
  }
  return folder.string();
}

}  // namespace kv
