// kvwin: the desktop program. Starts the main window on the figure named on the command line.
#include <QApplication>
#include <string>

#include "ui/main_window.h"
#include "ui/program_folder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("kvwin");
  // The command line as one text, as the start-up sequence expects it.
  std::string commandLine;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += args[i].toUtf8().toStdString();
  }
  const std::string folder =
      kv::ResolveProgramFolder(QApplication::applicationDirPath().toUtf8().toStdString());
  kv::KVwin window;
  window.show();
  window.Start(folder, commandLine);
  return app.exec();
}
