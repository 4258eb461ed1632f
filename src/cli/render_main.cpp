// kvtool-render: the picture command of kvtool in a program of its own, the only one of the
// command line that loads QtGui. kvtool starts it with the command name and its arguments.
#include <string_view>

#include "cli/commands.h"

int main(int argc, char** argv) {
  if (argc < 2 || std::string_view(argv[1]) != "render")
    return kv::cli::Fail("kvtool-render is started by kvtool render (see kvtool --help)");
  return kv::cli::RenderCommand(argc - 1, argv + 1);
}
