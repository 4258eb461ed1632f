// kvtool play: runs a script of user actions through the same session the window uses, with
// no display, and writes the resulting figure.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "session/script_player.h"

namespace kv::cli {

namespace {

// No script comes near this; it keeps a wrong file from being read whole into memory.
constexpr std::streamsize kMaxScriptBytes = std::streamsize{16} << 20;

bool ReadScript(const std::string& path, std::string& text, std::string& error) {
  std::istream* in = &std::cin;
  std::ifstream file;
  if (path != "-") {
    file.open(path, std::ios::binary);
    if (!file) {
      error = path + ": the script could not be read";
      return false;
    }
    in = &file;
  }
  std::ostringstream buffer;
  buffer << in->rdbuf();
  text = buffer.str();
  if (static_cast<std::streamsize>(text.size()) > kMaxScriptBytes) {
    error = path + ": the script is too large";
    return false;
  }
  return true;
}

}  // namespace

int PlayCommand(int argc, char** argv) {
  constexpr std::string_view kUsage = "usage: kvtool play SCRIPT [IN.kv4] OUT.kv4 [--lang ja|en]";
  PlayOptions options;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--lang" && i + 1 < argc) {
      const std::string_view lang = argv[++i];
      if (lang != "ja" && lang != "en") return Fail("--lang takes ja or en");
      options.language = lang == "en" ? Language::kEnglish : Language::kJapanese;
    } else if (arg.starts_with("--")) {
      return Fail(kUsage);
    } else {
      files.emplace_back(arg);
    }
  }
  if (files.size() != 2 && files.size() != 3) return Fail(kUsage);
  std::string text, error;
  if (!ReadScript(files[0], text, error)) return Fail(error);
  if (files.size() == 3) options.inputFigure = files[1];
  options.outputFigure = files.back();
  const PlayResult result = RunScript(text, options, std::cout);
  std::cout.flush();
  if (!result.warning.empty()) std::fprintf(stderr, "warning: %s\n", result.warning.c_str());
  if (result.status != kPlayDone) std::fprintf(stderr, "%s\n", result.error.c_str());
  return result.status;
}

}  // namespace kv::cli
