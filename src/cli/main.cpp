// kvtool: the headless command line for figure files (recompute, report, merge, info).
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "session/script_player.h"

namespace {

#ifdef KV_RENDER_PROGRAM
// The picture command runs in kvtool-render beside this program, so that the figure commands
// load no Qt library. argv[0] is the command name, which kvtool-render expects too.
int RenderInItsProgram(int argc, char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return kv::cli::Fail("cannot find the folder of kvtool: " + error.message());
  const std::string program = (self.parent_path() / "kvtool-render").string();
  std::vector<char*> args{const_cast<char*>(program.c_str())};
  args.insert(args.end(), argv, argv + argc);
  args.push_back(nullptr);
  std::fflush(stdout);
  execv(program.c_str(), args.data());
  return kv::cli::Fail("cannot start " + program + ": " + std::strerror(errno));
}
#endif

struct Command {
  std::string_view name;
  std::string_view usage;
  std::string_view summary;
  int (*run)(int argc, char** argv);
  bool hidden;
  std::string_view details = {};  // printed by "kvtool COMMAND --help" below the usage
};

// One row per subcommand.
constexpr Command kCommands[] = {
    {"recompute", "recompute IN.kv4 OUT.kv4", "read a figure, recompute it and write it",
     kv::cli::RecomputeCommand, false},
    {"report", "report IN.kv4 [--lang ja|en]", "print the construction data report",
     kv::cli::ReportCommand, false},
    {"merge", "merge A.kv4 B.kv4 OUT.kv4", "append figure B behind figure A and write the result",
     kv::cli::MergeCommand, false},
    {"info", "info IN.kv4",
     "tab-separated, one line per object: class, index, name, validity, coordinates or value",
     kv::cli::InfoCommand, false},
    {"html", "html IN.kv4 OUT.htm [--program-folder DIR]",
     "write the web page of a figure, with the viewer beside it", kv::cli::HtmlCommand, false},
    {"coords", "coords IN.kv4", "every coordinate with 17 significant digits",
     kv::cli::CoordsCommand, true},
#ifdef KV_RENDER_PROGRAM
    {"render", "render IN.kv4 OUT.png [--width W --height H]",
     "paint a figure into a PNG image (default 640 x 480)", RenderInItsProgram, false},
#endif
    {"play", "play SCRIPT [IN.kv4] OUT.kv4 [--lang ja|en]",
     "run a script of user actions (menu, click, drag, key, ...) and write the figure",
     kv::cli::PlayCommand, false, kv::kScriptHelp},
    {"make-samples", "make-samples DIR", "write the sample figures into DIR",
     kv::cli::MakeSamplesCommand, true},
};

void PrintHelp() {
  std::printf("Usage: kvtool COMMAND ARGS...\n\nCommands:\n");
  for (const Command& c : kCommands) {
    if (c.hidden) continue;
    std::printf("  %-40.*s %.*s\n", static_cast<int>(c.usage.size()), c.usage.data(),
                static_cast<int>(c.summary.size()), c.summary.data());
  }
  std::printf(
      "\nFigure files are KV4 text in Shift_JIS; everything printed is UTF-8.\n"
      "Exit status: 0 on success, 1 on failure (with one line on stderr); play exits\n"
      "with 2 when its script has a malformed line or an action that cannot be done.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return kv::cli::Fail("no command given (see kvtool --help)");
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp();
    return 0;
  }
  for (const Command& c : kCommands) {
    if (c.name != name) continue;
    for (int i = 2; i < argc; ++i) {
      if (std::strcmp(argv[i], "--help") == 0) {
        std::printf("Usage: kvtool %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
        if (!c.details.empty())
          std::printf("\n%.*s", static_cast<int>(c.details.size()), c.details.data());
        return 0;
      }
    }
    return c.run(argc - 1, argv + 1);
  }
  return kv::cli::Fail("unknown command \"" + std::string(name) + "\" (see kvtool --help)");
}
