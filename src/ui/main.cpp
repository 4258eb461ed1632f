// kvwin: the desktop program. Starts the main window on the figure named on the command line.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>
#include <string_view>

#include "session/session.h"
#include "ui/main_window.h"
#include "ui/program_folder.h"

namespace {

void PrintUsage() {
  std::printf(
      "Usage: kvwin [FIGURE.kv4]\n"
      "Korvane Win, a dynamic-geometry program: build figures of points, lines, circles and\n"
      "numbers that keep their construction while a free point is dragged.\n"
      "\n"
      "  FIGURE.kv4     open this figure at start-up\n"
      "  -h, --help     show this help and exit\n"
      "  -v, --version  show the version and exit\n");
}

void PrintVersion() {
  std::printf("%.*s %d.%d.%d\n", static_cast<int>(kv::kProgramTitle.size()),
              kv::kProgramTitle.data(), kv::kVersionMajor, kv::kVersionMinor, kv::kVersionRevision);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the window system is touched, so that they work without a display.
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "/?") {
      PrintUsage();
      return 0;
    }
    if (arg == "--version" || arg == "-v") {
      PrintVersion();
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("kvwin");
  QApplication::setDesktopFileName("korvane");
  // The installed icon theme names the program's icon; a portable copy goes without.
  QApplication::setWindowIcon(QIcon::fromTheme("korvane"));
  // The command line as one text, as the start-up sequence expects it.
  std::string commandLine;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += args[i].toUtf8().toStdString();
  }
  const std::string exeFolder = QApplication::applicationDirPath().toUtf8().toStdString();
  kv::KVwin window;
  window.show();
  window.Start(kv::ResolveProgramFolder(exeFolder), commandLine,
               kv::FindShippedFolder(exeFolder).string());
  return app.exec();
}
