#include "ui/desktop_opener.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace kv {

DesktopOpener::DesktopOpener(QObject* parent) : QObject(parent) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  program = QStandardPaths::findExecutable("xdg-open");
#endif
}

DesktopOpener::~DesktopOpener() {
  // A handler still running (a browser it waits for) is left alone; only its report, which
  // nobody would hear any more, is dropped.
  for (QProcess* p : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
    p->disconnect(this);
    p->setParent(nullptr);
    connect(p, &QProcess::finished, p, &QObject::deleteLater);
  }
}

bool DesktopOpener::Open(const QUrl& url) {
  if (program.isEmpty()) return QDesktopServices::openUrl(url);
  const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString();
  auto* handler = new QProcess(this);
  handler->setProgram(program);
  handler->setArguments({target});
  handler->setStandardOutputFile(QProcess::nullDevice());
  handler->setStandardErrorFile(QProcess::nullDevice());
  QElapsedTimer clock;
  clock.start();
  connect(handler, &QProcess::finished, this,
          [this, handler, clock, target](int exitCode, QProcess::ExitStatus status) {
            handler->deleteLater();
            const bool failure = status != QProcess::NormalExit || exitCode != 0;
            if (failure && clock.elapsed() < watchMs && failed) failed(target);
          });
  handler->start();
  if (!handler->waitForStarted()) {
    delete handler;
    return false;
  }
  return true;
}

}  // namespace kv
