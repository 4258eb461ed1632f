// kvtool play: runs a script of user actions through the same session the window uses, with
// no display, and writes the resulting figure.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

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
  if (argc != 3 && argc != 4) return Fail("usage: kvtool play SCRIPT [IN.kv4] OUT.kv4");
  std::string text, error;
  if (!ReadScript(argv[1], text, error)) return Fail(error);
  PlayOptions options;
  if (argc == 4) options.inputFigure = argv[2];
  options.outputFigure = argv[argc - 1];
  const PlayResult result = RunScript(text, options, std::cout);
  std::cout.flush();
  if (result.status != kPlayDone) std::fprintf(stderr, "%s\n", result.error.c_str());
  return result.status;
}

}  // namespace kv::cli
